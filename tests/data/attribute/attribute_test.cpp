// Attributes: value list operations, the order (name, count, values by position), the
// match rule and the null qualified name.
#include <gtest/gtest.h>

#include <stdexcept>

#include <mox/attr/Attributes.h>

#include "data/attribute/AttrTestSupport.h"

using MOX::ATTR::IAttribute;
using MOX::ATTR::IQualifiedName;
using MOX::Attributes::createAttribute;
using MOX::RT::SmartPointer;
using attrtest::attr;
using attrtest::Values;

TEST(Attribute, CreationAndValueListOperations)
{
    const SmartPointer<IAttribute> a = createAttribute("n", "ignored"); // the name alone counts
    EXPECT_EQ(a->getName() + "|" + a->getFormat() + "|" + a->getQualifiedName()->getScope(), "n|String|");
    EXPECT_TRUE(attrtest::throwsInvalidArguments([] { createAttribute("", "x"); }, "MOX::Attributes::createAttribute"));
    for (const char* value : {"x", "", "x"})
        a->addValue(value);
    EXPECT_TRUE(a->containsValue("") && !a->containsValue("X"));
    a->removeValue("x"); // only the first
    a->removeValue("absent");
    EXPECT_EQ(a->getValues(), (Values{"", "x"}));
    EXPECT_EQ(a->getValue(1), "x");
    EXPECT_THROW(a->getValue(2), std::out_of_range);
    a->removeAllValues();
    EXPECT_FALSE(a->hasValues());
}

TEST(Attribute, OrderIsNameThenCountThenValuesByPosition)
{
    const auto xy = attr("n", {"x", "y"});
    const auto nullA = createAttribute(SmartPointer<IQualifiedName>()), nullB = createAttribute(SmartPointer<IQualifiedName>());
    nullA->addValue("a");
    nullB->addValue("b");
    const std::pair<SmartPointer<IAttribute>, SmartPointer<IAttribute>> ordered[] = {
        {xy, attr("n", {"y", "x"})},
        {attr("n", {"z"}), attr("n", {"a", "b"})},            // fewer values first, whatever the texts
        {attr("z", {"z", "z"}, "Integer"), attr("a", {"a"})}, // the qualified name first (format first)
        {createAttribute(xy->getQualifiedName()), xy},        // a shared name orders neither way
        {nullA, nullB}};                                      // null names order neither way either
    for (const auto& [a, b] : ordered)
        EXPECT_TRUE(a->lessThan(*b) && !b->lessThan(*a)) << &a - &ordered[0].first;
    EXPECT_TRUE(SmartPointer<IAttribute>(attr("n", {"a", "b"})) == attr("n", {"a", "b"}));
}

TEST(Attribute, MatchNeedsMatchingNamesAndEveryWantedValue)
{
    const auto pqr = attr("n", {"p", "q", "r"});
    const std::pair<SmartPointer<IAttribute>, bool> wanted[] = {
        {attr("n", {"r", "p"}), true}, {attr("n", {"p", "s"}), false}, {attr("n"), true},
        {SmartPointer<IAttribute>(), true}, {attr("?", {"q"}), true}, // the other's name is a pattern
        {attr("m", {"q"}), false}, {attr("n", {}, "Integer"), false}};
    for (const auto& [other, expected] : wanted)
        EXPECT_EQ(pqr->matches(other), expected) << (other ? other->getName() : "null");
    EXPECT_FALSE(attr("n", {"p"})->matches(pqr)); // this side must hold the values

    const auto nameless = createAttribute(SmartPointer<IQualifiedName>());
    EXPECT_FALSE(nameless->matches(pqr));
    EXPECT_TRUE(nameless->matches(SmartPointer<IAttribute>()));
    // Name operations of a nameless attribute meet the null check.
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { nameless->getName(); }));
}
