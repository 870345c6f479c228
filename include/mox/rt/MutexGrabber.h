// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Scoped holding of a Mutex.
#include <mox/rt/Mutex.h>

namespace MOX {
namespace RT {

/// Holds a Mutex for its lifetime (locks with argument 0 on construction, unlocks on
/// destruction). Not copyable.
class MOX_RT_API MutexGrabber {
public:
    /// Takes `mutex`, waiting as long as needed.
    explicit MutexGrabber(Mutex& mutex);
    ~MutexGrabber();
    MutexGrabber(const MutexGrabber&) = delete;
    MutexGrabber& operator=(const MutexGrabber&) = delete;

private:
    Mutex& m_mutex;
};

} // namespace RT
} // namespace MOX
