// Attributes: value list operations, the order (name, count, values by position), the
// match rule, clones sharing the qualified name, and the null qualified name.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include <mox/attr/Attributes.h>

#include "data/attribute/AttrTestSupport.h"

using MOX::ATTR::IAttribute;
using MOX::ATTR::IQualifiedName;
using MOX::Attributes::createAttribute;
using MOX::Attributes::createQualifiedName;
using MOX::RT::SmartPointer;
using attrtest::attr;
using Values = std::vector<std::string>;

namespace {

SmartPointer<IAttribute> cloneOf(const SmartPointer<IAttribute>& a)
{
    return SmartPointer<MOX::Cloneable>(a->clone()).dynamicCast<IAttribute>();
}

} // namespace

TEST(Attribute, FromTextsUsesTheNameAlone)
{
    const SmartPointer<IAttribute> a = createAttribute("color", "ignored");
    EXPECT_EQ(a->getName(), "color");
    EXPECT_EQ(a->getFormat(), "String");
    EXPECT_EQ(a->getQualifiedName()->getScope(), "");
    EXPECT_FALSE(a->hasValues());
    EXPECT_EQ(a->toString(), a->getQualifiedName()->marshal());
    EXPECT_TRUE(attrtest::throwsInvalidArguments([] { createAttribute("", "x"); }, "MOX::Attributes::createAttribute"));
}

TEST(Attribute, ValueListOperations)
{
    const SmartPointer<IAttribute> a = attr("n");
    a->addValue("x");
    a->addValue("");
    a->addValue("x");
    EXPECT_EQ(a->getValues(), (Values{"x", "", "x"}));
    EXPECT_TRUE(a->containsValue(""));
    EXPECT_FALSE(a->containsValue("X"));

    a->removeValue("x"); // only the first
    EXPECT_EQ(a->getValues(), (Values{"", "x"}));
    a->removeValue("absent");
    EXPECT_EQ(a->getValueCount(), 2u);
    EXPECT_EQ(a->getValue(1), "x");
    EXPECT_THROW(a->getValue(2), std::out_of_range);
    EXPECT_EQ(a->getValues(), (Values{"", "x"}));

    Values source{"p", "q"};
    a->setValues(source);
    source.push_back("r"); // a copy was stored
    EXPECT_EQ(a->getValues(), (Values{"p", "q"}));
    Values got = a->getValues();
    got.clear(); // and a copy is handed out
    EXPECT_TRUE(a->hasValues());

    a->removeAllValues();
    EXPECT_FALSE(a->hasValues());
    EXPECT_THROW(a->getValue(0), std::out_of_range);
}

TEST(Attribute, OrderIsNameThenCountThenValuesByPosition)
{
    const auto xy = attr("n", {"x", "y"});
    const auto yx = attr("n", {"y", "x"});
    EXPECT_TRUE(xy->lessThan(*yx));
    EXPECT_FALSE(yx->lessThan(*xy));

    // Fewer values first, whatever the texts.
    EXPECT_TRUE(attr("n", {"z"})->lessThan(*attr("n", {"a", "b"})));
    EXPECT_FALSE(attr("n", {"a", "b"})->lessThan(*attr("n", {"z"})));
    // The qualified name decides before the values (format first).
    EXPECT_TRUE(attr("z", {"z", "z"}, "Integer")->lessThan(*attr("a", {"a"})));
    // Equal: same name, same values in the same order.
    EXPECT_FALSE(attr("n", {"a", "b"})->lessThan(*attr("n", {"a", "b"})));
    EXPECT_TRUE(SmartPointer<IAttribute>(attr("n", {"a"})) == attr("n", {"a"}));

    // A null or shared qualified name orders neither way: the values decide.
    const auto nullA = createAttribute(SmartPointer<IQualifiedName>());
    const auto nullB = createAttribute(SmartPointer<IQualifiedName>());
    nullA->addValue("a");
    nullB->addValue("b");
    EXPECT_TRUE(nullA->lessThan(*nullB));
    EXPECT_FALSE(nullB->lessThan(*nullA));
    const auto shared = createAttribute(xy->getQualifiedName());
    EXPECT_TRUE(shared->lessThan(*xy)); // no values first
}

TEST(Attribute, MatchNeedsMatchingNamesAndEveryWantedValue)
{
    const auto pqr = attr("n", {"p", "q", "r"});
    EXPECT_TRUE(pqr->matches(attr("n", {"r", "p"})));
    EXPECT_FALSE(pqr->matches(attr("n", {"p", "s"})));
    EXPECT_TRUE(pqr->matches(attr("n")));
    EXPECT_TRUE(pqr->matches(SmartPointer<IAttribute>()));
    EXPECT_TRUE(pqr->matches(attr("?", {"q"})));  // the other's name is a pattern
    EXPECT_FALSE(pqr->matches(attr("m", {"q"})));
    EXPECT_FALSE(pqr->matches(attr("n", {}, "Integer")));
    EXPECT_FALSE(attr("n", {"p"})->matches(pqr)); // this side must hold the values

    const auto nameless = createAttribute(SmartPointer<IQualifiedName>());
    EXPECT_FALSE(nameless->matches(pqr));
    EXPECT_TRUE(nameless->matches(SmartPointer<IAttribute>()));
}

TEST(Attribute, ClonesShareTheNameButNotTheValues)
{
    const auto original = attr("n", {"a", "b"}, "Integer", "s");
    const auto copy = cloneOf(original);
    ASSERT_FALSE(copy.isNull());
    EXPECT_FALSE(copy.sharesWith(original));
    EXPECT_TRUE(copy->getQualifiedName().sharesWith(original->getQualifiedName()));
    EXPECT_TRUE(copy == original);

    copy->addValue("c");
    copy->removeValue("a");
    EXPECT_EQ(original->getValues(), (Values{"a", "b"}));

    // The shared name changes for both.
    original->getQualifiedName()->unmarshal("<attribute-id name=\"m\"/>");
    EXPECT_EQ(copy->getName(), "m");
    EXPECT_EQ(copy->getFormat(), "String");
}

TEST(Attribute, NameOperationsOfANamelessAttributeThrow)
{
    const auto nameless = createAttribute(SmartPointer<IQualifiedName>());
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { nameless->getName(); }));
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { nameless->getFormat(); }));
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { nameless->toString(); }));
    nameless->addValue("v"); // values still work
    EXPECT_EQ(nameless->getValueCount(), 1u);
}
