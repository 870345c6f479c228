// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>

#include <mox/app/IApplicationId.h>
#include <mox/rt/Collections.h>
#include <mox/rt/Mutex.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace APP {

class ApplicationIdImpl;

/// The process-wide application registry: one application id per distinct application,
/// each bound to its application object.
///
/// Lifetime: the registry is a function-local static of `instance()`, and a static
/// initialiser of its source calls `instance()` while the library is being loaded. So
/// it exists from the library's load on; code that runs earlier (another static
/// initialiser) builds it on first use instead of finding it unconstructed; and its
/// destructor is registered with the library's own exit handlers, so it runs when the
/// library is unloaded (or the process exits), destroying the ids, through them their
/// applications, and then the registry mutex. Nothing is removed before that.
class ApplicationRegistry {
public:
    /// The one registry of this library.
    static ApplicationRegistry& instance();

    /// Registers `id` (must not be null and must not be shared yet) and returns the
    /// registered id: `id` itself, now bound to a new application, or the equivalent id
    /// registered before (then `id` is released).
    RT::SmartPointer<IApplicationId> registerId(const RT::SmartPointer<ApplicationIdImpl>& id);

    /// The registered id equivalent to `probe`, or null when there is none. Lets a
    /// caller find an id without building a heap candidate first.
    RT::SmartPointer<IApplicationId> find(const IApplicationId& probe) const;

    /// The number of registered ids.
    std::size_t size() const;

    ApplicationRegistry(const ApplicationRegistry&) = delete;
    ApplicationRegistry& operator=(const ApplicationRegistry&) = delete;

private:
    /// The smart-pointer order of the runtime (the ids' `lessThan`), also usable against
    /// a plain id so that lookups need no SmartPointer.
    struct Order {
        using is_transparent = void;
        bool operator()(const RT::SmartPointer<IApplicationId>& a, const RT::SmartPointer<IApplicationId>& b) const
        {
            return a < b;
        }
        bool operator()(const RT::SmartPointer<IApplicationId>& a, const IApplicationId& b) const
        {
            return a->lessThan(b);
        }
        bool operator()(const IApplicationId& a, const RT::SmartPointer<IApplicationId>& b) const
        {
            return a.lessThan(*b);
        }
    };

    ApplicationRegistry();
    ~ApplicationRegistry();

    // Declared in this order so that the ids go before the mutex on destruction.
    mutable RT::Mutex m_mutex;
    Set<RT::SmartPointer<IApplicationId>, Order> m_ids;
};

} // namespace APP
} // namespace MOX
