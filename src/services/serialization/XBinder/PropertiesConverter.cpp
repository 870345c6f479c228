// SPDX-License-Identifier: MIT
// The properties members of AttributeConverter: a property set to the properties
// document's objects and back. They live with the properties schema, so that the
// properties document needs nothing of the attributes.
#include <mox/xb/AttributeConverter.h>

#include <memory>

namespace MOX {
namespace XB {

void AttributeConverter::toXB(xb_properties& out, const I::IProperties& properties)
{
    const Vector<std::string> names = properties.getPropertyNames();
    out.list.reserve(out.list.size() + names.size());
    for (const std::string& name : names) {
        xbproperty item;
        item.name = name;
        item.value = properties.getProperty(name, std::string());
        out.list.push_back(std::move(item));
    }
}

xb_properties* AttributeConverter::toXB(const I::IProperties& properties)
{
    std::unique_ptr<xb_properties> out(new xb_properties());
    toXB(*out, properties);
    return out.release();
}

void AttributeConverter::toMOX(I::IProperties& properties, const xb_properties& in)
{
    for (const xbproperty& item : in.list)
        properties.setProperty(item.name, item.value.value_or(std::string()));
}

} // namespace XB
} // namespace MOX
