#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Check.h>
#include <mox/rt/Collections.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

using MOX::Set;
using MOX::RT::SmartPointer;

namespace {

// A value ordered by its key; `tag` tells equivalent values apart. Counts live instances.
class Value : public MOX::Object {
public:
    Value(int key, std::string tag) : key(key), tag(std::move(tag)) { ++live; }
    ~Value() override { --live; }
    virtual bool lessThan(const Value& other) const { return key < other.key; }
    std::string toString() const override { return std::to_string(key) + tag; }
    int key;
    std::string tag;
    static int live;
};
int Value::live = 0;

class Derived : public Value {
public:
    using Value::Value;
};

class Unrelated : public MOX::Object {
public:
    std::string toString() const override { return "u"; }
};

} // namespace

TEST(SmartPointer, CountsOwnersAndDeletesOnLastRelease)
{
    {
        SmartPointer<Value> a(new Value(1, "a"));
        EXPECT_EQ(a.useCount(), 1);
        SmartPointer<Value> b = a;
        EXPECT_EQ(a.useCount(), 2);
        EXPECT_TRUE(a.sharesWith(b));
        SmartPointer<Value> c(std::move(b));
        EXPECT_TRUE(b.isNull());
        EXPECT_EQ(b.useCount(), 0);
        EXPECT_EQ(a.useCount(), 2);
        c = a;  // already shares: nothing changes
        EXPECT_EQ(a.useCount(), 2);
        c = c;
        EXPECT_EQ(a.useCount(), 2);
        c = nullptr;
        EXPECT_EQ(a.useCount(), 1);
        EXPECT_EQ(Value::live, 1);
        a.reset(new Value(2, "b"));
        EXPECT_EQ(Value::live, 1);
        EXPECT_EQ(a->key, 2);
        EXPECT_EQ((*a).tag, "b");
        SmartPointer<Value> d(a);
        a = std::move(d);
        EXPECT_EQ(a.useCount(), 1);
        EXPECT_TRUE(static_cast<bool>(a));
    }
    EXPECT_EQ(Value::live, 0);
    SmartPointer<Value> null;
    EXPECT_FALSE(static_cast<bool>(null));
    EXPECT_EQ(null.get(), nullptr);
    SmartPointer<Value> adoptedNull(static_cast<Value*>(nullptr));
    EXPECT_EQ(adoptedNull.useCount(), 0);
    EXPECT_FALSE(null.sharesWith(adoptedNull));  // null pointers share no counter
}

TEST(SmartPointer, ConversionsShareTheCounter)
{
    SmartPointer<Derived> d(new Derived(1, "d"));
    SmartPointer<Value> v = d;
    EXPECT_TRUE(v.sharesWith(d));
    EXPECT_EQ(d.useCount(), 2);
    SmartPointer<MOX::Object> o = v;
    const SmartPointer<Derived> back = o.dynamicCast<Derived>();
    ASSERT_FALSE(back.isNull());
    EXPECT_TRUE(back.sharesWith(d));
    EXPECT_EQ(d.useCount(), 4);
    EXPECT_TRUE(o.dynamicCast<Unrelated>().isNull());
    EXPECT_EQ(d.useCount(), 4);  // a failed cast takes no share
    SmartPointer<Value> moved(std::move(d));
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(moved.useCount(), 4);
    EXPECT_EQ(&MOX::RT::checkDeref(moved), moved.get());
    EXPECT_EQ(MOX::RT::checkCast(back).get(), back.get());
}

TEST(SmartPointer, OrderAndEqualityWithNullAndSharedCounters)
{
    const SmartPointer<Value> null;
    const SmartPointer<Value> one(new Value(1, "x"));
    const SmartPointer<Value> oneAgain(new Value(1, "y"));
    const SmartPointer<Value> two(new Value(2, "z"));
    const SmartPointer<Value> oneShared = one;

    EXPECT_TRUE(one < two);
    EXPECT_FALSE(two < one);
    EXPECT_FALSE(one < oneAgain);
    EXPECT_FALSE(oneAgain < one);
    EXPECT_FALSE(null < one);
    EXPECT_FALSE(one < null);
    EXPECT_FALSE(null < null);

    EXPECT_TRUE(one == oneShared);
    EXPECT_TRUE(one == oneAgain);  // equivalent values
    EXPECT_FALSE(one == two);
    EXPECT_TRUE(one != two);
    EXPECT_FALSE(null == null);  // null never equals anything
    EXPECT_FALSE(null == one);
    EXPECT_FALSE(one == null);
    EXPECT_TRUE(null != null);

    // Shared counters are equal even when the pointee would call itself less: the
    // counter check comes before lessThan.
    class Odd : public Value {
    public:
        using Value::Value;
        bool lessThan(const Value&) const override { return true; }
    };
    const SmartPointer<Value> odd(new Odd(3, "o"));
    const SmartPointer<Value> oddShared = odd;
    EXPECT_FALSE(odd < oddShared);
    EXPECT_TRUE(odd == oddShared);

    // Mixed types compare through the common lessThan.
    const SmartPointer<Derived> derivedTwo(new Derived(2, "d"));
    EXPECT_TRUE(one < derivedTwo);
    EXPECT_TRUE(two == derivedTwo);
}

TEST(SmartPointer, SetKeepsTheFirstInsertedOfEquivalentElements)
{
    Set<SmartPointer<Value>> set;
    const SmartPointer<Value> first(new Value(5, "first"));
    EXPECT_TRUE(set.insert(first).second);
    EXPECT_FALSE(set.insert(SmartPointer<Value>(new Value(5, "second"))).second);
    EXPECT_TRUE(set.insert(SmartPointer<Value>(new Value(1, "low"))).second);
    EXPECT_FALSE(set.insert(first).second);
    ASSERT_EQ(set.size(), 2u);
    EXPECT_EQ((*set.begin())->tag, "low");
    const auto found = set.find(SmartPointer<Value>(new Value(5, "probe")));
    ASSERT_NE(found, set.end());
    EXPECT_EQ((*found)->tag, "first");
    EXPECT_TRUE(found->sharesWith(first));
    EXPECT_EQ(Value::live, 2);  // the rejected and probe values were deleted
}
