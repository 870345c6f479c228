// Variants, qualified names, attributes and attribute lists: kinds and texts, the
// attribute-id form, the orders, the glob matches, search, equality and cloning.
#include <climits>
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
    std::string out;
    auto check = [&out](const char* name, auto read) {
        if (moxtest::throwsMox<InvalidArgumentException>(read, -1009,
                                                         (std::string("MOX::ATTR::VariantImpl::as") + name).c_str()))
            out += out.empty() ? name : std::string(",") + name;
    };
    check("Integer", [&] { v->asInteger(); });
    check("Long", [&] { v->asLong(); });
    check("Int64", [&] { v->asInt64(); });
    check("Float", [&] { v->asFloat(); });
    check("Double", [&] { v->asDouble(); });
    return out;
}

SmartPointer<IVariant> text(const char* value, const char* tag) { return MOX::createVariant(std::string(value), tag); }

std::string fields(const SmartPointer<IQualifiedName>& q) { return q->getName() + "|" + q->getFormat() + "|" + q->getScope(); }

} // namespace

TEST(Variant, EachKindStoresItsTextAndReadsBackOnlyAsItself)
{
    const float f = 0.1f;
    const std::tuple<SmartPointer<IVariant>, std::string, std::string, std::string> rows[] = {
        {MOX::createVariant(42, "t"), "Integer", "42", "Long,Int64,Float,Double"},
        {MOX::createVariant(static_cast<long>(LONG_MAX), "t"), "Long", StringUtils::ToString(LONG_MAX),
         "Integer,Int64,Float,Double"},
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

TEST(Variant, TypedSettersSetKindAndTextAndTheTwoTextSetterStoresAnything)
{
    VariantImpl v;
    v.setValue(1.5f);
    EXPECT_EQ(v.getType() + "=" + v.getValue(), "Float=1.5");
    v.setValue("abc", "Integer");
    // The kind check passes, so the runtime's reader raises its own error.
    EXPECT_TRUE(moxtest::throwsMox<InvalidArgumentException>([&] { v.asInteger(); }, -1009,
                                                              "MOX::RT::StringUtils::AsInteger"));
}

TEST(Variant, OrderIsTagThenKindThenTextAndCloneVariantsMakesNewEqualObjects)
{
    const std::pair<SmartPointer<IVariant>, SmartPointer<IVariant>> ordered[] = {
        {text("z", "a"), MOX::createVariant(1, "b")},                  // tag first, whatever kinds and values
        {MOX::createVariant(10, "t"), MOX::createVariant(9, "t")},     // the texts, byte-wise
        {MOX::createVariant(100.0, "t"), MOX::createVariant(1, "t")}}; // kind names: "Double" < "Integer"
    for (const auto& [a, b] : ordered)
        EXPECT_TRUE(a->lessThan(*b) && !b->lessThan(*a)) << a->getValue() << " < " << b->getValue();

    const VariantSet source{text("b", "x"), MOX::createVariant(5, "t"), MOX::createVariant(5, "t"),
                            MOX::createVariant(5L, "t")};
    ASSERT_EQ(source.size(), 3u); // equal ones kept once
    VariantSet target{text("old", "z")};
    MOX::cloneVariants(source, target);
    ASSERT_EQ(target.size(), source.size());
    for (auto s = source.begin(), t = target.begin(); t != target.end(); ++t, ++s)
        EXPECT_TRUE(!t->sharesWith(*s) && !(*t)->lessThan(**s) && !(*s)->lessThan(**t)) << (*s)->getValue();
    MOX::cloneVariants(target, target); // into itself: the values stay
    EXPECT_EQ(target.size(), 3u);
    // A null element: the target is emptied and the null check throws.
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { MOX::cloneVariants(VariantSet{SmartPointer<IVariant>()}, target); }));
    EXPECT_TRUE(target.empty());
}

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
