// SPDX-License-Identifier: MIT
// The class id interface and its free functions.
#include <mox/class/IClassId.h>
#include <mox/rt/Raise.h>
#include <mox/rt/Check.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>

#include "data/class/ClassIdImpl.h"

MOX_SOURCE_FILE("data/class/ClassId")

namespace MOX {

namespace {

const CLASS::ClassIdImpl& implOf(const RT::SmartPointer<CLASS::IClassId>& id)
{
    return *RT::checkCast(dynamic_cast<const CLASS::ClassIdImpl*>(&RT::checkDeref(id)));
}

} // namespace

CLASS::IClassId::~IClassId() = default;

RT::SmartPointer<CLASS::IClassId> createClassId(const std::string& name, int version)
{
    if (name.empty() || version < 0)
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::createClassId"));
    return RT::makeShared<CLASS::ClassIdImpl>(name, version);
}

RT::SmartPointer<CLASS::IClassId> parseClassId(const std::string& text)
{
    if (text.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::parseClassId"));
    CLASS::ClassIdImpl* id = new CLASS::ClassIdImpl();
    RT::SmartPointer<CLASS::IClassId> result(id);
    if (RT::XmlUtils::IsXML(text))
        id->unmarshal(text);
    else
        id->readText(text);
    return result;
}

std::string marshalClassId(const RT::SmartPointer<CLASS::IClassId>& id) { return implOf(id).marshal(); }

std::string getClassIdLoader(const RT::SmartPointer<CLASS::IClassId>& id) { return implOf(id).getLoader(); }

} // namespace MOX
