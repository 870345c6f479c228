// SPDX-License-Identifier: MIT
// The interface id interface, its free functions and its comparison with texts.
#include <mox/class/IInterfaceId.h>
#include <mox/rt/Raise.h>
#include <mox/rt/Exceptions.h>

#include "data/class/InterfaceIdImpl.h"

MOX_SOURCE_FILE("data/class/InterfaceId")

namespace MOX {

namespace {

bool sameInterface(const std::string& text, const RT::SmartPointer<CLASS::IInterfaceId>& id) noexcept
{
    RT::SmartPointer<CLASS::IInterfaceId> parsed;
    try {
        parsed = parseInterfaceId(text);
    } catch (...) {
        return false;  // a text that cannot be read names no interface
    }
    if (id.isNull() || parsed.isNull())
        return false;
    if (id.get() == parsed.get())
        return true;
    return !id->lessThan(*parsed) && !parsed->lessThan(*id);
}

} // namespace

CLASS::IInterfaceId::~IInterfaceId() = default;

RT::SmartPointer<CLASS::IInterfaceId> createInterfaceId(const std::string& name, int version)
{
    if (name.empty() || version < 0)
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::createInterfaceId"));
    return RT::makeShared<CLASS::InterfaceIdImpl>(name, version);
}

RT::SmartPointer<CLASS::IInterfaceId> parseInterfaceId(const std::string& text)
{
    if (text.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::parseInterfaceId"));
    CLASS::InterfaceIdImpl* id = new CLASS::InterfaceIdImpl();
    RT::SmartPointer<CLASS::IInterfaceId> result(id);
    id->unmarshal(text);
    return result;
}

bool operator==(const std::string& text, const RT::SmartPointer<CLASS::IInterfaceId>& id)
{
    return sameInterface(text, id);
}

bool operator==(const RT::SmartPointer<CLASS::IInterfaceId>& id, const std::string& text)
{
    return sameInterface(text, id);
}

} // namespace MOX
