// Qualified names: the factory's checks and default format, the "attribute-id" form in
// both directions, the order (format first) and the glob match.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <mox/attr/Attributes.h>
#include <mox/rt/XmlUtils.h>

#include "data/attribute/AttrTestSupport.h"

using MOX::ATTR::IQualifiedName;
using MOX::Attributes::createQualifiedName;
using MOX::Attributes::parseQualifiedName;
using MOX::RT::SmartPointer;
using attrtest::throwsInvalidArguments;

namespace {

std::string fields(const SmartPointer<IQualifiedName>& q)
{
    return q->getName() + "|" + q->getFormat() + "|" + q->getScope();
}

} // namespace

TEST(QualifiedName, FactoryRefusesEmptyNamesAndDefaultsTheFormat)
{
    EXPECT_TRUE(throwsInvalidArguments([] { createQualifiedName("", "Integer", "s"); },
                                       "MOX::Attributes::createQualifiedName"));
    EXPECT_TRUE(throwsInvalidArguments([] { parseQualifiedName(""); }, "MOX::Attributes::parseQualifiedName"));
    EXPECT_EQ(fields(createQualifiedName("n", "", "")), "n|String|");
}

TEST(QualifiedName, TextFormWritesNameFormatScopeAndReadsWithoutChecks)
{
    // "String" and an empty scope are not written, the rest in the order name, format,
    // scope; markup, quotes and non-ASCII survive.
    const std::pair<SmartPointer<IQualifiedName>, std::string> written[] = {
        {createQualifiedName("n", "", ""), "name|"},
        {createQualifiedName("size", "Integer", "s"), "name|format|scope|"},
        {createQualifiedName("n", "String", "s"), "name|scope|"},
        {createQualifiedName("a<b>&\"c'", "T\xC3\xBCp", "\xE6\x97\xA5 s"), "name|format|scope|"}};
    for (const auto& [name, attributes] : written) {
        const std::string xml = name->marshal();
        EXPECT_EQ(MOX::RT::XmlUtils::GetElement("attribute-id", xml), xml);
        std::vector<std::pair<std::size_t, std::string>> found;
        for (const char* a : {"scope=", "format=", "name="})
            if (xml.find(a) != std::string::npos)
                found.emplace_back(xml.find(a), std::string(a, std::strlen(a) - 1) + "|");
        std::sort(found.begin(), found.end());
        std::string order;
        for (const auto& f : found)
            order += f.second;
        EXPECT_EQ(order, attributes) << xml;
        EXPECT_EQ(name->toString(), xml);
        const SmartPointer<IQualifiedName> back = parseQualifiedName(xml);
        EXPECT_EQ(fields(back), fields(name)) << xml;
        EXPECT_FALSE(back->lessThan(*name) || name->lessThan(*back)) << xml;
    }
    // Reading overwrites every field: a present empty format stays empty (the default is
    // the factory's), an absent one is "String"; no element at all gives an empty name.
    SmartPointer<IQualifiedName> name = createQualifiedName("n", "Integer", "s");
    name->unmarshal("<attribute-id name=\"m\" format=\"\"/>");
    EXPECT_EQ(fields(name), "m||");
    name->unmarshal("<other><attribute-id scope=\"x\"/></other>");
    EXPECT_EQ(fields(name), "|String|x");
    EXPECT_EQ(fields(parseQualifiedName("plain text")), "|String|");
}

TEST(QualifiedName, OrderIsFormatThenNameThenScopeAndMatchTakesTheOtherAsPatterns)
{
    const std::pair<SmartPointer<IQualifiedName>, SmartPointer<IQualifiedName>> ordered[] = {
        {createQualifiedName("b", "Integer", ""), createQualifiedName("a", "String", "")},
        {createQualifiedName("a", "", "z"), createQualifiedName("b", "", "a")},
        {createQualifiedName("a", "", ""), createQualifiedName("a", "", "s")}};
    for (const auto& [a, b] : ordered) {
        EXPECT_TRUE(a->lessThan(*b)) << fields(a) << " < " << fields(b);
        EXPECT_FALSE(b->lessThan(*a)) << fields(b) << " < " << fields(a);
    }
    // Equality of smart pointers follows the order; null equals nothing.
    EXPECT_TRUE(createQualifiedName("a", "", "s") == createQualifiedName("a", "String", "s"));
    EXPECT_FALSE(SmartPointer<IQualifiedName>() == SmartPointer<IQualifiedName>());

    const auto color = createQualifiedName("color", "String", "");
    EXPECT_TRUE(color->matches(createQualifiedName("co*", "Str?ng", "")));
    EXPECT_TRUE(color->matches(createQualifiedName("*", "*", "*")));
    EXPECT_FALSE(createQualifiedName("co*", "String", "")->matches(color));
    EXPECT_FALSE(color->matches(createQualifiedName("color", "Integer", "")));
    EXPECT_FALSE(color->matches(createQualifiedName("color", "String", "s")));
    EXPECT_FALSE(color->matches(SmartPointer<IQualifiedName>()));
}
