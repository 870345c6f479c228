// SPDX-License-Identifier: MIT
// The way in to an application and its service manager.
#include <mox/app/IApplication.h>

#include <mox/rt/Check.h>

namespace MOX {

RT::SmartPointer<APP::IApplication> getApplication(const RT::SmartPointer<APP::IApplicationId>& applicationId)
{
    return RT::checkDeref(applicationId).getApplication();
}

RT::SmartPointer<I::IServiceManager> getServiceManager(const RT::SmartPointer<APP::IApplicationId>& applicationId)
{
    RT::SmartPointer<APP::IApplication> application = getApplication(applicationId);
    return RT::checkDeref(application).getServiceManager();
}

} // namespace MOX
