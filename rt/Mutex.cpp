#include <mox/rt/Mutex.h>

#include <chrono>

namespace MOX {
namespace RT {

Mutex::Mutex() = default;
Mutex::~Mutex() = default;

bool Mutex::lock(unsigned timeoutMs)
{
    if (timeoutMs == 0) {
        m_mutex.lock();
        return true;
    }
    return m_mutex.try_lock_for(std::chrono::milliseconds(timeoutMs));
}

void Mutex::unlock() { m_mutex.unlock(); }

} // namespace RT
} // namespace MOX
