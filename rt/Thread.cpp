#include <mox/rt/Thread.h>

#include <sys/syscall.h>
#include <unistd.h>

namespace MOX {
namespace RT {

long Thread::myThreadID() noexcept
{
    // Cached per thread: the kernel id never changes for a live thread.
    thread_local const long id = static_cast<long>(::syscall(SYS_gettid));
    return id;
}

} // namespace RT
} // namespace MOX
