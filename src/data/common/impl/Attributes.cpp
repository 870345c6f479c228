// SPDX-License-Identifier: MIT
// The functions over attribute lists: search, comparison, matching and cloning.
#include <mox/attr/Attributes.h>
#include <mox/rt/Raise.h>
#include <mox/rt/Check.h>
#include <mox/rt/Exceptions.h>

MOX_SOURCE_FILE("data/common/impl/Attributes")

namespace MOX {
namespace Attributes {

using ATTR::IAttribute;
using ATTR::IQualifiedName;
using RT::SmartPointer;

namespace {

void requireName(const std::string& name, const char* function)
{
    if (name.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE(function));
}

SmartPointer<IAttribute> findByName(const std::string& name, const AttributeList& list)
{
    for (const SmartPointer<IAttribute>& attribute : list)
        if (RT::checkDeref(attribute).getName() == name)
            return attribute;
    return SmartPointer<IAttribute>();
}

} // namespace

SmartPointer<IAttribute> findAttribute(const std::string& name, const AttributeList& list)
{
    requireName(name, "MOX::Attributes::findAttribute");
    return findByName(name, list);
}

SmartPointer<IAttribute> findAttribute(const SmartPointer<IQualifiedName>& name, const AttributeList& list)
{
    // Smart-pointer equality: the same object, or equal format, name and scope; null
    // equals nothing.
    for (const SmartPointer<IAttribute>& attribute : list)
        if (RT::checkDeref(attribute).getQualifiedName() == name)
            return attribute;
    return SmartPointer<IAttribute>();
}

bool containsAttribute(const SmartPointer<IQualifiedName>& name, const AttributeList& list)
{
    return !findAttribute(name, list).isNull();
}

bool containsAttribute(const std::string& name, const AttributeList& list)
{
    requireName(name, "MOX::Attributes::containsAttribute");
    return !findByName(name, list).isNull();
}

bool equals(const AttributeList& first, const AttributeList& second)
{
    if (first.size() != second.size())
        return false;
    for (const SmartPointer<IAttribute>& x : first) {
        const IAttribute& own = RT::checkDeref(x);
        const SmartPointer<IAttribute> y = findAttribute(own.getQualifiedName(), second);
        if (y.isNull())
            return false;
        if (y.sharesWith(x))
            continue;
        if (y->lessThan(own) || own.lessThan(*y))
            return false;
    }
    return true;
}

bool matches(const AttributeList& list, const AttributeList& wanted)
{
    for (const SmartPointer<IAttribute>& x : wanted) {
        const SmartPointer<IAttribute> y = findAttribute(RT::checkDeref(x).getQualifiedName(), list);
        if (!y.isNull() && !y->matches(x))
            return false;
    }
    return true;
}

const AttributeList& Empty()
{
    static const AttributeList empty;
    return empty;
}

AttributeList clone(const AttributeList& list)
{
    AttributeList copies;
    copies.reserve(list.size());
    for (const SmartPointer<IAttribute>& attribute : list) {
        SmartPointer<Cloneable> copy(RT::checkDeref(attribute).clone());
        copies.push_back(RT::checkCast(copy.dynamicCast<IAttribute>()));
    }
    return copies;
}

} // namespace Attributes
} // namespace MOX
