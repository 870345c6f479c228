// The properties document: the caller's root, the "property" elements in set order, the
// property-specific decoding checks, and what reading sets. The codec rules shared with
// the attributes document are tested there.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <mox/rt/PropertiesImpl.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/AttributeConverter.h>
#include <mox/xb/PropertiesDocument.h>

#include "data/attribute/AttrTestSupport.h"

using MOX::RT::PropertiesImpl;
using MOX::RT::XmlUtils;
using MOX::XB::AttributeConverter;
using MOX::XB::marshalProperties;
using MOX::XB::unmarshalProperties;
using attrtest::failsDecoding;
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

TEST(PropertiesDocument, WritesTheCallersRootAndOnePropertyPerNameInSetOrder)
{
    const std::string text = marshalProperties(sample(), "settings");
    EXPECT_FALSE(XmlUtils::GetElement("settings", text).empty());
    const std::vector<std::string> items = XmlUtils::getElements("property", text);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1], "<property name=\"alpha\" value=\"\"/>"); // present though empty

    PropertiesImpl back;
    unmarshalProperties(text, "settings", back);
    EXPECT_EQ(back.getPropertyNames(), (Names{"zeta", "alpha", "mid"}));
    EXPECT_EQ(back.getProperty("mid"), sample().getProperty("mid"));
    EXPECT_TRUE(attrtest::throwsInvalidArguments([] { marshalProperties(PropertiesImpl(), ""); },
                                                 "MOX::XB::marshalProperties"));
}

TEST(PropertiesDocument, ReadingSetsInDocumentOrderAndMissingValuesAsEmptyAndFailuresSetNothing)
{
    PropertiesImpl p;
    p.setProperty("b", "old");
    unmarshalProperties("<cfg><property name=\"a\" value=\"1\"/><property name=\"b\"/>"
                        "<property name=\"a\" value=\"2\" xsi:type=\"x\"/></cfg>",
                        "cfg", p);
    EXPECT_EQ(p.getPropertyNames(), (Names{"b", "a"}));
    EXPECT_EQ(p.getProperty("a"), "2"); // the later entry wins
    EXPECT_EQ(p.getProperty("b", "(unset)"), "");
    PropertiesImpl any;
    unmarshalProperties("<anything><property name=\"k\" value=\"v\"/></anything>", "", any); // empty root: any
    EXPECT_EQ(any.getProperty("k"), "v");

    PropertiesImpl kept;
    kept.setProperty("keep", "me");
    EXPECT_TRUE(failsDecoding([&] { unmarshalProperties("<other><property name=\"a\"/></other>", "cfg", kept); }, -3,
                              {"'cfg'", "'other'"}));
    EXPECT_TRUE(failsDecoding([&] { unmarshalProperties("<cfg><property name=\"a\"/><property value=\"v\"/></cfg>",
                                                        "cfg", kept); },
                              -38, {"'xbproperty'", "'name'"}));
    EXPECT_EQ(kept.getPropertyNames(), Names{"keep"});
}

TEST(PropertiesDocument, ConverterAppendsAndCreatesDocuments)
{
    MOX::XB::xb_properties doc;
    doc.list.emplace_back();
    doc.list.back().name = "existing";
    AttributeConverter::toXB(doc, sample());
    ASSERT_EQ(doc.list.size(), 4u);
    EXPECT_FALSE(doc.list[0].value.has_value());
    EXPECT_EQ(doc.list[2].name + "=" + doc.list[2].value.value_or("(absent)"), "alpha="); // always present from a set

    PropertiesImpl back;
    AttributeConverter::toMOX(back, doc);
    EXPECT_EQ(back.getPropertyNames(), (Names{"existing", "zeta", "alpha", "mid"}));
    EXPECT_EQ(back.getProperty("existing", "(unset)"), "");
    EXPECT_TRUE(std::unique_ptr<MOX::XB::xb_properties>(AttributeConverter::toXB(PropertiesImpl()))->list.empty());
}
