// Attributes: value list operations, the order (name, count, values by position), the
// match rule and the null qualified name.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

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
    EXPECT_EQ(a->toString(), a->getQualifiedName()->marshal());
    EXPECT_TRUE(attrtest::throwsInvalidArguments([] { createAttribute("", "x"); }, "MOX::Attributes::createAttribute"));

    EXPECT_FALSE(a->hasValues());
    for (const char* value : {"x", "", "x"})
        a->addValue(value);
    EXPECT_TRUE(a->containsValue(""));
    EXPECT_FALSE(a->containsValue("X"));
    a->removeValue("x"); // only the first
    a->removeValue("absent");
    EXPECT_EQ(a->getValues(), (Values{"", "x"}));
    EXPECT_EQ(a->getValue(1), "x");
    EXPECT_THROW(a->getValue(2), std::out_of_range);

    a->setValues(Values{"p", "q"});
    EXPECT_EQ(a->getValues(), (Values{"p", "q"}));
    a->removeAllValues();
    EXPECT_FALSE(a->hasValues());
    EXPECT_THROW(a->getValue(0), std::out_of_range);
}

TEST(Attribute, OrderIsNameThenCountThenValuesByPosition)
{
    const auto xy = attr("n", {"x", "y"});
    const std::pair<SmartPointer<IAttribute>, SmartPointer<IAttribute>> ordered[] = {
        {xy, attr("n", {"y", "x"})},
        {attr("n", {"z"}), attr("n", {"a", "b"})},            // fewer values first, whatever the texts
        {attr("z", {"z", "z"}, "Integer"), attr("a", {"a"})}, // the qualified name first (format first)
        {createAttribute(xy->getQualifiedName()), xy}};        // a shared name orders neither way
    for (const auto& [a, b] : ordered) {
        EXPECT_TRUE(a->lessThan(*b)) << a->getName() << " < " << b->getName();
        EXPECT_FALSE(b->lessThan(*a)) << b->getName() << " < " << a->getName();
    }
    EXPECT_FALSE(attr("n", {"a", "b"})->lessThan(*attr("n", {"a", "b"})));
    EXPECT_TRUE(SmartPointer<IAttribute>(attr("n", {"a"})) == attr("n", {"a"}));
    // Null qualified names order neither way: the values decide.
    const auto nullA = createAttribute(SmartPointer<IQualifiedName>());
    const auto nullB = createAttribute(SmartPointer<IQualifiedName>());
    nullA->addValue("a");
    nullB->addValue("b");
    EXPECT_TRUE(nullA->lessThan(*nullB));
    EXPECT_FALSE(nullB->lessThan(*nullA));
}

TEST(Attribute, MatchNeedsMatchingNamesAndEveryWantedValue)
{
    const auto pqr = attr("n", {"p", "q", "r"});
    EXPECT_TRUE(pqr->matches(attr("n", {"r", "p"})));
    EXPECT_FALSE(pqr->matches(attr("n", {"p", "s"})));
    EXPECT_TRUE(pqr->matches(attr("n")));
    EXPECT_TRUE(pqr->matches(SmartPointer<IAttribute>()));
    EXPECT_TRUE(pqr->matches(attr("?", {"q"}))); // the other's name is a pattern
    EXPECT_FALSE(pqr->matches(attr("m", {"q"})));
    EXPECT_FALSE(pqr->matches(attr("n", {}, "Integer")));
    EXPECT_FALSE(attr("n", {"p"})->matches(pqr)); // this side must hold the values

    const auto nameless = createAttribute(SmartPointer<IQualifiedName>());
    EXPECT_FALSE(nameless->matches(pqr));
    EXPECT_TRUE(nameless->matches(SmartPointer<IAttribute>()));
    // Name operations of a nameless attribute meet the null check; its values still work.
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { nameless->getName(); }));
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { nameless->getFormat(); }));
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { nameless->toString(); }));
    nameless->addValue("v");
    EXPECT_EQ(nameless->getValueCount(), 1u);
}
