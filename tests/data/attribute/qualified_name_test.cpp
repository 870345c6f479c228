// Qualified names: the factory's checks and default format, the "attribute-id" form in
// both directions, the order (format first) and the glob match.
#include <gtest/gtest.h>

#include <mox/attr/Attributes.h>

#include "data/attribute/AttrTestSupport.h"

using MOX::ATTR::IQualifiedName;
using MOX::Attributes::createQualifiedName;
using MOX::Attributes::parseQualifiedName;
using MOX::RT::SmartPointer;

namespace {
std::string fields(const SmartPointer<IQualifiedName>& q) { return q->getName() + "|" + q->getFormat() + "|" + q->getScope(); }
} // namespace

TEST(QualifiedName, TextFormRoundTripsAndReadsWithoutChecks)
{
    EXPECT_TRUE(attrtest::throwsInvalidArguments([] { createQualifiedName("", "Integer", "s"); },
                                                 "MOX::Attributes::createQualifiedName"));
    EXPECT_TRUE(attrtest::throwsInvalidArguments([] { parseQualifiedName(""); }, "MOX::Attributes::parseQualifiedName"));
    // "String" and an empty scope are not written, the rest in the order name, format, scope.
    const std::pair<SmartPointer<IQualifiedName>, std::string> written[] = {
        {createQualifiedName("n", "", ""), "<attribute-id name=\"n\"/>"},
        {createQualifiedName("n", "String", "s"), "<attribute-id name=\"n\" scope=\"s\"/>"},
        {createQualifiedName("size", "Integer", "s"), "<attribute-id name=\"size\" format=\"Integer\" scope=\"s\"/>"},
        {createQualifiedName("a<b>&\"c'", "T\xC3\xBCp", "\xE6\x97\xA5 s"), ""}};
    for (const auto& [name, xml] : written) {
        if (!xml.empty())
            EXPECT_EQ(name->toString(), xml);
        const SmartPointer<IQualifiedName> back = parseQualifiedName(name->marshal());
        EXPECT_EQ(fields(back), fields(name)) << name->marshal();
        EXPECT_FALSE(back->lessThan(*name) || name->lessThan(*back)) << name->marshal();
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
    for (const auto& [a, b] : ordered)
        EXPECT_TRUE(a->lessThan(*b) && !b->lessThan(*a)) << fields(a) << " < " << fields(b);
    // Equality of smart pointers follows the order; null equals nothing.
    EXPECT_TRUE(createQualifiedName("a", "", "s") == createQualifiedName("a", "String", "s"));
    EXPECT_FALSE(SmartPointer<IQualifiedName>() == SmartPointer<IQualifiedName>());

    const auto color = createQualifiedName("color", "String", "");
    const std::pair<SmartPointer<IQualifiedName>, bool> patterns[] = {
        {createQualifiedName("co*", "Str?ng", ""), true}, {createQualifiedName("*", "*", "*"), true},
        {createQualifiedName("color", "Integer", ""), false}, {createQualifiedName("color", "String", "s"), false},
        {SmartPointer<IQualifiedName>(), false}};
    for (const auto& [pattern, expected] : patterns)
        EXPECT_EQ(color->matches(pattern), expected) << (pattern ? fields(pattern) : "null");
    EXPECT_FALSE(createQualifiedName("co*", "String", "")->matches(color));
}
