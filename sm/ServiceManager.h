// SPDX-License-Identifier: MIT
#pragma once
#include <map>
#include <mutex>
#include <string>

#include <mox/app/IServiceManager.h>

namespace MOX {
namespace SM {

/// The sample service manager: services by name. Thread safe.
class ServiceManager : public virtual I::IServiceManager {
public:
    ServiceManager();
    ~ServiceManager() override;

    Vector<std::string> getServiceNames() const override;
    RT::SmartPointer<Object> getService(const std::string& name) const override;
    /// Adds (or replaces) the service `name`.
    void addService(const std::string& name, RT::SmartPointer<Object> service);
    /// "ServiceManager(name1, name2)".
    std::string toString() const override;

private:
    mutable std::mutex m_mutex;
    std::map<std::string, RT::SmartPointer<Object>> m_services;
};

} // namespace SM
} // namespace MOX
