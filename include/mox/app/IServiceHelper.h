// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The service helper a service library (MOX-SM) returns from its entry point.
#include <string>

#include <mox/app/ILogService.h>
#include <mox/app/IServiceManager.h>
#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace APP {
class IApplicationId;
}
namespace I {

/// The object a service library (MOX-SM) returns from its entry point. The application
/// adopts it, starts it once, and destroys it (without calling any other operation)
/// on `shutdown` or when the library is unloaded.
///
/// A helper must not keep an owning pointer to the application id it was given: the id
/// owns the application, which owns the helper, so such a pointer would keep all three
/// alive for ever. A plain pointer to the id stays valid for the helper's whole life.
class MOX_API IServiceHelper : public virtual Object {
public:
    ~IServiceHelper() override = default;
    /// The service manager (the same one on every call once started).
    virtual RT::SmartPointer<IServiceManager> getServiceManager() = 0;
    /// The log service, or null when the library has none.
    virtual RT::SmartPointer<ILogService> getLogService() = 0;
    /// Receives the "application" element an application was filled from.
    virtual void loadApplication(const std::string& applicationXml) = 0;
    /// Starts the services; called once, right after the entry point. The application
    /// ignores the result.
    virtual bool start() = 0;
};

/// The entry point a service library exports under a plain C name (by default
/// "loadServiceHelper"): returns a new helper (the caller adopts it) for the application
/// identified by `applicationId`.
using LoadServiceHelperFunction = IServiceHelper* (*)(RT::SmartPointer<APP::IApplicationId>& applicationId);

} // namespace I
} // namespace MOX
