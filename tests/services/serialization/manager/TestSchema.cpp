// SPDX-License-Identifier: MIT
#include "services/serialization/manager/TestSchema.h"

using MOX::XB::Use;
using MOX::XB::XBType;
using MOX::XB::XBTypeBuilder;

namespace xbtest {

const XBType& titem::schema()
{
    static const XBType type = XBTypeBuilder<titem>::sequence("titem")
                                   .attribute<&titem::id>("id")
                                   .attribute<&titem::size>("size", Use::Optional)
                                   .attribute<&titem::flag>("flag", Use::Optional);
    return type;
}

const XBType& tnote::schema()
{
    static const XBType type =
        XBTypeBuilder<tnote>::sequence("tnote").attribute<&tnote::lang>("lang", Use::Optional).text<&tnote::text>();
    return type;
}

const XBType& tchoice::schema()
{
    static const XBType type =
        XBTypeBuilder<tchoice>::choice("tchoice").alternative<titem>("item").alternative<tnote>("note");
    return type;
}

const XBType& tbox::schema()
{
    static const XBType type = XBTypeBuilder<tbox>::sequence("tbox")
                                   .attribute<&tbox::name>("name")
                                   .list<&tbox::values>("value", "tbox_value")
                                   .element<&tbox::note>("note")
                                   .list<&tbox::items>("item");
    return type;
}

const XBType& tdoc::schema()
{
    static const XBType type = XBTypeBuilder<tdoc>::sequence("tdoc")
                                   .items<&tdoc::entries>()
                                   .list<&tdoc::boxes>("box")
                                   .element<&tdoc::pick>("pick");
    return type;
}

} // namespace xbtest
