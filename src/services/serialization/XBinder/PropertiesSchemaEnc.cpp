// SPDX-License-Identifier: MIT
// The properties schema, described as data for the codec's generic writer and handlers:
// "property" is an empty element, so any child of it is an unexpected element.
#include <mox/xb/PropertiesSchema.h>
#include "services/serialization/manager/XBTypeBuilder.h"

namespace MOX {
namespace XB {

const XBType& xbproperty::schema()
{
    static const XBType type = XBTypeBuilder<xbproperty>::sequence("xbproperty")
                                   .attribute<&xbproperty::name>("name")
                                   .attribute<&xbproperty::value>("value", Use::Optional);
    return type;
}

const XBType& xb_properties::schema()
{
    static const XBType type =
        XBTypeBuilder<xb_properties>::sequence("xb_properties").list<&xb_properties::list>("property");
    return type;
}

} // namespace XB
} // namespace MOX
