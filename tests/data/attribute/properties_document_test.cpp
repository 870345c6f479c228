// The properties document: the caller's root, the "property" elements in set order, the
// decoding checks, and what reading sets.
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

std::string readBack(const std::string& text, const std::string& root, const std::string& name)
{
    PropertiesImpl p;
    unmarshalProperties(text, root, p);
    return p.getProperty(name, "(unset)");
}

} // namespace

TEST(PropertiesDocument, WritesTheCallersRootAndOnePropertyPerNameInSetOrder)
{
    const std::string empty = marshalProperties(PropertiesImpl(), "settings");
    EXPECT_TRUE(!XmlUtils::GetElement("settings", empty).empty() && XmlUtils::getElements("property", empty).empty());

    const std::string text = marshalProperties(sample(), "settings");
    const std::vector<std::string> items = XmlUtils::getElements("property", text);
    ASSERT_EQ(items.size(), 3u);
    Names names;
    for (const std::string& item : items) {
        names.push_back(XmlUtils::GetAttributeValue("name", item));
        EXPECT_EQ(item.substr(item.size() - 2), "/>");
        EXPECT_LT(item.find("name="), item.find("value="));
    }
    EXPECT_EQ(names, (Names{"zeta", "alpha", "mid"}));
    EXPECT_EQ(XmlUtils::GetAttributeValue("value", items[1], "(absent)"), ""); // present though empty

    PropertiesImpl back;
    unmarshalProperties(text, "settings", back);
    EXPECT_EQ(back.getPropertyNames(), (Names{"zeta", "alpha", "mid"}));
    EXPECT_EQ(back.getProperty("mid"), sample().getProperty("mid"));
    EXPECT_EQ(back.getProperty("alpha", "(unset)"), "");

    EXPECT_TRUE(attrtest::throwsInvalidArguments([] { marshalProperties(PropertiesImpl(), ""); },
                                                 "MOX::XB::marshalProperties"));
}

TEST(PropertiesDocument, ReadingSetsInDocumentOrderAndMissingValuesAsEmpty)
{
    PropertiesImpl p;
    p.setProperty("b", "old");
    unmarshalProperties("<cfg><property name=\"a\" value=\"1\"/><property name=\"b\"/>"
                        "<property name=\"a\" value=\"2\" xsi:type=\"x\"/></cfg>",
                        "cfg", p);
    EXPECT_EQ(p.getPropertyNames(), (Names{"b", "a"}));
    EXPECT_EQ(p.getProperty("a"), "2"); // the later entry wins
    EXPECT_EQ(p.getProperty("b", "(unset)"), "");

    // An empty expected root accepts any root; a prefixed one matches by local name.
    EXPECT_EQ(readBack("<anything><property name=\"k\" value=\"v\"/></anything>", "", "k"), "v");
    EXPECT_EQ(readBack("<x:cfg xmlns:x=\"urn:x\"><property name=\"k\" value=\"v\"/></x:cfg>", "cfg", "k"), "v");
}

TEST(PropertiesDocument, EachDecodingCheckFailsAndSetsNothing)
{
    PropertiesImpl p;
    p.setProperty("keep", "me");
    const std::tuple<std::string, int, Names> rows[] = {
        {"<other><property name=\"a\"/></other>", -3, {"'cfg'", "'other'"}},
        {"<cfg><property name=\"a\"/><item name=\"b\"/></cfg>", -41, {"'item'"}},
        {"<cfg><property value=\"v\"/></cfg>", -38, {"'xbproperty'", "'name'"}},
        {"<cfg><property name=\"a\" type=\"t\"/></cfg>", -33, {"'xbproperty'", "'type'"}},
        {"<cfg><property name=\"a\"><value>v</value></property></cfg>", -41, {"'value'"}},
        {"<cfg><property name=\"a\"/>", -26, {}}};
    for (const auto& [text, status, parameters] : rows)
        EXPECT_TRUE(failsDecoding([&] { unmarshalProperties(text, "cfg", p); }, status, parameters)) << text;
    EXPECT_EQ(p.getPropertyNames(), Names{"keep"});
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

    const std::unique_ptr<MOX::XB::xb_properties> made(AttributeConverter::toXB(PropertiesImpl()));
    EXPECT_TRUE(made->list.empty());
}
