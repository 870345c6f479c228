// SPDX-License-Identifier: MIT
// The attribute interface's key function and the attribute factories.
#include <mox/attr/Attributes.h>
#include <mox/rt/Raise.h>
#include <mox/rt/Exceptions.h>

#include "data/attribute/AttributeImpl.h"

MOX_SOURCE_FILE("data/attribute/Attribute")

namespace MOX {

using ATTR::AttributeImpl;
using ATTR::IAttribute;
using ATTR::IQualifiedName;
using RT::SmartPointer;

ATTR::IAttribute::~IAttribute() = default;

namespace Attributes {

SmartPointer<IAttribute> createAttribute(const SmartPointer<IQualifiedName>& name)
{
    return RT::makeShared<AttributeImpl>(name);
}

SmartPointer<IAttribute> createAttribute(const std::string& name, const std::string& /*second*/)
{
    if (name.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::Attributes::createAttribute"));
    return createAttribute(createQualifiedName(name, std::string(), std::string()));
}

} // namespace Attributes
} // namespace MOX
