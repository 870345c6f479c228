// SPDX-License-Identifier: MIT
// Variants, qualified names, attributes and attribute lists: kinds and texts, the
// attribute-id form, the orders, the glob matches, search, equality and cloning.
#include <algorithm>
#include <climits>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <mox/attr/Attributes.h>
#include <mox/attr/IVariant.h>
#include <mox/rt/StringUtils.h>

#include "data/attribute/AttrTestSupport.h"
#include "data/attribute/VariantImpl.h"

using MOX::ATTR::IAttribute;
using MOX::ATTR::IQualifiedName;
using MOX::ATTR::IVariant;
using MOX::ATTR::VariantImpl;
using MOX::ATTR::VariantSet;
using MOX::Attributes::AttributeList;
using MOX::Attributes::createAttribute;
using MOX::Attributes::createQualifiedName;
using MOX::Attributes::parseQualifiedName;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::Int64;
using MOX::RT::SmartPointer;
using MOX::RT::StringUtils;
using attrtest::Values;
using attrtest::attr;
namespace A = MOX::Attributes;

namespace {

// Which of the five readers throw the kind-mismatch error (-1009 from VariantImpl).
std::string mismatchedReaders(const SmartPointer<IVariant>& v)
{
    const std::pair<const char*, std::function<void()>> readers[] = {
        {"Integer", [&] { v->asInteger(); }}, {"Long", [&] { v->asLong(); }}, {"Int64", [&] { v->asInt64(); }},
        {"Float", [&] { v->asFloat(); }},     {"Double", [&] { v->asDouble(); }}};
    std::string out;
    for (const auto& [name, read] : readers)
        if (moxtest::throwsMox<InvalidArgumentException>(read, -1009, (std::string("MOX::ATTR::VariantImpl::as") + name).c_str()))
            out += out.empty() ? name : std::string(",") + name;
    return out;
}

SmartPointer<IVariant> text(const char* value, const char* tag) { return MOX::createVariant(std::string(value), tag); }

std::string fields(const SmartPointer<IQualifiedName>& q) { return q->getName() + "|" + q->getFormat() + "|" + q->getScope(); }

} // namespace

TEST(Variant, EachKindStoresItsTextAndReadsBackOnlyAsItself)
{
    const float f = 0.1f;
    const long wide = static_cast<long>(std::min<long long>(INT_MAX + 1LL, LONG_MAX));
    const std::tuple<SmartPointer<IVariant>, std::string, std::string, std::string> rows[] = {
        {MOX::createVariant(42, "t"), "Integer", "42", "Long,Int64,Float,Double"},
        {MOX::createVariant(static_cast<long>(INT_MAX), "t"), "Long", StringUtils::ToString(static_cast<long>(INT_MAX)),
         "Integer,Int64,Float,Double"},
        // A long wider than 32 bits (LP64) is an "Int64".
        {MOX::createVariant(wide, "t"), wide > INT_MAX ? "Int64" : "Long", StringUtils::ToString(wide),
         wide > INT_MAX ? "Integer,Long,Float,Double" : "Integer,Int64,Float,Double"},
        {MOX::createVariant(static_cast<Int64>(LLONG_MIN), "t"), "Int64", StringUtils::ToString(LLONG_MIN),
         "Integer,Long,Float,Double"},
        // The float text form, not the double one of the widened value.
        {MOX::createVariant(f, "t"), "Float", "0.1", "Integer,Long,Int64,Double"},
        {MOX::createVariant(-2.5e300, "t"), "Double", StringUtils::ToString(-2.5e300), "Integer,Long,Int64,Float"},
        // A text that looks like a number is still a "String".
        {text("42", "t"), "String", "42", "Integer,Long,Int64,Float,Double"}};
    for (const auto& [v, kind, value, mismatched] : rows) {
        EXPECT_EQ(v->getType() + "|" + v->getTag() + "|" + v->getValue() + "|" + v->toString(),
                  kind + "|t|" + value + "|" + value);
        EXPECT_EQ(mismatchedReaders(v), mismatched) << kind;
    }
    EXPECT_EQ(MOX::createVariant(static_cast<Int64>(LLONG_MIN), "")->asInt64(), LLONG_MIN);
    EXPECT_EQ(MOX::createVariant(f, "")->asFloat(), f);
}

TEST(AttributeModel, EveryFailurePath)
{
    const AttributeList foreign{SmartPointer<IAttribute>(new attrtest::ForeignAttribute("odd", {}))};
    const auto nameless = createAttribute(SmartPointer<IQualifiedName>());
    VariantSet target{text("old", "z")};
    const struct { std::function<void()> call; int code; const char* function; } rows[] = {
        {[] { createQualifiedName("", "Integer", "s"); }, -1006, "MOX::Attributes::createQualifiedName"},
        {[] { parseQualifiedName(""); }, -1006, "MOX::Attributes::parseQualifiedName"},
        {[] { createAttribute("", "x"); }, -1006, "MOX::Attributes::createAttribute"},
        {[] { A::findAttribute("", A::Empty()); }, -1006, "MOX::Attributes::findAttribute"},
        {[&] { A::clone(foreign); }, -1005, nullptr},
        {[] { A::findAttribute("n", AttributeList{SmartPointer<IAttribute>(), attr("n")}); }, -1004, nullptr},
        {[&] { nameless->getName(); }, -1004, nullptr},
        {[&] { MOX::cloneVariants(VariantSet{SmartPointer<IVariant>()}, target); }, -1004, nullptr},
        // A text of the right kind that does not read: the runtime reader's own error.
        {[] {
             VariantImpl v;
             v.setValue("abc", "Integer");
             v.asInteger();
         },
         -1009, "MOX::RT::StringUtils::AsInteger"}};
    for (const auto& row : rows)
        EXPECT_TRUE(moxtest::throwsMox(row.call, row.code, row.function)) << &row - rows;
    EXPECT_TRUE(target.empty()); // emptied before the null element was met
}

TEST(Variant, CloneVariantsMakesNewEqualObjectsInTagKindTextOrder)
{
    // Equal tag and text but another kind is another value; the set is ordered tag first,
    // then by kind name byte-wise.
    const VariantSet source{text("b", "a"), MOX::createVariant(5, "t"), MOX::createVariant(5, "t"),
                            MOX::createVariant(5L, "t")};
    VariantSet target{text("old", "z")};
    MOX::cloneVariants(source, target);
    std::string order; // equal ones kept once, the old one gone, each a new object
    for (const SmartPointer<IVariant>& t : target)
        order += t->getType() + (source.count(t) == 1 && !source.find(t)->sharesWith(t) ? " " : "(same) ");
    EXPECT_EQ(order, "String Integer Long ");
}

TEST(QualifiedName, TextFormRoundTrips)
{
    // "String" and an empty scope are not written, the rest in the order name, format, scope.
    const std::pair<SmartPointer<IQualifiedName>, std::string> written[] = {
        {createQualifiedName("n", "String", "s"), "<attribute-id name=\"n\" scope=\"s\"/>"},
        {createQualifiedName("size", "Integer", "s"), "<attribute-id name=\"size\" format=\"Integer\" scope=\"s\"/>"}};
    for (const auto& [name, xml] : written) {
        EXPECT_EQ(name->toString(), xml);
        EXPECT_EQ(fields(parseQualifiedName(name->marshal())), fields(name)) << name->marshal();
    }
}

TEST(QualifiedName, ReadingOverwritesEveryFieldWithoutChecks)
{
    // A present empty format stays empty (the default is the factory's), an absent one is "String".
    SmartPointer<IQualifiedName> name = createQualifiedName("n", "Integer", "s");
    name->unmarshal("<attribute-id name=\"m\" format=\"\"/>");
    EXPECT_EQ(fields(name), "m||");
    name->unmarshal("<other><attribute-id scope=\"x\"/></other>");
    EXPECT_EQ(fields(name), "|String|x");
    // A name made with a kind's format and no scope gains texts of its own, and loses them.
    name = createQualifiedName("n", "Double", "");
    name->unmarshal("<attribute-id name=\"m\" format=\"Custom\" scope=\"y\"/>");
    EXPECT_EQ(fields(name), "m|Custom|y");
    name->unmarshal("<attribute-id name=\"k\" format=\"Long\"/>");
    EXPECT_EQ(fields(name), "k|Long|");
}

TEST(QualifiedName, EqualityFillsTheDefaultFormat)
{
    EXPECT_TRUE(createQualifiedName("a", "", "s") == createQualifiedName("a", "String", "s"));
}

TEST(QualifiedName, MatchTakesTheOtherAsPatterns)
{
    const auto color = createQualifiedName("color", "String", "");
    EXPECT_TRUE(color->matches(createQualifiedName("co*", "Str?ng", "")));
    EXPECT_FALSE(color->matches(createQualifiedName("color", "String", "s")));
    EXPECT_FALSE(color->matches(SmartPointer<IQualifiedName>()));
    EXPECT_FALSE(createQualifiedName("co*", "String", "")->matches(color));
}

TEST(Attribute, RemovingAValueRemovesItsFirstCopyOnly)
{
    const SmartPointer<IAttribute> a = createAttribute("n", "ignored"); // the name alone counts
    for (const char* value : {"x", "", "x"})
        a->addValue(value);
    a->removeValue("x"); // only the first
    EXPECT_EQ(a->getValues(), (Values{"", "x"}));
    EXPECT_THROW(a->getValue(2), std::out_of_range);
}

TEST(Attribute, OrderIsByQualifiedNameThenValueCountThenValues)
{
    const auto xy = attr("n", {"x", "y"});
    const std::pair<SmartPointer<IAttribute>, SmartPointer<IAttribute>> ordered[] = {
        {xy, attr("n", {"y", "x"})},
        {attr("n", {"z"}), attr("n", {"a", "b"})},            // fewer values first, whatever the texts
        {attr("z", {"z", "z"}, "Integer"), attr("a", {"a"})}, // the qualified name first (format first)
        {createAttribute(xy->getQualifiedName()), xy}};       // a shared name orders neither way
    for (const auto& [a, b] : ordered) {
        EXPECT_TRUE(a->lessThan(*b)) << &a - &ordered[0].first;
        EXPECT_FALSE(b->lessThan(*a)) << &a - &ordered[0].first;
    }
}

TEST(Attribute, MatchTakesTheOtherAsPatterns)
{
    const auto pqr = attr("n", {"p", "q", "r"});
    const std::pair<SmartPointer<IAttribute>, bool> wanted[] = {
        {attr("n", {"r", "p"}), true}, {attr("n", {"p", "s"}), false}, {SmartPointer<IAttribute>(), true},
        {attr("?", {"q"}), true}, {attr("n", {}, "Integer"), false}}; // the other's name is a pattern
    for (const auto& [other, expected] : wanted)
        EXPECT_EQ(pqr->matches(other), expected) << (other ? other->getName() : "null");
    EXPECT_FALSE(attr("n", {"p"})->matches(pqr)); // this side must hold the values
}

TEST(AttributeList, FindTakesTheFirstOfTheName)
{
    const auto asText = attr("n", {"1"}), asInt = attr("n", {"2"}, "Integer");
    const AttributeList list{asText, asInt, attr("m")};
    EXPECT_TRUE(A::findAttribute("n", list).sharesWith(asText)); // by name: the first
    EXPECT_TRUE(A::findAttribute(createQualifiedName("n", "Integer", ""), list).sharesWith(asInt));
}

TEST(AttributeList, EqualityIgnoresAttributeOrderButNotValueOrder)
{
    const AttributeList first{attr("a", {"1", "2"}), attr("c", {""}, "Integer")};
    EXPECT_TRUE(A::equals(first, AttributeList{attr("c", {""}, "Integer"), attr("a", {"1", "2"})}));
    EXPECT_FALSE(A::equals(first, AttributeList{attr("a", {"2", "1"}), attr("c", {""}, "Integer")}));
    EXPECT_FALSE(A::equals(first, AttributeList{attr("a", {"1", "2"}), attr("c", {""})}));
    EXPECT_TRUE(A::equals(A::clone(first), first)); // clones of single attributes: the documents' change test
}
