// SPDX-License-Identifier: MIT
#include <mox/rt/Mutex.h>

#include <cerrno>
#include <ctime>

#include <pthread.h>

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
    // pthread_mutex_timedlock rather than try_lock_for: the latter goes through
    // pthread_mutex_clocklock, which thread sanitizers do not see, so every timed lock
    // would be reported as a later unlock of an unlocked mutex. The deadline is on the
    // real-time clock, as timedlock requires.
    timespec deadline;
    ::clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += static_cast<time_t>(timeoutMs / 1000);
    deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_nsec -= 1000000000L;
        ++deadline.tv_sec;
    }
    int rc;
    do
        rc = ::pthread_mutex_timedlock(m_mutex.native_handle(), &deadline);
    while (rc == EINTR);
    return rc == 0;
}

void Mutex::unlock() { m_mutex.unlock(); }

} // namespace RT
} // namespace MOX
