// Qualified names: the factory's checks and default format, the "attribute-id" form in
// both directions, the order (format first) and the glob match.
#include <gtest/gtest.h>

#include <mox/attr/Attributes.h>
#include <mox/rt/XmlUtils.h>

#include "data/attribute/AttrTestSupport.h"

using MOX::ATTR::IQualifiedName;
using MOX::Attributes::createQualifiedName;
using MOX::Attributes::parseQualifiedName;
using MOX::RT::SmartPointer;
using MOX::RT::XmlUtils;
using attrtest::throwsInvalidArguments;

namespace {

std::string xmlAttribute(const std::string& element, const std::string& name)
{
    return XmlUtils::GetAttributeValue(name, element, "(absent)");
}

bool same(const SmartPointer<IQualifiedName>& a, const SmartPointer<IQualifiedName>& b)
{
    return a->getName() == b->getName() && a->getFormat() == b->getFormat() && a->getScope() == b->getScope() &&
           !a->lessThan(*b) && !b->lessThan(*a);
}

} // namespace

TEST(QualifiedName, FactoryRefusesEmptyNameAndDefaultsTheFormat)
{
    EXPECT_TRUE(throwsInvalidArguments([] { createQualifiedName("", "Integer", "s"); },
                                       "MOX::Attributes::createQualifiedName"));
    EXPECT_TRUE(throwsInvalidArguments([] { parseQualifiedName(""); }, "MOX::Attributes::parseQualifiedName"));

    const SmartPointer<IQualifiedName> plain = createQualifiedName("n", "", "");
    EXPECT_EQ(plain->getFormat(), "String");
    EXPECT_EQ(plain->getScope(), "");
    // Default format, no scope: the element carries the name alone.
    const std::string text = plain->marshal();
    EXPECT_EQ(XmlUtils::GetElement("attribute-id", text), text);
    EXPECT_EQ(xmlAttribute(text, "name"), "n");
    EXPECT_EQ(xmlAttribute(text, "format"), "(absent)");
    EXPECT_EQ(xmlAttribute(text, "scope"), "(absent)");
    EXPECT_EQ(plain->toString(), text);
}

TEST(QualifiedName, TextFormRoundTripsInOrderNameFormatScope)
{
    const SmartPointer<IQualifiedName> full = createQualifiedName("size", "Integer", "s");
    const std::string text = full->marshal();
    const auto name = text.find("name=");
    const auto format = text.find("format=");
    const auto scope = text.find("scope=");
    ASSERT_NE(scope, std::string::npos);
    EXPECT_LT(name, format);
    EXPECT_LT(format, scope);
    EXPECT_TRUE(same(parseQualifiedName(text), full));

    // "String" is not written; reading it back gives "String" again.
    const SmartPointer<IQualifiedName> scoped = createQualifiedName("n", "String", "s");
    EXPECT_EQ(xmlAttribute(scoped->marshal(), "format"), "(absent)");
    EXPECT_EQ(xmlAttribute(scoped->marshal(), "scope"), "s");
    EXPECT_TRUE(same(parseQualifiedName(scoped->marshal()), scoped));

    // Markup characters, quotes and non-ASCII text survive.
    const SmartPointer<IQualifiedName> odd = createQualifiedName("a<b>&\"c'", "T\xC3\xBCp", "\xE6\x97\xA5 s");
    EXPECT_TRUE(same(parseQualifiedName(odd->marshal()), odd));
}

TEST(QualifiedName, UnmarshalOverwritesEverythingWithoutChecks)
{
    SmartPointer<IQualifiedName> name = createQualifiedName("n", "Integer", "s");
    // Present but empty format stays empty: the default is the factory's, not the reader's.
    name->unmarshal("<attribute-id name=\"m\" format=\"\"/>");
    EXPECT_EQ(name->getName(), "m");
    EXPECT_EQ(name->getFormat(), "");
    EXPECT_EQ(name->getScope(), "");
    // No name, no format: empty name and "String".
    name->unmarshal("<other><attribute-id scope=\"x\"/></other>");
    EXPECT_EQ(name->getName(), "");
    EXPECT_EQ(name->getFormat(), "String");
    EXPECT_EQ(name->getScope(), "x");
    // No element at all.
    const SmartPointer<IQualifiedName> none = parseQualifiedName("plain text");
    EXPECT_EQ(none->getName(), "");
    EXPECT_EQ(none->getFormat(), "String");
}

TEST(QualifiedName, OrderIsFormatThenNameThenScope)
{
    const auto b_int = createQualifiedName("b", "Integer", "");
    const auto a_str = createQualifiedName("a", "String", "");
    EXPECT_TRUE(b_int->lessThan(*a_str));
    EXPECT_FALSE(a_str->lessThan(*b_int));
    EXPECT_TRUE(createQualifiedName("a", "", "z")->lessThan(*createQualifiedName("b", "", "a")));
    EXPECT_TRUE(createQualifiedName("a", "", "")->lessThan(*createQualifiedName("a", "", "s")));
    EXPECT_FALSE(createQualifiedName("a", "", "s")->lessThan(*createQualifiedName("a", "", "s")));
    // Equality of smart pointers follows the order; null equals nothing.
    EXPECT_TRUE(createQualifiedName("a", "", "s") == createQualifiedName("a", "String", "s"));
    EXPECT_FALSE(SmartPointer<IQualifiedName>() == SmartPointer<IQualifiedName>());
}

TEST(QualifiedName, MatchTakesOwnFieldsAsTextAndTheOthersAsPatterns)
{
    const auto color = createQualifiedName("color", "String", "");
    EXPECT_TRUE(color->matches(createQualifiedName("co*", "Str?ng", "")));
    EXPECT_TRUE(color->matches(createQualifiedName("*", "*", "*")));
    EXPECT_FALSE(createQualifiedName("co*", "String", "")->matches(color));
    EXPECT_FALSE(color->matches(createQualifiedName("color", "Integer", "")));
    EXPECT_FALSE(color->matches(createQualifiedName("color", "String", "s")));
    EXPECT_FALSE(color->matches(SmartPointer<IQualifiedName>()));
}
