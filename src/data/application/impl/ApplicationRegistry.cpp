// SPDX-License-Identifier: MIT
#include "data/application/impl/ApplicationRegistry.h"

#include <mox/rt/MutexGrabber.h>

#include "data/application/impl/ApplicationIdImpl.h"
#include "data/application/impl/ApplicationImpl.h"

namespace MOX {
namespace APP {

namespace {

// Builds the registry while the library is being loaded (see the class description).
[[maybe_unused]] const bool registryBuiltAtLoad = (ApplicationRegistry::instance(), true);

} // namespace

ApplicationRegistry& ApplicationRegistry::instance()
{
    static ApplicationRegistry registry;
    return registry;
}

ApplicationRegistry::ApplicationRegistry() = default;

ApplicationRegistry::~ApplicationRegistry() = default;

RT::SmartPointer<IApplicationId> ApplicationRegistry::registerId(const RT::SmartPointer<ApplicationIdImpl>& id)
{
    RT::MutexGrabber guard(m_mutex);
    const RT::SmartPointer<IApplicationId> candidate = id;
    auto found = m_ids.find(candidate);
    if (found == m_ids.end()) {
        found = m_ids.insert(candidate).first;
        try {
            // The application refers to the set's entry, which stays put until unload.
            id->bindApplication(RT::makeShared<ApplicationImpl>(*found));
        } catch (...) {
            m_ids.erase(found);
            throw;
        }
    }
    return *found;
}

RT::SmartPointer<IApplicationId> ApplicationRegistry::find(const IApplicationId& probe) const
{
    RT::MutexGrabber guard(m_mutex);
    const auto found = m_ids.find(probe);
    return found == m_ids.end() ? RT::SmartPointer<IApplicationId>() : *found;
}

std::size_t ApplicationRegistry::size() const
{
    RT::MutexGrabber guard(m_mutex);
    return m_ids.size();
}

} // namespace APP
} // namespace MOX
