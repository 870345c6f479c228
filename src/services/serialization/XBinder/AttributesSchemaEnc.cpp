// SPDX-License-Identifier: MIT
// The attributes schema, described as data for the codec's generic writer and handlers.
#include <mox/xb/AttributesSchema.h>

#include "services/serialization/XBinder/AttributeDescription.h"

namespace MOX {
namespace XB {

const XBType& xbqualified_name::schema()
{
    static const XBType type = XBTypeBuilder<xbqualified_name>::sequence("xbqualified_name")
                                   .attribute<&xbqualified_name::name>("name")
                                   .attribute<&xbqualified_name::type>("type", Use::Optional)
                                   .attribute<&xbqualified_name::scope>("scope", Use::Optional);
    return type;
}

const XBType& xbattribute::schema()
{
    static const XBType type = describeAttribute<xbattribute>();
    return type;
}

const XBType& xbattributes::schema()
{
    static const XBType type =
        XBTypeBuilder<xbattributes>::sequence("xbattributes").list<&xbattributes::list>("attribute");
    return type;
}

} // namespace XB
} // namespace MOX
