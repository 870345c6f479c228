// SPDX-License-Identifier: MIT
// Qualified names, attributes and attribute lists to the attributes document's objects
// and back.
#include <mox/xb/AttributeConverter.h>

#include <memory>

#include <mox/attr/Attributes.h>
#include <mox/rt/Check.h>


namespace MOX {
namespace XB {

using ATTR::IAttribute;
using ATTR::IQualifiedName;
using RT::SmartPointer;

namespace {

// The rule shared by xbqualified_name and xbattribute (both hold name, type and scope).
template <class Document>
void fillName(Document& out, const SmartPointer<IQualifiedName>& name)
{
    const IQualifiedName& source = RT::checkDeref(name);
    out.name = source.getName();
    if (source.getFormat().empty())
        out.type.reset();
    else
        out.type = source.getFormat();
    if (source.getScope().empty())
        out.scope.reset();
    else
        out.scope = source.getScope();
}

// Without "type" the scope is not read: format "String", no scope.
template <class Document>
SmartPointer<IQualifiedName> nameOf(const Document& in)
{
    if (in.type)
        return Attributes::createQualifiedName(in.name, *in.type, in.scope.value_or(std::string()));
    return Attributes::createQualifiedName(in.name, std::string(), std::string());
}

} // namespace

void AttributeConverter::toXB(xbqualified_name& out, const SmartPointer<IQualifiedName>& name) { fillName(out, name); }

xbqualified_name* AttributeConverter::toXB(const SmartPointer<IQualifiedName>& name)
{
    std::unique_ptr<xbqualified_name> out(new xbqualified_name());
    fillName(*out, name);
    return out.release();
}

void AttributeConverter::toXB(xbattribute& out, const SmartPointer<IQualifiedName>& name) { fillName(out, name); }

SmartPointer<IQualifiedName> AttributeConverter::toMOX(const xbqualified_name& in) { return nameOf(in); }

SmartPointer<IQualifiedName> AttributeConverter::toId(const xbattribute& in) { return nameOf(in); }

SmartPointer<IAttribute> AttributeConverter::toMOX(const xbattribute& in)
{
    SmartPointer<IAttribute> attribute = Attributes::createAttribute(toId(in));
    attribute->setValues(in.value_list);
    return attribute;
}

xbattribute* AttributeConverter::toXB(const SmartPointer<IAttribute>& attribute)
{
    const IAttribute& source = RT::checkDeref(attribute);
    std::unique_ptr<xbattribute> out(new xbattribute());
    fillName(*out, source.getQualifiedName());
    out->value_list = source.getValues();
    return out.release();
}

void AttributeConverter::toXB(xbattributes& out, const AttributeList& list)
{
    out.list.reserve(out.list.size() + list.size());
    for (const SmartPointer<IAttribute>& attribute : list) {
        const std::unique_ptr<xbattribute> item(toXB(attribute));
        out.list.push_back(std::move(*item));
    }
}

xbattributes* AttributeConverter::toXB(const AttributeList& list)
{
    std::unique_ptr<xbattributes> out(new xbattributes());
    toXB(*out, list);
    return out.release();
}

void AttributeConverter::toMOX(AttributeList& out, const xbattributes& in)
{
    out.reserve(out.size() + in.list.size());
    for (const xbattribute& item : in.list)
        out.push_back(toMOX(item));
}

AttributeConverter::AttributeList AttributeConverter::toMOX(const xbattributes& in)
{
    AttributeList out;
    toMOX(out, in);
    return out;
}

} // namespace XB
} // namespace MOX
