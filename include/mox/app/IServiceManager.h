// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The service manager of a service library (MOX-SM).
#include <string>

#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace I {

/// The service manager of a service library (MOX-SM): the named services the platform
/// offers an application. Defined inline so that a service library implements it
/// without linking libmox.
class MOX_API IServiceManager : public virtual Object {
public:
    ~IServiceManager() override = default;
    /// The names of the services held, in byte-wise order.
    virtual Vector<std::string> getServiceNames() const = 0;
    /// The service registered under `name`, or null when there is none.
    virtual RT::SmartPointer<Object> getService(const std::string& name) const = 0;
};

} // namespace I
} // namespace MOX
