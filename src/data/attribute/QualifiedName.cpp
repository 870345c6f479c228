// SPDX-License-Identifier: MIT
// The qualified-name interface's key function and the qualified-name factories.
#include <mox/attr/Attributes.h>
#include <mox/rt/Raise.h>
#include <mox/rt/Exceptions.h>

#include "data/attribute/QualifiedNameImpl.h"

MOX_SOURCE_FILE("data/attribute/QualifiedName")

namespace MOX {

using ATTR::IQualifiedName;
using ATTR::QualifiedNameImpl;
using EXCEPTIONS::ErrorCode;
using EXCEPTIONS::InvalidArgumentException;
using RT::SmartPointer;

ATTR::IQualifiedName::~IQualifiedName() = default;

namespace Attributes {

SmartPointer<IQualifiedName> createQualifiedName(const std::string& name, const std::string& format,
                                                 const std::string& scope)
{
    if (name.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::Attributes::createQualifiedName"));
    return QualifiedNameImpl::create(name, format.empty() ? QualifiedNameImpl::defaultFormat() : format, scope);
}

SmartPointer<IQualifiedName> parseQualifiedName(const std::string& text)
{
    if (text.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::Attributes::parseQualifiedName"));
    const SmartPointer<IQualifiedName> name = RT::makeShared<QualifiedNameImpl>();
    name->unmarshal(text);
    return name;
}

} // namespace Attributes
} // namespace MOX
