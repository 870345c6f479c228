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
namespace A = MOX::Attributes;

TEST(AttributeList, FindByNameTakesTheFirstAndByQualifiedNameTellsFormatsApart)
{
    const auto asText = attr("n", {"1"});
    const auto asInt = attr("n", {"2"}, "Integer");
    const AttributeList list{asText, asInt, attr("m")};
    EXPECT_TRUE(A::findAttribute("n", list).sharesWith(asText));
    EXPECT_TRUE(A::findAttribute("x", list).isNull());
    EXPECT_TRUE(A::findAttribute(createQualifiedName("n", "Integer", ""), list).sharesWith(asInt));
    EXPECT_TRUE(A::findAttribute(createQualifiedName("n", "Integer", "s"), list).isNull());
    EXPECT_TRUE(A::containsAttribute("m", list));
    EXPECT_FALSE(A::containsAttribute(createQualifiedName("m", "Double", ""), list));

    // Empty names are refused before any search; a null element is met by the search.
    EXPECT_TRUE(attrtest::throwsInvalidArguments([] { A::findAttribute("", A::Empty()); },
                                                 "MOX::Attributes::findAttribute"));
    EXPECT_TRUE(attrtest::throwsInvalidArguments([] { A::containsAttribute("", A::Empty()); },
                                                 "MOX::Attributes::containsAttribute"));
    const AttributeList broken{SmartPointer<IAttribute>(), asText};
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { A::findAttribute("n", broken); }));
}

TEST(AttributeList, EqualityIgnoresAttributeOrderButNotValueOrderAndMatchSkipsWhatTheListLacks)
{
    const AttributeList first{attr("a", {"1", "2"}), attr("b"), attr("c", {""}, "Integer")};
    EXPECT_TRUE(A::equals(first, AttributeList{attr("c", {""}, "Integer"), attr("a", {"1", "2"}), attr("b")}));
    for (const AttributeList& other : {AttributeList{attr("a", {"2", "1"}), attr("b"), attr("c", {""}, "Integer")},
                                       AttributeList{attr("a", {"1", "2"}), attr("b")},
                                       AttributeList{attr("a", {"1", "2"}), attr("b"), attr("c", {""})}})
        EXPECT_FALSE(A::equals(first, other) || A::equals(other, first));
    // Each attribute of the first list is looked up on its own: two of one name with other
    // values both find the first, so such a list is not equal even to itself.
    const AttributeList twoOfOneName{attr("n", {"1"}), attr("n", {"2"})};
    EXPECT_FALSE(A::equals(twoOfOneName, twoOfOneName));

    const AttributeList list{attr("color", {"red", "blue"}), attr("size", {"9"}, "Integer")};
    const std::pair<AttributeList, bool> wanted[] = {
        {A::Empty(), true}, {{attr("color", {"blue"})}, true},
        {{attr("shape", {"round"})}, true}, // not in the list
        {{attr("size", {"10"})}, true},     // other format: skipped
        {{attr("color", {"green"})}, false}, {{attr("shape"), attr("size", {"10"}, "Integer")}, false}};
    for (const auto& [other, expected] : wanted)
        EXPECT_EQ(A::matches(list, other), expected) << &other - &wanted[0].first;
}

TEST(AttributeList, CloneCopiesValuesAndSharesNames)
{
    const AttributeList list{attr("a", {"1"}), attr("b", {"2", "3"})};
    const AttributeList copies = A::clone(list);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_TRUE(A::equals(copies, list));
    for (std::size_t i = 0; i < list.size(); ++i) // same order, new attributes, shared names
        EXPECT_TRUE(!copies[i].sharesWith(list[i]) && copies[i]->getQualifiedName().sharesWith(list[i]->getQualifiedName()))
            << i;

    const AttributeList odd{SmartPointer<IAttribute>(new attrtest::ForeignAttribute("odd", {}))};
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::ClassCastException>([&] { A::clone(odd); }, -1005));
    EXPECT_TRUE(attrtest::throwsNullPointer([] { A::clone(AttributeList{SmartPointer<IAttribute>()}); }));
}
