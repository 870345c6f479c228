// SPDX-License-Identifier: MIT
#pragma once
#include <atomic>
#include <string>

#include <mox/app/IApplicationId.h>
#include <mox/app/IServiceHelper.h>

#include "ApplicationConfig.h"
#include "LogService.h"
#include "ServiceManager.h"

namespace MOX {
namespace SM {

/// The sample service helper. Its service manager holds two services once started:
/// "ApplicationConfig" and "LogService".
class ServiceHelper : public virtual I::IServiceHelper {
public:
    /// The names of the services the helper registers.
    static const char* const LOG_SERVICE;
    static const char* const APPLICATION_CONFIG;

    /// A helper for the application of `applicationId` (not owned, see IServiceHelper).
    explicit ServiceHelper(APP::IApplicationId& applicationId);
    ~ServiceHelper() override;

    RT::SmartPointer<I::IServiceManager> getServiceManager() override;
    RT::SmartPointer<I::ILogService> getLogService() override;
    void loadApplication(const std::string& applicationXml) override;
    /// Registers the services and records the application's bootstrap path; a second
    /// call does nothing and returns false.
    bool start() override;
    /// "ServiceHelper(library=<file>, application=<name>, started|not started)".
    std::string toString() const override;

    /// The file this library was loaded from.
    static std::string libraryFile();

private:
    APP::IApplicationId& m_applicationId;
    RT::SmartPointer<LogService> m_logService;
    RT::SmartPointer<ApplicationConfig> m_config;
    RT::SmartPointer<ServiceManager> m_serviceManager;
    std::atomic<bool> m_started{false};
};

} // namespace SM
} // namespace MOX
