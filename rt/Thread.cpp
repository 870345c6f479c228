// SPDX-License-Identifier: MIT
#include <mox/rt/Thread.h>

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace MOX {
namespace RT {

namespace {

// The calling thread's id, once asked for (0: not yet). A live thread keeps its kernel
// id, but the one thread of a forked child gets a new one, so the child forgets it.
thread_local long t_id = 0;

void forgetAfterFork() noexcept { t_id = 0; }

const int g_atForkRegistered = ::pthread_atfork(nullptr, nullptr, forgetAfterFork);

} // namespace

long Thread::myThreadID() noexcept
{
    (void)g_atForkRegistered;
    if (t_id == 0)
        t_id = static_cast<long>(::syscall(SYS_gettid));
    return t_id;
}

} // namespace RT
} // namespace MOX
