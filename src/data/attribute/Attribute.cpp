// The attribute interface's key function and the attribute factories.
#include <mox/attr/Attributes.h>
#include <mox/rt/Exceptions.h>

#include "data/attribute/AttributeImpl.h"

namespace MOX {

using ATTR::AttributeImpl;
using ATTR::IAttribute;
using ATTR::IQualifiedName;
using RT::SmartPointer;

ATTR::IAttribute::~IAttribute() = default;

namespace Attributes {

SmartPointer<IAttribute> createAttribute(const SmartPointer<IQualifiedName>& name)
{
    return SmartPointer<IAttribute>(new AttributeImpl(name));
}

SmartPointer<IAttribute> createAttribute(const std::string& name, const std::string& /*second*/)
{
    if (name.empty())
        MOX_THROW(EXCEPTIONS::InvalidArgumentException(EXCEPTIONS::ErrorCode::InvalidArguments),
                  "data/attribute/Attribute", "MOX::Attributes::createAttribute");
    return createAttribute(createQualifiedName(name, std::string(), std::string()));
}

} // namespace Attributes
} // namespace MOX
