// SPDX-License-Identifier: MIT
// The attributes and properties documents: what marshal writes, round trips of awkward
// lists, the type/scope rules, every reading rule, single attributes, and the
// properties document's root and order.
#include <functional>
#include <stdexcept>
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

} // namespace

// Awkward names and values one by one are the hostile text tests'; these are awkward lists.
TEST(AttributeDocument, RoundTripsAwkwardLists)
{
    EXPECT_TRUE(A::unmarshal(A::marshal(A::Empty())).empty());
    const AttributeList list{
        attr("empty-values", {"", "", "x"}),
        attr("no-values"),
        attr("markup", {"a&b", "<tag attr=\"v\">", "]]>", "'quoted'"}, "String", "s&<>\""),
        attr("dup", {"v", "v"}, "Integer", "s"),
        attr("dup", {"w"}),
    };
    const std::string text = A::marshal(list);
    EXPECT_EQ(describe(A::unmarshal(text)), describe(list));
    // Single attributes: no declaration, no root; the first of several is read.
    EXPECT_EQ(describe({A::parseAttribute(A::marshal(list[2]) + A::marshal(list[0]))}), describe({list[2]}));
}

TEST(AttributeDocument, WritesForeignAttributesFromWhatTheyReport)
{
    const AttributeList foreign{SmartPointer<IAttribute>(new attrtest::ForeignAttribute("f", {"1", "<2>"}))};
    EXPECT_EQ(describe(A::unmarshal(A::marshal(foreign))), "f|String|:[1][<2>];");
}

TEST(AttributeDocument, ScopeIsWrittenAlwaysButReadOnlyWithAType)
{
    // A format emptied by parsing: no type; read back as "String" without the scope.
    const std::string untyped = A::marshal(AttributeList{
        A::createAttribute(A::parseQualifiedName("<attribute-id name=\"n\" format=\"\" scope=\"s\"/>"))});
    EXPECT_EQ(MOX::RT::XmlUtils::GetElement("attribute", untyped), "<attribute name=\"n\" scope=\"s\"></attribute>");
    EXPECT_EQ(describe(A::unmarshal(untyped)), "n|String|:;");
    // An empty type is the factory's empty format: "String", and the scope is read.
    EXPECT_EQ(describe(A::unmarshal(doc("<attribute name=\"b\" type=\"Integer\" scope=\"s\"/><attribute name=\"c\" "
                                        "type=\"\" scope=\"s\"/>"))),
              "b|Integer|s:;c|String|s:;");
}

// Awkward texts through the codec are the hostile text tests' (its documents' round trips).
TEST(PropertiesDocument, RoundTripsUnderTheCallersRootInDocumentOrder)
{
    PropertiesImpl properties, back;
    properties.setProperty("zeta", "last");
    properties.setProperty("alpha", "");
    back.setProperty("b", "old");
    unmarshalProperties(marshalProperties(properties, "settings"), "settings", back);
    EXPECT_EQ(back.getPropertyNames(), (Names{"b", "zeta", "alpha"})); // set in document order
    EXPECT_EQ(back.getProperty("zeta") + back.getProperty("alpha", "unset"), "last");
}

TEST(PropertiesDocument, ReadsAnyRootWhenNoneIsNamedWithTheLaterEntryWinning)
{
    PropertiesImpl back;
    unmarshalProperties("<cfg><property name=\"b\"/><property name=\"b\" value=\"2\" xsi:type=\"x\"/></cfg>", "", back);
    EXPECT_EQ(back.getProperty("b", "(unset)"), "2");
}

TEST(Documents, EveryFailurePath)
{
    PropertiesImpl p;
    const struct { std::function<void()> call; int status, code; const char* function; } rows[] = {
        // Broken documents: the decoder's status.
        {[] { A::unmarshal(""); }, -26, 0, nullptr},
        {[] { A::unmarshal("<attribute-list><attribute name=\"n\"/></attribute-list>"); }, -3, 0, nullptr},
        {[] { A::unmarshal(doc("<attr name=\"n\"/>")); }, -41, 0, nullptr},
        {[] { A::unmarshal(doc("<attribute type=\"String\"/>")); }, -38, 0, nullptr},
        {[] { A::unmarshal(doc("<attribute name=\"n\" format=\"Integer\"/>")); }, -33, 0, nullptr},
        // An empty name fails in the factory unless a decoding error comes before or after it.
        {[] { A::unmarshal(doc("<attribute name=\"\"/><attribute/>")); }, -38, 0, nullptr},
        {[] { A::unmarshal(doc("<bogus/><attribute name=\"\"/>")); }, -41, 0, nullptr},
        {[] { A::unmarshal(doc("<attribute name=\"a\"/><attribute name=\"\"/>")); }, 0, -1006,
         "MOX::Attributes::createQualifiedName"},
        // A whole document puts its declaration inside the wrapping root.
        {[] { A::parseAttribute(A::marshal(AttributeList{attr("a")})); }, -41, 0, nullptr},
        {[] { A::parseAttribute("  \n "); }, 0, -1006, "MOX::Attributes::parseAttribute"},
        {[] { A::marshal(SmartPointer<IAttribute>()); }, 0, -1004, nullptr},
        {[] { A::marshal(AttributeList{attr("a"), SmartPointer<IAttribute>()}); }, 0, -1004, nullptr},
        {[] { marshalProperties(PropertiesImpl(), ""); }, 0, -1006, "MOX::XB::marshalProperties"},
        {[&] { unmarshalProperties("<other><property name=\"a\"/></other>", "cfg", p); }, -3, 0, nullptr},
        {[&] { unmarshalProperties("<cfg><property name=\"c\"/><property value=\"v\"/></cfg>", "cfg", p); }, -38, 0,
         nullptr}};
    for (const auto& row : rows)
        EXPECT_TRUE(row.status != 0 ? moxtest::failsDecoding(row.call, row.status)
                                    : moxtest::throwsMox(row.call, row.code, row.function))
            << &row - rows;
    EXPECT_TRUE(p.getPropertyNames().empty()); // failures set nothing
}

TEST(Attribute, ReadAndBuiltAttributesAnswerAlikeThroughEveryChange)
{
    // A read attribute keeps its values packed until the first change; one built value by
    // value keeps a list. Each change, then every reader, must give the same answers.
    const std::string longValue = "a value longer than the small-string buffer";
    const std::function<void(IAttribute&)> changes[] = {
        [](IAttribute&) {},
        [](IAttribute& a) { a.addValue("z"); },
        [](IAttribute& a) { a.removeValue("x"); },
        [](IAttribute& a) { a.removeValue("absent"); },
        [](IAttribute& a) { a.removeAllValues(); },
        [](IAttribute& a) { a.setValues({"q", ""}); },
        [](IAttribute& a) { a.setValues(a.getValues()); }};
    for (const auto& change : changes) {
        const auto index = &change - changes;
        const SmartPointer<IAttribute> read = A::parseAttribute(
            "<attribute name=\"n\"><value>x</value><value/><value>" + longValue + "</value><value>x</value></attribute>");
        const SmartPointer<IAttribute> built = attr("n", {"x", "", longValue, "x"});
        change(*read);
        change(*built);
        EXPECT_EQ(read->getValues(), built->getValues()) << index;
        EXPECT_EQ(read->containsValue(longValue), built->containsValue(longValue)) << index;
        EXPECT_FALSE(read->lessThan(*built) || built->lessThan(*read)) << index;
        EXPECT_EQ(A::marshal(read), A::marshal(built)) << index;
        EXPECT_THROW(read->getValue(read->getValueCount()), std::out_of_range) << index;
        const SmartPointer<IAttribute> copy(dynamic_cast<IAttribute*>(read->clone()));
        copy->addValue("w"); // the copy's values are its own
        EXPECT_EQ(copy->getValueCount(), read->getValueCount() + 1) << index;
        EXPECT_TRUE(copy->getQualifiedName().sharesWith(read->getQualifiedName())) << index;
    }
}
