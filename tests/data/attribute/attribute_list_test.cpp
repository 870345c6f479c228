// Attribute lists: search by name and by qualified name, equality that ignores attribute
// order but not value order, matching that skips what the list lacks, and cloning.
#include <gtest/gtest.h>

#include <mox/attr/Attributes.h>

#include "data/attribute/AttrTestSupport.h"

using MOX::ATTR::IAttribute;
using MOX::ATTR::IQualifiedName;
using MOX::Attributes::AttributeList;
using MOX::Attributes::createQualifiedName;
using MOX::RT::SmartPointer;
using attrtest::attr;
using attrtest::throwsInvalidArguments;
namespace A = MOX::Attributes;

TEST(AttributeList, FindByNameTakesTheFirstAndByQualifiedNameTellsFormatsApart)
{
    const auto asText = attr("n", {"1"});
    const auto asInt = attr("n", {"2"}, "Integer");
    const AttributeList list{asText, asInt, attr("m")};

    EXPECT_TRUE(A::findAttribute("n", list).sharesWith(asText));
    EXPECT_TRUE(A::findAttribute("x", list).isNull());
    EXPECT_TRUE(A::findAttribute(createQualifiedName("n", "Integer", ""), list).sharesWith(asInt));
    EXPECT_TRUE(A::findAttribute(asInt->getQualifiedName(), list).sharesWith(asInt));
    EXPECT_TRUE(A::findAttribute(createQualifiedName("n", "Integer", "s"), list).isNull());
    EXPECT_TRUE(A::findAttribute(SmartPointer<IQualifiedName>(), list).isNull());
    EXPECT_TRUE(A::containsAttribute("m", list));
    EXPECT_FALSE(A::containsAttribute(createQualifiedName("m", "Double", ""), list) ||
                 A::containsAttribute(SmartPointer<IQualifiedName>(), list));

    // Empty names are refused before any search, also on an empty list.
    EXPECT_TRUE(throwsInvalidArguments([] { A::findAttribute("", A::Empty()); }, "MOX::Attributes::findAttribute"));
    EXPECT_TRUE(throwsInvalidArguments([] { A::containsAttribute("", A::Empty()); },
                                       "MOX::Attributes::containsAttribute"));

    // A null element is met by the search.
    const AttributeList broken{SmartPointer<IAttribute>(), asText};
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { A::findAttribute("n", broken); }));
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { A::findAttribute(asText->getQualifiedName(), broken); }));
}

TEST(AttributeList, EqualityIgnoresAttributeOrderButNotValueOrder)
{
    const AttributeList first{attr("a", {"1", "2"}), attr("b"), attr("c", {""}, "Integer")};
    const AttributeList reordered{attr("c", {""}, "Integer"), attr("a", {"1", "2"}), attr("b")};
    EXPECT_TRUE(A::equals(first, reordered) && A::equals(reordered, first));

    for (const AttributeList& other : {AttributeList{attr("a", {"2", "1"}), attr("b"), attr("c", {""}, "Integer")},
                                       AttributeList{attr("a", {"1", "2"}), attr("b")},
                                       AttributeList{attr("a", {"1", "2"}), attr("b"), attr("c", {""})}})
        EXPECT_FALSE(A::equals(first, other) || A::equals(other, first));
    EXPECT_TRUE(A::equals(A::Empty(), AttributeList{}));

    // Each attribute of the first list is looked up on its own: duplicates in the first
    // list all find the same partner.
    const auto x = attr("x", {"v"});
    EXPECT_TRUE(A::equals(AttributeList{x, attr("x", {"v"})}, AttributeList{x, attr("y")}));
    EXPECT_FALSE(A::equals(AttributeList{x, attr("y")}, AttributeList{x, attr("x", {"v"})}));
    // Two attributes of one name with other values both find the first: such a list is
    // not equal even to itself, while a list of distinct objects is.
    const AttributeList twoOfOneName{attr("n", {"1"}), attr("n", {"2"})};
    EXPECT_FALSE(A::equals(twoOfOneName, twoOfOneName));
    EXPECT_TRUE(A::equals(first, first));
}

TEST(AttributeList, MatchSkipsWhatTheListLacks)
{
    const AttributeList list{attr("color", {"red", "blue"}), attr("size", {"9"}, "Integer")};
    EXPECT_TRUE(A::matches(list, A::Empty()));
    EXPECT_TRUE(A::matches(list, AttributeList{attr("color", {"blue"})}));
    EXPECT_TRUE(A::matches(list, AttributeList{attr("shape", {"round"})}));             // not in the list
    EXPECT_TRUE(A::matches(list, AttributeList{attr("size", {"10"})}));                 // other format: skipped
    EXPECT_FALSE(A::matches(list, AttributeList{attr("color", {"green"})}));
    EXPECT_FALSE(A::matches(list, AttributeList{attr("shape"), attr("size", {"10"}, "Integer")}));
    EXPECT_TRUE(A::matches(A::Empty(), AttributeList{attr("color", {"x"})}));
}

TEST(AttributeList, CloneCopiesValuesAndSharesNames)
{
    const AttributeList list{attr("a", {"1"}), attr("b", {"2", "3"})};
    const AttributeList copies = A::clone(list);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_TRUE(A::equals(copies, list));
    for (std::size_t i = 0; i < list.size(); ++i) // same order, new attributes, shared names
        EXPECT_TRUE(copies[i]->getName() == list[i]->getName() && !copies[i].sharesWith(list[i]) &&
                    copies[i]->getQualifiedName().sharesWith(list[i]->getQualifiedName())) << i;
    copies[1]->removeAllValues();
    EXPECT_EQ(list[1]->getValueCount(), 2u);
    list[0]->getQualifiedName()->unmarshal("<attribute-id name=\"m\"/>"); // the shared name changes for both
    EXPECT_EQ(copies[0]->getName(), "m");

    const AttributeList odd{SmartPointer<IAttribute>(new attrtest::ForeignAttribute("odd", {}))};
    EXPECT_TRUE(attrtest::throwsMox<MOX::EXCEPTIONS::ClassCastException>([&] { A::clone(odd); }, -1005));
    EXPECT_TRUE(attrtest::throwsNullPointer([] { A::clone(AttributeList{SmartPointer<IAttribute>()}); }));
    EXPECT_TRUE(A::Empty().empty());
}
