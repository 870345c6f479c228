// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Interface identifiers and their factories.
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace CLASS {

/// Names a service interface: an interface name and a version (1 when not given).
///
/// `toString` gives the XML form `<interface-id class="Name" version="4"/>` (the name
/// travels in "class"; "version" only above 1). Reading also takes the text form
/// "Name::4" (or "Name" for version 1), which nothing writes.
class MOX_API IInterfaceId : public virtual Object {
public:
    ~IInterfaceId() override;
    /// The interface name.
    virtual const std::string& getName() const = 0;
    /// The interface version.
    virtual int getVersion() const = 0;
    /// True when the name is exactly `text` (case-sensitive).
    virtual bool hasName(const std::string& text) const = 0;
    /// Byte-wise by name, then by version (signed).
    virtual bool lessThan(const IInterfaceId& other) const = 0;
};

} // namespace CLASS

/// A new interface id. An empty name or a negative version throws
/// InvalidArgumentException (-1006); version 0 is accepted.
MOX_API RT::SmartPointer<CLASS::IInterfaceId> createInterfaceId(const std::string& name, int version);

/// An interface id read from its XML form or, when the text holds no "interface-id"
/// element, from its text form. Only an empty text is refused (-1006); a version that
/// is not a whole number throws InvalidArgumentException (-1009).
MOX_API RT::SmartPointer<CLASS::IInterfaceId> parseInterfaceId(const std::string& text);

/// True when `text` (read as parseInterfaceId reads it) names the interface and version
/// of `id`. Never throws: a text that cannot be read, or a null id, gives false.
MOX_API bool operator==(const std::string& text, const RT::SmartPointer<CLASS::IInterfaceId>& id);
/// The same with the arguments swapped.
MOX_API bool operator==(const RT::SmartPointer<CLASS::IInterfaceId>& id, const std::string& text);

namespace CLASS {
// Found by argument-dependent lookup from any namespace, through IInterfaceId.
using MOX::operator==;
} // namespace CLASS

} // namespace MOX
