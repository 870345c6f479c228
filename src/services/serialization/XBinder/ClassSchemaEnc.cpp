// SPDX-License-Identifier: MIT
// The class-id schema types, described as data for the codec's generic writer and
// handlers: each is an empty element whose attributes are written in this order.
#include <mox/xb/ClassSchema.h>
#include "services/serialization/manager/XBTypeBuilder.h"

namespace MOX {
namespace XB {

const XBType& xbclass_id::schema()
{
    static const XBType type = XBTypeBuilder<xbclass_id>::sequence("xbclass_id")
                                   .attribute<&xbclass_id::class_>("class")
                                   .attribute<&xbclass_id::version>("version", Use::Optional)
                                   .attribute<&xbclass_id::loader>("loader", Use::Optional);
    return type;
}

const XBType& xbinterface_id::schema()
{
    static const XBType type = XBTypeBuilder<xbinterface_id>::sequence("xbinterface_id")
                                   .attribute<&xbinterface_id::class_>("class")
                                   .attribute<&xbinterface_id::version>("version", Use::Optional);
    return type;
}

const XBType& xbloader_id::schema()
{
    static const XBType type =
        XBTypeBuilder<xbloader_id>::sequence("xbloader_id").attribute<&xbloader_id::loader>("loader");
    return type;
}

} // namespace XB
} // namespace MOX
