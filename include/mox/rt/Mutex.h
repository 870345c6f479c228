// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Recursive mutexes.
#include <mutex>

#include <mox/rt/Export.h>

namespace MOX {
namespace RT {

/// A recursive mutex: the thread that holds it may lock it again (each `lock` needs its
/// own `unlock`), as the platform's callers re-enter their own objects from callbacks.
class MOX_RT_API Mutex {
public:
    Mutex();
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    /// Takes the mutex. `timeoutMs` 0 waits as long as needed; otherwise gives up after
    /// that many milliseconds. Returns true when the mutex is held.
    bool lock(unsigned timeoutMs = 0);
    /// Gives the mutex up; only the holding thread may call it.
    void unlock();

private:
    std::recursive_timed_mutex m_mutex;
};

} // namespace RT
} // namespace MOX
