// Variants: the six kinds and their texts, kind-strict reading, dispatch of the setters,
// the text-only order and cloning.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include <mox/attr/IVariant.h>
#include <mox/rt/StringUtils.h>

#include "data/attribute/AttrTestSupport.h"
#include "data/attribute/VariantImpl.h"

using MOX::Int64;
using MOX::ATTR::IVariant;
using MOX::ATTR::VariantImpl;
using MOX::ATTR::VariantSet;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::RT::SmartPointer;
using MOX::RT::StringUtils;
using attrtest::throwsMox;

namespace {

// Which of the five readers throw the kind-mismatch error (-1009 from VariantImpl).
std::string mismatchedReaders(const SmartPointer<IVariant>& v)
{
    std::string out;
    auto check = [&out](const char* name, auto read) {
        if (throwsMox<InvalidArgumentException>(read, -1009, (std::string("MOX::ATTR::VariantImpl::as") + name).c_str()))
            out += out.empty() ? name : std::string(",") + name;
    };
    check("Integer", [&] { v->asInteger(); });
    check("Long", [&] { v->asLong(); });
    check("Int64", [&] { v->asInt64(); });
    check("Float", [&] { v->asFloat(); });
    check("Double", [&] { v->asDouble(); });
    return out;
}

// Records every call of the two-text setValue.
class RecordingVariant : public VariantImpl {
public:
    using VariantImpl::setValue;
    void setValue(const std::string& valueText, const std::string& typeName) override
    {
        calls.push_back(typeName + "=" + valueText);
        VariantImpl::setValue(valueText, typeName);
    }
    std::vector<std::string> calls;
};

SmartPointer<IVariant> text(const char* value, const char* tag) { return MOX::createVariant(std::string(value), tag); }

} // namespace

TEST(Variant, EachKindStoresItsTextAndReadsBackOnlyAsItself)
{
    const float f = 0.1f;
    const std::tuple<SmartPointer<IVariant>, std::string, std::string, std::string> rows[] = {
        {MOX::createVariant(42, "t"), "Integer", StringUtils::ToString(42), "Long,Int64,Float,Double"},
        {MOX::createVariant(static_cast<long>(INT_MAX), "t"), "Long", StringUtils::ToString(static_cast<long>(INT_MAX)),
         "Integer,Int64,Float,Double"},
        {MOX::createVariant(static_cast<Int64>(LLONG_MIN), "t"), "Int64", StringUtils::ToString(LLONG_MIN),
         "Integer,Long,Float,Double"},
        // The float text form, not the double one of the widened value.
        {MOX::createVariant(f, "t"), "Float", StringUtils::ToString(f), "Integer,Long,Int64,Double"},
        {MOX::createVariant(-2.5e300, "t"), "Double", StringUtils::ToString(-2.5e300), "Integer,Long,Int64,Float"},
        // A text that looks like a number is still a "String".
        {text("42", "t"), "String", "42", "Integer,Long,Int64,Float,Double"}};
    for (const auto& [v, kind, value, mismatched] : rows) {
        EXPECT_EQ(v->getType(), kind);
        EXPECT_EQ(v->getTag(), "t");
        EXPECT_EQ(v->getValue(), value) << kind;
        EXPECT_EQ(v->toString(), value) << kind; // the value alone, no kind or tag
        EXPECT_EQ(mismatchedReaders(v), mismatched) << kind;
    }
    EXPECT_NE(StringUtils::ToString(f), StringUtils::ToString(static_cast<double>(f)));
    EXPECT_EQ(MOX::createVariant(42, "")->asInteger(), 42);
    EXPECT_EQ(MOX::createVariant(static_cast<long>(INT_MAX), "")->asLong(), INT_MAX);
    EXPECT_EQ(MOX::createVariant(static_cast<Int64>(LLONG_MIN), "")->asInt64(), LLONG_MIN);
    EXPECT_EQ(MOX::createVariant(f, "")->asFloat(), f);
    EXPECT_EQ(MOX::createVariant(-2.5e300, "")->asDouble(), -2.5e300);
}

TEST(Variant, TypedSettersGoThroughTheTwoTextSetterWhichStoresAnything)
{
    RecordingVariant v;
    v.setValue(7);
    v.setValue(8L);
    v.setValue(static_cast<Int64>(9));
    v.setValue(1.5f);
    v.setValue(2.5);
    EXPECT_EQ(v.calls, (std::vector<std::string>{"Integer=7", "Long=8", "Int64=9", "Float=" + StringUtils::ToString(1.5f),
                                                 "Double=" + StringUtils::ToString(2.5)}));
    EXPECT_EQ(v.asDouble(), 2.5);

    v.setValue("abc", "Integer");
    EXPECT_TRUE(v.isType("Integer"));
    EXPECT_FALSE(v.isType("integer"));
    // The kind check passes, so the runtime's reader raises its own error.
    EXPECT_TRUE(throwsMox<InvalidArgumentException>([&] { v.asInteger(); }, -1009, "MOX::RT::StringUtils::AsInteger"));
    v.setValue("true", "Boolean");
    EXPECT_EQ(v.getType() + "=" + v.getValue(), "Boolean=true");
    const SmartPointer<IVariant> copy(v.clone()); // a new object of the same kind and text
    EXPECT_FALSE(copy.get() == static_cast<IVariant*>(&v));
    EXPECT_EQ(copy->getType() + "=" + copy->getValue(), "Boolean=true");
    EXPECT_EQ(mismatchedReaders(copy), "Integer,Long,Int64,Float,Double");
}

TEST(Variant, OrderIsTagThenKindThenTextNeverNumeric)
{
    const std::pair<SmartPointer<IVariant>, SmartPointer<IVariant>> ordered[] = {
        {text("z", "a"), MOX::createVariant(1, "b")},                  // tag first, whatever kinds and values
        {MOX::createVariant(10, "t"), MOX::createVariant(9, "t")},     // the texts, byte-wise
        {MOX::createVariant(100.0, "t"), MOX::createVariant(1, "t")}}; // kind names: "Double" < "Integer"
    for (const auto& [a, b] : ordered) {
        EXPECT_TRUE(a->lessThan(*b)) << a->getValue() << " < " << b->getValue();
        EXPECT_FALSE(b->lessThan(*a)) << b->getValue() << " < " << a->getValue();
    }
    VariantSet set{MOX::createVariant(5, "t"), MOX::createVariant(5, "t"), MOX::createVariant(5L, "t"), text("5", "t")};
    std::vector<std::string> kinds;
    for (const auto& v : set)
        kinds.push_back(v->getType());
    EXPECT_EQ(kinds, (std::vector<std::string>{"Integer", "Long", "String"})); // equal ones kept once
}

TEST(Variant, CloneVariantsMakesNewEqualObjects)
{
    const VariantSet source{text("b", "x"), MOX::createVariant(2, "a")};
    VariantSet target{text("old", "z")};
    MOX::cloneVariants(source, target);
    ASSERT_EQ(target.size(), source.size());
    for (auto s = source.begin(), t = target.begin(); t != target.end(); ++t, ++s) {
        EXPECT_FALSE(t->sharesWith(*s));
        EXPECT_EQ((*t)->getTag() + (*t)->getType() + (*t)->getValue(), (*s)->getTag() + (*s)->getType() + (*s)->getValue());
    }
    MOX::cloneVariants(target, target); // into itself: the values stay
    EXPECT_EQ(target.size(), 2u);
    EXPECT_EQ((*target.begin())->getTag(), "a");
    // A null element: the target is emptied and the null check throws.
    const VariantSet withNull{SmartPointer<IVariant>()};
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { MOX::cloneVariants(withNull, target); }));
    EXPECT_TRUE(target.empty());
}
