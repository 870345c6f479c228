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
    auto check = [&out](const char* name, auto read, const char* function) {
        if (throwsMox<InvalidArgumentException>(read, -1009, function))
            out += out.empty() ? name : std::string(",") + name;
    };
    check("Integer", [&] { v->asInteger(); }, "MOX::ATTR::VariantImpl::asInteger");
    check("Long", [&] { v->asLong(); }, "MOX::ATTR::VariantImpl::asLong");
    check("Int64", [&] { v->asInt64(); }, "MOX::ATTR::VariantImpl::asInt64");
    check("Float", [&] { v->asFloat(); }, "MOX::ATTR::VariantImpl::asFloat");
    check("Double", [&] { v->asDouble(); }, "MOX::ATTR::VariantImpl::asDouble");
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

} // namespace

TEST(Variant, EachKindStoresItsTextAndReadsBackOnlyAsItself)
{
    const SmartPointer<IVariant> i = MOX::createVariant(42, "t");
    EXPECT_EQ(i->getType(), "Integer");
    EXPECT_EQ(i->getTag(), "t");
    EXPECT_EQ(i->getValue(), StringUtils::ToString(42));
    EXPECT_EQ(i->asInteger(), 42);
    EXPECT_EQ(mismatchedReaders(i), "Long,Int64,Float,Double");

    const long big = LONG_MAX;
    const SmartPointer<IVariant> l = MOX::createVariant(big, "t");
    EXPECT_EQ(l->getType(), "Long");
    EXPECT_EQ(l->asLong(), LONG_MAX);
    EXPECT_EQ(mismatchedReaders(l), "Integer,Int64,Float,Double");

    const Int64 low = LLONG_MIN;
    const SmartPointer<IVariant> q = MOX::createVariant(low, "t");
    EXPECT_EQ(q->getType(), "Int64");
    EXPECT_EQ(q->asInt64(), LLONG_MIN);
    EXPECT_EQ(mismatchedReaders(q), "Integer,Long,Float,Double");

    // The float text form, not the double one of the widened value.
    const float f = 0.1f;
    const SmartPointer<IVariant> fv = MOX::createVariant(f, "t");
    EXPECT_EQ(fv->getType(), "Float");
    EXPECT_EQ(fv->getValue(), StringUtils::ToString(f));
    EXPECT_NE(fv->getValue(), StringUtils::ToString(static_cast<double>(f)));
    EXPECT_EQ(fv->asFloat(), f);
    EXPECT_EQ(mismatchedReaders(fv), "Integer,Long,Int64,Double");

    const SmartPointer<IVariant> d = MOX::createVariant(-2.5e300, "t");
    EXPECT_EQ(d->getType(), "Double");
    EXPECT_EQ(d->asDouble(), -2.5e300);
    EXPECT_EQ(d->toString(), d->getValue()); // the value alone, no kind or tag
    EXPECT_EQ(mismatchedReaders(d), "Integer,Long,Int64,Float");

    // A text that looks like a number is still a "String".
    const SmartPointer<IVariant> s = MOX::createVariant(std::string("42"), "");
    EXPECT_EQ(s->getType(), "String");
    EXPECT_EQ(s->getTag(), "");
    EXPECT_EQ(mismatchedReaders(s), "Integer,Long,Int64,Float,Double");
}

TEST(Variant, TwoTextSetterStoresAnythingAndReadersPassParseErrorsOn)
{
    const SmartPointer<IVariant> v = MOX::createVariant(1, "t");
    v->setValue("abc", "Integer");
    EXPECT_TRUE(v->isType("Integer"));
    EXPECT_FALSE(v->isType("integer"));
    // The kind check passes, so the runtime's reader raises its own error.
    EXPECT_TRUE(throwsMox<InvalidArgumentException>([&] { v->asInteger(); }, -1009,
                                                    "MOX::RT::StringUtils::AsInteger"));

    v->setValue("true", "Boolean");
    EXPECT_EQ(v->getType(), "Boolean");
    EXPECT_EQ(v->getValue(), "true");
    EXPECT_EQ(mismatchedReaders(v), "Integer,Long,Int64,Float,Double");
}

TEST(Variant, TypedSettersGoThroughTheTwoTextSetter)
{
    RecordingVariant v;
    v.setValue(7);
    v.setValue(8L);
    v.setValue(static_cast<Int64>(9));
    v.setValue(1.5f);
    v.setValue(2.5);
    const std::vector<std::string> expected = {"Integer=7", "Long=8", "Int64=9", "Float=" + StringUtils::ToString(1.5f),
                                               "Double=" + StringUtils::ToString(2.5)};
    EXPECT_EQ(v.calls, expected);
    EXPECT_EQ(v.asDouble(), 2.5);
}

TEST(Variant, OrderIsTagThenTextNeverNumeric)
{
    auto less = [](const SmartPointer<IVariant>& a, const SmartPointer<IVariant>& b) { return a->lessThan(*b); };
    // Tag first, whatever the kinds and values.
    EXPECT_TRUE(less(MOX::createVariant(std::string("z"), "a"), MOX::createVariant(1, "b")));
    EXPECT_FALSE(less(MOX::createVariant(1, "b"), MOX::createVariant(std::string("z"), "a")));
    // Same tag and kind: the texts, byte-wise.
    EXPECT_TRUE(less(MOX::createVariant(10, "t"), MOX::createVariant(9, "t")));
    EXPECT_TRUE(less(MOX::createVariant(-1, "t"), MOX::createVariant(-2, "t")));
    // Same tag, other kinds: the kind names ("Double" < "Integer"), not the values.
    EXPECT_TRUE(less(MOX::createVariant(100.0, "t"), MOX::createVariant(1, "t")));
    EXPECT_FALSE(less(MOX::createVariant(1, "t"), MOX::createVariant(100.0, "t")));

    VariantSet set;
    set.insert(MOX::createVariant(5, "t"));
    set.insert(MOX::createVariant(5, "t"));  // equal tag, kind and text: kept once
    set.insert(MOX::createVariant(5L, "t")); // "Long" 5 is another member
    set.insert(MOX::createVariant(std::string("5"), "t"));
    ASSERT_EQ(set.size(), 3u);
    std::vector<std::string> kinds;
    for (const auto& v : set)
        kinds.push_back(v->getType());
    EXPECT_EQ(kinds, (std::vector<std::string>{"Integer", "Long", "String"}));
}

TEST(Variant, ClonesAreNewEqualObjects)
{
    const SmartPointer<IVariant> original = MOX::createVariant(3, "t");
    const SmartPointer<IVariant> copy(original->clone());
    EXPECT_FALSE(copy.sharesWith(original));
    EXPECT_TRUE(copy == original);
    copy->setValue(4);
    EXPECT_EQ(original->getValue(), "3");

    VariantSet source;
    source.insert(MOX::createVariant(std::string("b"), "x"));
    source.insert(MOX::createVariant(2, "a"));
    VariantSet target;
    target.insert(MOX::createVariant(std::string("old"), "z"));
    MOX::cloneVariants(source, target);
    ASSERT_EQ(target.size(), source.size());
    auto s = source.begin();
    for (auto t = target.begin(); t != target.end(); ++t, ++s) {
        EXPECT_FALSE(t->sharesWith(*s));
        EXPECT_EQ((*t)->getTag(), (*s)->getTag());
        EXPECT_EQ((*t)->getType(), (*s)->getType());
        EXPECT_EQ((*t)->getValue(), (*s)->getValue());
    }

    // Cloning a set into itself keeps its values.
    MOX::cloneVariants(target, target);
    EXPECT_EQ(target.size(), 2u);
    EXPECT_EQ((*target.begin())->getTag(), "a");

    // A null element: the target is emptied and the null check throws.
    VariantSet withNull;
    withNull.insert(SmartPointer<IVariant>());
    EXPECT_TRUE(attrtest::throwsNullPointer([&] { MOX::cloneVariants(withNull, target); }));
    EXPECT_TRUE(target.empty());
}
