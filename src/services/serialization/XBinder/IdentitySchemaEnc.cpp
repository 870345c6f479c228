// SPDX-License-Identifier: MIT
// The identities schema, described as data for the codec's generic writer and handlers.
#include <mox/xb/IdentitySchema.h>
#include "services/serialization/manager/XBTypeBuilder.h"

namespace MOX {
namespace XB {

const XBType& xbidentity::schema()
{
    static const XBType type = XBTypeBuilder<xbidentity>::sequence("xbidentity")
                                   .attribute<&xbidentity::format>("format")
                                   .attribute<&xbidentity::authority>("authority")
                                   .attribute<&xbidentity::account>("account")
                                   .attribute<&xbidentity::type>("type");
    return type;
}

const XBType& xbAbstractNameIdentifier::schema()
{
    static const XBType type = XBTypeBuilder<xbAbstractNameIdentifier>::sequence("xbAbstractNameIdentifier")
                                   .attribute<&xbAbstractNameIdentifier::format>("format")
                                   .text<&xbAbstractNameIdentifier::value>();
    return type;
}

const XBType& xbidentities_1::schema()
{
    static const XBType type = XBTypeBuilder<xbidentities_1>::choice("xbidentities_1")
                                   .alternative<xbidentity>("identity")
                                   .alternative<xbAbstractNameIdentifier>("UserIdentifier")
                                   .alternative<xbAbstractNameIdentifier>("GroupIdentifier");
    return type;
}

const XBType& xbidentities::schema()
{
    static const XBType type = XBTypeBuilder<xbidentities>::sequence("xbidentities").items<&xbidentities::list>();
    return type;
}

} // namespace XB
} // namespace MOX
