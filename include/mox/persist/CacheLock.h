// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Cache locks: a persisted object guarded by a mutex.
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/Marshallable.h>
#include <mox/rt/Mutex.h>

namespace MOX {
namespace PERSIST {

/// Holds the mutex of a cached object for its lifetime and passes marshalling through to
/// the object, so that a local file reaches the object only while the mutex is held.
///
/// Not copyable: a copy would unlock, on its destruction, a mutex it never locked.
class MOX_API CacheLock : public Marshallable {
public:
    /// Takes `mutex` (waiting as long as needed) to guard `target`; both must outlive the
    /// lock.
    CacheLock(RT::Mutex& mutex, Marshallable& target);
    CacheLock(const CacheLock&) = delete;
    CacheLock& operator=(const CacheLock&) = delete;
    /// Gives the mutex up.
    ~CacheLock() override;

    /// Passes `text` to the guarded object's `unmarshal`.
    void unmarshal(const std::string& text) override;
    /// The guarded object's `marshal()`.
    std::string marshal() const override;

private:
    Marshallable& target;
    RT::Mutex& mutex;
};

} // namespace PERSIST
} // namespace MOX
