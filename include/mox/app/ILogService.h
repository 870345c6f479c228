// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The log service of a service library (MOX-SM).
#include <string>

#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace I {

/// The log service of a service library (MOX-SM). Once an application is bootstrapped
/// and its service library loaded, every property change is handed to it as an entry;
/// the properties `LogService.Pause.<key>` and `LogService.Resume.<key>` pause and
/// resume logging of `<key>`.
///
/// Everything is defined inline so that a service library implements this interface
/// without linking libmox.
class MOX_API ILogService : public virtual Object {
public:
    ~ILogService() override = default;
    /// Takes an entry made by `createEntry` of this service.
    virtual void submit(const RT::SmartPointer<Object>& entry) = 0;
    /// A new entry for the property `name` set to `value`.
    virtual RT::SmartPointer<Object> createEntry(const std::string& name, const std::string& value) = 0;
    /// The key of a property name that starts with `prefix`: the text after the prefix and
    /// its dot ("LogService.Pause.audit", "LogService.Pause" gives "audit").
    virtual std::string extractKey(const std::string& name, const std::string& prefix) = 0;

    // Inspection (not called by libmox; for tools and people debugging a deployment).

    /// The entries kept so far, oldest first.
    virtual Vector<RT::SmartPointer<Object>> getEntries() const = 0;
    /// The keys currently paused, in byte-wise order.
    virtual Vector<std::string> getPausedKeys() const = 0;
};

} // namespace I
} // namespace MOX
