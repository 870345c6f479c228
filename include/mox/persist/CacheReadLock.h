// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Cache read locks: load a cached object from its local file.
#include <mox/persist/CacheLock.h>
#include <mox/rt/Export.h>
#include <mox/rt/ILocalFile.h>
#include <mox/rt/Marshallable.h>
#include <mox/rt/Mutex.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace PERSIST {

/// A scope that holds a cached object's mutex and, on entry, loads the object from its
/// local file (a missing file leaves the object as it is).
///
/// If loading fails, the constructor throws and the mutex is already released.
class MOX_API CacheReadLock {
public:
    /// Takes `mutex`, then reads `file` into `target`. A null `file` throws
    /// NullPointerException.
    CacheReadLock(RT::Mutex& mutex, Marshallable& target, RT::SmartPointer<RT::ILocalFile>& file);
    CacheReadLock(const CacheReadLock&) = delete;
    CacheReadLock& operator=(const CacheReadLock&) = delete;
    /// Gives the mutex up.
    virtual ~CacheReadLock();

private:
    CacheLock lock;
};

} // namespace PERSIST
} // namespace MOX
