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

    /// Registers `id` (adopted; must not be null and must not be shared yet) and returns
    /// the registered id: `id` itself, now bound to a new application, or the equivalent
    /// id registered before (then `id` is deleted).
    RT::SmartPointer<IApplicationId> registerId(ApplicationIdImpl* id);

    /// The number of registered ids.
    std::size_t size() const;

    ApplicationRegistry(const ApplicationRegistry&) = delete;
    ApplicationRegistry& operator=(const ApplicationRegistry&) = delete;

private:
    ApplicationRegistry();
    ~ApplicationRegistry();

    // Declared in this order so that the ids go before the mutex on destruction.
    mutable RT::Mutex m_mutex;
    Set<RT::SmartPointer<IApplicationId>> m_ids;
};

} // namespace APP
} // namespace MOX
