// SPDX-License-Identifier: MIT
// The attributes schema, described as data for the codec's generic writer and handlers.
#include <mox/xb/AttributesSchema.h>

#include "services/serialization/manager/XBTypeBuilder.h"

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
    static const XBType type = XBTypeBuilder<xbattribute>::sequence("xbattribute")
                                   .attribute<&xbattribute::name>("name")
                                   .attribute<&xbattribute::type>("type", Use::Optional)
                                   .attribute<&xbattribute::scope>("scope", Use::Optional)
                                   .list<&xbattribute::value_list>("value", "xbattribute_value");
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
