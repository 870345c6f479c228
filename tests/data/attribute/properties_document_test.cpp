// The properties document: the caller's root, the "property" elements in set order, the
// property-specific decoding checks and what reading sets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <mox/rt/PropertiesImpl.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/PropertiesDocument.h>

#include "data/attribute/AttrTestSupport.h"

using MOX::RT::PropertiesImpl;
using MOX::XB::marshalProperties;
using MOX::XB::unmarshalProperties;
using moxtest::failsDecoding;
using Names = std::vector<std::string>;

namespace {

PropertiesImpl sample()
{
    PropertiesImpl p;
    p.setProperty("zeta", "last");
    p.setProperty("alpha", "");
    p.setProperty("mid", "a&b <c> \"q\" 'a'\n\t\xC3\xA9");
    return p;
}

} // namespace

TEST(PropertiesDocument, RoundTripsUnderTheCallersRootInSetOrder)
{
    const std::string text = marshalProperties(sample(), "settings");
    EXPECT_FALSE(MOX::RT::XmlUtils::GetElement("settings", text).empty());
    EXPECT_EQ(MOX::RT::XmlUtils::getElements("property", text)[1], "<property name=\"alpha\" value=\"\"/>");
    PropertiesImpl back;
    unmarshalProperties(text, "settings", back);
    EXPECT_EQ(back.marshal(), sample().marshal());
    EXPECT_TRUE(attrtest::throwsInvalidArguments([] { marshalProperties(PropertiesImpl(), ""); },
                                                 "MOX::XB::marshalProperties"));
}

TEST(PropertiesDocument, ReadingSetsInDocumentOrderAndFailuresSetNothing)
{
    PropertiesImpl p;
    p.setProperty("b", "old");
    unmarshalProperties("<cfg><property name=\"a\" value=\"1\"/><property name=\"b\"/>"
                        "<property name=\"a\" value=\"2\" xsi:type=\"x\"/></cfg>",
                        "", p); // an empty root: any
    EXPECT_EQ(p.getPropertyNames(), (Names{"b", "a"}));
    EXPECT_EQ(p.getProperty("a") + "|" + p.getProperty("b", "(unset)"), "2|"); // the later entry wins
    EXPECT_TRUE(failsDecoding([&] { unmarshalProperties("<other><property name=\"a\"/></other>", "cfg", p); }, -3));
    EXPECT_TRUE(failsDecoding(
        [&] { unmarshalProperties("<cfg><property name=\"c\"/><property value=\"v\"/></cfg>", "cfg", p); }, -38));
    EXPECT_EQ(p.getPropertyNames(), (Names{"b", "a"}));
}
