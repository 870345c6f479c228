// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Cache write locks: load a cached object and write it back to its local file.
#include <mox/persist/CacheLock.h>
#include <mox/rt/Export.h>
#include <mox/rt/ILocalFile.h>
#include <mox/rt/Marshallable.h>
#include <mox/rt/Mutex.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace PERSIST {

/// A scope that holds a cached object's mutex and its file's update handle, loads the
/// object on entry and stores it when asked (`saveChanges`).
///
/// The mutex is taken first and given up last; the update handle, which also excludes
/// other processes, is held in between. Ending the lock never writes: changes not passed
/// to `saveChanges` are dropped from the file's point of view.
class MOX_API CacheWriteLock {
public:
    /// Takes `mutex`, then the file's update handle, then reads the file into `target`.
    /// `file` is kept by reference and must outlive the lock. A null `file` throws
    /// NullPointerException; on any failure the handle and then the mutex are released.
    CacheWriteLock(RT::Mutex& mutex, Marshallable& target, RT::SmartPointer<RT::ILocalFile>& file);
    CacheWriteLock(const CacheWriteLock&) = delete;
    CacheWriteLock& operator=(const CacheWriteLock&) = delete;
    /// Gives the update handle up, then the mutex; writes nothing.
    virtual ~CacheWriteLock();

    /// Writes the object's current state to the file under the update handle. If the
    /// write fails, the exception passes on and the lock stays as it was (retry allowed).
    void saveChanges();
    /// True once a `saveChanges` has succeeded.
    bool isSaved() const noexcept { return saved; }

private:
    CacheLock lock;
    RT::SmartPointer<RT::ILocalFile>& file;
    bool saved;
    RT::SmartPointer<RT::IUpdateHandle> handle;
};

} // namespace PERSIST
} // namespace MOX
