// SPDX-License-Identifier: MIT
#include "ServiceHelper.h"

#include <dlfcn.h>

#include <mox/app/IApplication.h>

namespace MOX {
namespace SM {

const char* const ServiceHelper::LOG_SERVICE = "LogService";
const char* const ServiceHelper::APPLICATION_CONFIG = "ApplicationConfig";

ServiceHelper::ServiceHelper(APP::IApplicationId& applicationId)
    : m_applicationId(applicationId),
      m_logService(RT::makeShared<LogService>()),
      m_config(RT::makeShared<ApplicationConfig>(applicationId.getName())),
      m_serviceManager(RT::makeShared<ServiceManager>())
{
}

// Runs while the application is being destroyed: touches nothing but its own members.
ServiceHelper::~ServiceHelper() = default;

RT::SmartPointer<I::IServiceManager> ServiceHelper::getServiceManager() { return m_serviceManager; }

RT::SmartPointer<I::ILogService> ServiceHelper::getLogService() { return m_logService; }

void ServiceHelper::loadApplication(const std::string& applicationXml)
{
    m_config->load(applicationXml);
    m_logService->submit(m_logService->createEntry("ServiceHelper.loadApplication", m_config->getLoadedName()));
}

bool ServiceHelper::start()
{
    if (m_started.exchange(true))
        return false;
    // Calling back into the application is fine here: it is fully built and the call
    // comes from its own load.
    const RT::SmartPointer<APP::IApplication> application = m_applicationId.getApplication();
    if (!application.isNull())
        m_config->setBootstrapPath(application->getBootstrapPath());
    m_serviceManager->addService(APPLICATION_CONFIG, m_config);
    m_serviceManager->addService(LOG_SERVICE, m_logService);
    m_logService->submit(m_logService->createEntry("ServiceHelper.start", m_applicationId.getName()));
    return true;
}

std::string ServiceHelper::toString() const
{
    return "ServiceHelper(library=" + libraryFile() + ", application=" + m_config->getApplicationName() + ", " +
           (m_started.load() ? "started" : "not started") + ")";
}

std::string ServiceHelper::libraryFile()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ServiceHelper::libraryFile), &info) != 0 && info.dli_fname != nullptr)
        return info.dli_fname;
    return "?";
}

} // namespace SM
} // namespace MOX
