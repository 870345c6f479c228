// The attributes document: what marshal writes, round trips of awkward lists, the
// type/scope rules in both directions, every reading rule, and single attributes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <mox/attr/Attributes.h>
#include <mox/rt/XmlUtils.h>

#include "data/attribute/AttrTestSupport.h"
#include "data/attribute/DocTestSupport.h"

using MOX::ATTR::IAttribute;
using MOX::Attributes::AttributeList;
using MOX::RT::SmartPointer;
using MOX::RT::XmlUtils;
using attrtest::attr;
using attrtest::failsDecoding;
using attrtest::throwsInvalidArguments;
namespace A = MOX::Attributes;
using Values = std::vector<std::string>;

namespace {

std::string doc(const std::string& content)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<attributes>" + content + "</attributes>";
}

std::string xmlAttribute(const std::string& element, const std::string& name)
{
    return XmlUtils::GetAttributeValue(name, element, "(absent)");
}

// Equal as lists, and in the same order.
void expectSameList(const AttributeList& read, const AttributeList& written)
{
    ASSERT_EQ(read.size(), written.size());
    EXPECT_TRUE(A::equals(read, written));
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i]->getName(), written[i]->getName());
        EXPECT_EQ(read[i]->getQualifiedName()->getScope(), written[i]->getQualifiedName()->getScope());
        EXPECT_EQ(read[i]->getValues(), written[i]->getValues());
    }
}

} // namespace

TEST(AttributeDocument, EmptyListIsADeclarationAndAnEmptyRoot)
{
    const std::string text = A::marshal(A::Empty());
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_FALSE(XmlUtils::GetElement("attributes", text).empty());
    EXPECT_TRUE(XmlUtils::getElements("attribute", text).empty());
    EXPECT_TRUE(A::unmarshal(text).empty());
}

TEST(AttributeDocument, WritesNameTypeScopeAndValuesInOrder)
{
    const std::string text = A::marshal(AttributeList{attr("color", {"red", "blue"}), attr("n", {}, "Integer", "s")});
    const std::vector<std::string> elements = XmlUtils::getElements("attribute", text);
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(xmlAttribute(elements[0], "name"), "color");
    EXPECT_EQ(xmlAttribute(elements[0], "type"), "String");
    EXPECT_EQ(xmlAttribute(elements[0], "scope"), "(absent)");
    EXPECT_EQ(XmlUtils::getElements("value", elements[0]),
              (std::vector<std::string>{"<value>red</value>", "<value>blue</value>"}));
    const std::string& second = elements[1];
    EXPECT_LT(second.find("name="), second.find("type="));
    EXPECT_LT(second.find("type="), second.find("scope="));
    EXPECT_EQ(xmlAttribute(second, "type"), "Integer");
    EXPECT_EQ(xmlAttribute(second, "scope"), "s");
    EXPECT_TRUE(XmlUtils::getElements("value", second).empty());
}

TEST(AttributeDocument, RoundTripsAwkwardLists)
{
    const AttributeList list{
        attr("empty-values", {"", "", "x"}),
        attr("no-values"),
        attr("markup", {"a&b", "<tag attr=\"v\">", "]]>", "x > y", "'quoted'"}, "String", "s&<>\""),
        attr("\xC3\xA9t\xC3\xA9", {"\xE6\x97\xA5\xE6\x9C\xAC", "\xF0\x9F\x98\x80 smile"}, "Caf\xC3\xA9"),
        attr("spaces", {"  padded  ", "line\nbreak", "cr\r\nlf", "\ttab"}),
        attr("dup", {"v", "v"}, "Integer"),
        attr("dup", {"w"}),
    };
    expectSameList(A::unmarshal(A::marshal(list)), list);

    // Attributes of another implementation are written from what they report.
    const AttributeList foreign{SmartPointer<IAttribute>(new attrtest::ForeignAttribute("f", {"1", "<2>"})),
                                attr("own", {"3"})};
    const AttributeList back = A::unmarshal(A::marshal(foreign));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0]->getName(), "f");
    EXPECT_EQ(back[0]->getValues(), (Values{"1", "<2>"}));
    EXPECT_EQ(back[1]->getValues(), Values{"3"});
}

TEST(AttributeDocument, FormatAndScopeRulesInBothDirections)
{
    // Format "String" with a scope: written with both.
    const std::string scoped = A::marshal(AttributeList{attr("n", {}, "String", "s")});
    EXPECT_EQ(xmlAttribute(XmlUtils::GetElement("attribute", scoped), "type"), "String");
    EXPECT_EQ(xmlAttribute(XmlUtils::GetElement("attribute", scoped), "scope"), "s");

    // A format emptied by parsing: no type; read back as "String" without the scope.
    const SmartPointer<IAttribute> bare =
        A::createAttribute(A::parseQualifiedName("<attribute-id name=\"n\" format=\"\" scope=\"s\"/>"));
    const std::string untyped = A::marshal(AttributeList{bare});
    const std::string element = XmlUtils::GetElement("attribute", untyped);
    EXPECT_EQ(xmlAttribute(element, "type"), "(absent)");
    EXPECT_EQ(xmlAttribute(element, "scope"), "s");
    const AttributeList back = A::unmarshal(untyped);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0]->getFormat(), "String");
    EXPECT_EQ(back[0]->getQualifiedName()->getScope(), "");

    // Read: a scope without a type is not read; with a type it is.
    const AttributeList read =
        A::unmarshal(doc("<attribute name=\"a\" scope=\"s\"/><attribute name=\"b\" type=\"Integer\" scope=\"s\"/>"));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0]->getFormat(), "String");
    EXPECT_EQ(read[0]->getQualifiedName()->getScope(), "");
    EXPECT_EQ(read[1]->getFormat(), "Integer");
    EXPECT_EQ(read[1]->getQualifiedName()->getScope(), "s");
    // An empty type is the factory's empty format: "String", and the scope is read.
    const AttributeList emptyType = A::unmarshal(doc("<attribute name=\"a\" type=\"\" scope=\"s\"/>"));
    EXPECT_EQ(emptyType[0]->getFormat(), "String");
    EXPECT_EQ(emptyType[0]->getQualifiedName()->getScope(), "s");
}

TEST(AttributeDocument, ReadingAcceptsWhatTheRulesAllow)
{
    // Prefixed elements, xsi and namespace attributes, text between elements, CDATA and
    // references inside values, anything after the root.
    const AttributeList list = A::unmarshal(
        "<?xml version=\"1.0\"?>\n<p:attributes xmlns:p=\"urn:x\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
        " xsi:type=\"t\">\n  stray text\n  <p:attribute name=\"n\" xsi:nil=\"false\">ignored<value xmlns=\"\">a&amp;b"
        "<![CDATA[<c>]]>&#233;</value><value/></p:attribute>\n</p:attributes>trailing <junk");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->getValues(), (Values{"a&b<c>\xC3\xA9", ""}));
}

TEST(AttributeDocument, EachReadingRuleIsADecodingError)
{
    EXPECT_TRUE(failsDecoding([] { A::unmarshal(""); }, -26, {"line = 1"}));
    EXPECT_TRUE(failsDecoding([] { A::unmarshal("not xml"); }, -26, {"column = "}));
    EXPECT_TRUE(failsDecoding([] { A::unmarshal(doc("<attribute name=\"n\">")); }, -26));
    EXPECT_TRUE(failsDecoding([] { A::unmarshal("<attribute-list><attribute name=\"n\"/></attribute-list>"); }, -3,
                              {"'attributes'", "'attribute-list'"}));
    EXPECT_TRUE(failsDecoding([] { A::unmarshal(doc("<attr name=\"n\"/>")); }, -41, {"'attr'"}));
    EXPECT_TRUE(failsDecoding([] { A::unmarshal(doc("<attribute type=\"String\"/>")); }, -38,
                              {"'xbattribute'", "'name'"}));
    EXPECT_TRUE(failsDecoding([] { A::unmarshal(doc("<attribute name=\"n\" format=\"Integer\"/>")); }, -33,
                              {"'xbattribute'", "'format'"}));
    EXPECT_TRUE(failsDecoding([] { A::unmarshal(doc("<attribute name=\"n\"><values/></attribute>")); }, -41,
                              {"'values'"}));
    EXPECT_TRUE(failsDecoding([] { A::unmarshal(doc("<attribute name=\"n\"><value lang=\"en\">x</value></attribute>")); },
                              -33, {"'lang'"}));
    EXPECT_TRUE(failsDecoding([] { A::unmarshal(doc("<attribute name=\"n\"><value><b/></value></attribute>")); }, -41,
                              {"'b'"}));
    EXPECT_TRUE(failsDecoding([] { A::unmarshal("<attributes version=\"2\"/>"); }, -33, {"'version'"}));
}

TEST(AttributeDocument, EmptyNameFailsInTheFactoryUnlessTheDocumentIsBroken)
{
    EXPECT_TRUE(throwsInvalidArguments([] { A::unmarshal(doc("<attribute name=\"a\"/><attribute name=\"\"/>")); },
                                       "MOX::Attributes::createQualifiedName"));
    // A decoding error later in the document wins: the document is rejected as text.
    EXPECT_TRUE(failsDecoding([] { A::unmarshal(doc("<attribute name=\"\"/><attribute/>")); }, -38));
    // A decoding error before the empty name, likewise.
    EXPECT_TRUE(failsDecoding([] { A::unmarshal(doc("<bogus/><attribute name=\"\"/>")); }, -41));
}

TEST(AttributeDocument, SingleAttributes)
{
    const SmartPointer<IAttribute> a = attr("n", {"x<y", ""}, "Integer", "s");
    const std::string text = A::marshal(a);
    EXPECT_EQ(text.rfind("<attribute ", 0), 0u); // no declaration, no root
    EXPECT_EQ(XmlUtils::GetElement("attribute", text), text);
    const SmartPointer<IAttribute> back = A::parseAttribute(text);
    EXPECT_TRUE(back == a);
    EXPECT_EQ(back->getQualifiedName()->getScope(), "s");

    const SmartPointer<IAttribute> first = A::parseAttribute(A::marshal(attr("one", {"1"})) + A::marshal(attr("two")));
    EXPECT_EQ(first->getName(), "one");
    EXPECT_EQ(first->getValues(), Values{"1"});

    EXPECT_TRUE(throwsInvalidArguments([] { A::parseAttribute(""); }, "MOX::Attributes::parseAttribute"));
    EXPECT_TRUE(throwsInvalidArguments([] { A::parseAttribute("  \n "); }, "MOX::Attributes::parseAttribute"));
    // A whole document puts its declaration inside the wrapping root.
    EXPECT_TRUE(failsDecoding([&] { A::parseAttribute(A::marshal(AttributeList{a})); }, -26));
    EXPECT_TRUE(attrtest::throwsNullPointer([] { A::marshal(SmartPointer<IAttribute>()); }));
}
