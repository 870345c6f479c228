// SPDX-License-Identifier: MIT
// The attributes schema, described as data for the codec's generic writer and handlers,
// with the streamed form of its list.
#include <mox/xb/AttributesSchema.h>

#include "services/serialization/XBinder/AttributeStreaming.h"
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

const XBType& xbattribute_ref::schema()
{
    static const XBType type = XBTypeBuilder<xbattribute_ref>::sequence("xbattribute")
                                   .attribute<&xbattribute_ref::name>("name")
                                   .attribute<&xbattribute_ref::type>("type", Use::Optional)
                                   .attribute<&xbattribute_ref::scope>("scope", Use::Optional)
                                   .list<&xbattribute_ref::value_list>("value", "xbattribute_value");
    return type;
}

const XBType& xbattributes_out::schema()
{
    static const XBType type =
        XBTypeBuilder<xbattributes_out>::sequence("xbattributes").streamed<xbattribute_ref>("attribute");
    return type;
}

const XBType& xbattributes_stream::schema()
{
    static const XBType type =
        XBTypeBuilder<xbattributes_stream>::sequence("xbattributes").streamed<xbattribute>("attribute");
    return type;
}

} // namespace XB
} // namespace MOX
