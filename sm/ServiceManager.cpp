// SPDX-License-Identifier: MIT
#include "ServiceManager.h"

#include <utility>

namespace MOX {
namespace SM {

ServiceManager::ServiceManager() = default;

ServiceManager::~ServiceManager() = default;

Vector<std::string> ServiceManager::getServiceNames() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Vector<std::string> names;
    for (const auto& service : m_services)
        names.push_back(service.first);
    return names;
}

RT::SmartPointer<Object> ServiceManager::getService(const std::string& name) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_services.find(name);
    return found == m_services.end() ? RT::SmartPointer<Object>() : found->second;
}

void ServiceManager::addService(const std::string& name, RT::SmartPointer<Object> service)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_services[name] = std::move(service);
}

std::string ServiceManager::toString() const
{
    std::string names;
    for (const std::string& name : getServiceNames())
        names += (names.empty() ? "" : ", ") + name;
    return "ServiceManager(" + names + ")";
}

} // namespace SM
} // namespace MOX
