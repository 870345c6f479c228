// The attributes and properties documents: what marshal writes, round trips of awkward
// lists, the type/scope rules, every reading rule, single attributes, and the
// properties document's root and order.
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <mox/attr/Attributes.h>
#include <mox/rt/PropertiesImpl.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/PropertiesDocument.h>

#include "data/attribute/AttrTestSupport.h"

using MOX::ATTR::IAttribute;
using MOX::Attributes::AttributeList;
using MOX::RT::PropertiesImpl;
using MOX::RT::SmartPointer;
using MOX::XB::marshalProperties;
using MOX::XB::unmarshalProperties;
using Names = std::vector<std::string>;
using attrtest::attr;
using moxtest::failsDecoding;
namespace A = MOX::Attributes;

namespace {

std::string doc(const std::string& content) { return "<?xml version=\"1.0\"?>\n<attributes>" + content + "</attributes>"; }

// Name, format, scope and values of each attribute, in order.
std::string describe(const AttributeList& list)
{
    std::string out;
    for (const SmartPointer<IAttribute>& a : list) {
        out += a->getName() + "|" + a->getFormat() + "|" + a->getQualifiedName()->getScope() + ":";
        for (const std::string& v : a->getValues())
            out += "[" + v + "]";
        out += ";";
    }
    return out;
}

PropertiesImpl sample()
{
    PropertiesImpl p;
    p.setProperty("zeta", "last");
    p.setProperty("alpha", "");
    p.setProperty("mid", "a&b <c> \"q\" 'a'\n\t\xC3\xA9");
    return p;
}

} // namespace

TEST(AttributeDocument, RoundTripsAwkwardListsAndForeignAttributes)
{
    EXPECT_TRUE(A::unmarshal(A::marshal(A::Empty())).empty());
    const AttributeList list{
        attr("empty-values", {"", "", "x"}),
        attr("no-values"),
        attr("markup", {"a&b", "<tag attr=\"v\">", "]]>", "'quoted'"}, "String", "s&<>\""),
        attr("\xC3\xA9t\xC3\xA9", {"\xE6\x97\xA5\xE6\x9C\xAC", "\xF0\x9F\x98\x80 smile"}, "Caf\xC3\xA9"),
        attr("spaces", {"  padded  ", "line\nbreak", "cr\r\nlf", "\ttab"}),
        attr("dup", {"v", "v"}, "Integer", "s"),
        attr("dup", {"w"}),
    };
    const std::string text = A::marshal(list);
    EXPECT_EQ(describe(A::unmarshal(text)), describe(list));
    EXPECT_EQ(MOX::RT::XmlUtils::getElements("attribute", text)[5],
              "<attribute name=\"dup\" type=\"Integer\" scope=\"s\"><value>v</value><value>v</value></attribute>");

    // Attributes of another implementation are written from what they report.
    const AttributeList foreign{SmartPointer<IAttribute>(new attrtest::ForeignAttribute("f", {"1", "<2>"})),
                                attr("own", {"3"})};
    EXPECT_EQ(describe(A::unmarshal(A::marshal(foreign))), "f|String|:[1][<2>];own|String|:[3];");
    // A null list element ends the streamed write and reaches the caller.
    EXPECT_TRUE(attrtest::throwsNullPointer([] { A::marshal(AttributeList{attr("a"), SmartPointer<IAttribute>()}); }));
}

TEST(AttributeDocument, ScopeIsWrittenAlwaysButReadOnlyWithAType)
{
    // A format emptied by parsing: no type; read back as "String" without the scope.
    const std::string untyped = A::marshal(AttributeList{
        A::createAttribute(A::parseQualifiedName("<attribute-id name=\"n\" format=\"\" scope=\"s\"/>"))});
    EXPECT_EQ(MOX::RT::XmlUtils::GetElement("attribute", untyped), "<attribute name=\"n\" scope=\"s\"></attribute>");
    EXPECT_EQ(describe(A::unmarshal(untyped)), "n|String|:;");
    // An empty type is the factory's empty format: "String", and the scope is read.
    EXPECT_EQ(describe(A::unmarshal(doc("<attribute name=\"a\" scope=\"s\"/><attribute name=\"b\" type=\"Integer\" "
                                        "scope=\"s\"/><attribute name=\"c\" type=\"\" scope=\"s\"/>"))),
              "a|String|:;b|Integer|s:;c|String|s:;");
}

TEST(AttributeDocument, ReadingAcceptsWhatTheRulesAllowAndEachBrokenRuleIsADecodingError)
{
    // Prefixed elements, xsi and namespace attributes, text between elements, CDATA and
    // references inside values, anything after the root.
    EXPECT_EQ(describe(A::unmarshal(
                  "<?xml version=\"1.0\"?>\n<p:attributes xmlns:p=\"urn:x\" xmlns:xsi=\"http://www.w3.org/2001/"
                  "XMLSchema-instance\" xsi:type=\"t\">\n  stray text\n  <p:attribute name=\"n\" xsi:nil=\"false\">"
                  "ignored<value xmlns=\"\">a&amp;b<![CDATA[<c>]]>&#233;</value><value/></p:attribute>\n"
                  "</p:attributes>trailing <junk")),
              "n|String|:[a&b<c>\xC3\xA9][];");

    const std::pair<std::string, int> rows[] = {
        {"", -26},
        {"<attribute-list><attribute name=\"n\"/></attribute-list>", -3},
        {doc("<attr name=\"n\"/>"), -41},
        {doc("<attribute type=\"String\"/>"), -38},
        {doc("<attribute name=\"n\" format=\"Integer\"/>"), -33},
        {doc("<attribute name=\"n\"><value lang=\"en\">x</value></attribute>"), -33},
        // An empty name fails in the factory unless the document is broken: a decoding
        // error before or after it wins.
        {doc("<attribute name=\"\"/><attribute/>"), -38},
        {doc("<bogus/><attribute name=\"\"/>"), -41}};
    for (const auto& [text, status] : rows)
        EXPECT_TRUE(failsDecoding([&] { A::unmarshal(text); }, status)) << text;
    EXPECT_TRUE(attrtest::throwsInvalidArguments(
        [] { A::unmarshal(doc("<attribute name=\"a\"/><attribute name=\"\"/>")); }, "MOX::Attributes::createQualifiedName"));
}

TEST(AttributeDocument, SingleAttributes)
{
    const SmartPointer<IAttribute> a = attr("n", {"x<y", ""}, "Integer", "s");
    const std::string text = A::marshal(a);
    EXPECT_EQ(MOX::RT::XmlUtils::GetElement("attribute", text), text); // no declaration, no root
    EXPECT_EQ(describe({A::parseAttribute(text)}), describe({a}));
    // The first of several is read.
    EXPECT_EQ(describe({A::parseAttribute(A::marshal(attr("one", {"1"})) + A::marshal(attr("two")))}), "one|String|:[1];");
    for (const char* blank : {"", "  \n "})
        EXPECT_TRUE(attrtest::throwsInvalidArguments([&] { A::parseAttribute(blank); }, "MOX::Attributes::parseAttribute"));
    // A whole document puts its declaration inside the wrapping root.
    EXPECT_TRUE(failsDecoding([&] { A::parseAttribute(A::marshal(AttributeList{a})); }, -26));
    EXPECT_TRUE(attrtest::throwsNullPointer([] { A::marshal(SmartPointer<IAttribute>()); }));
}

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
