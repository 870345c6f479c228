#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

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

TEST(SmartPointer, CountsOwnersAcrossConversionsAndDeletesOnLastRelease)
{
    {
        SmartPointer<Derived> d(new Derived(1, "d"));
        SmartPointer<Value> a = d;
        EXPECT_TRUE(a.sharesWith(d));
        SmartPointer<Value> c(std::move(a));
        EXPECT_TRUE(a.isNull());
        EXPECT_EQ(a.useCount(), 0);
        c = c;
        SmartPointer<MOX::Object> o = c;
        EXPECT_TRUE(o.dynamicCast<Derived>().sharesWith(d));
        EXPECT_TRUE(o.dynamicCast<Unrelated>().isNull());
        EXPECT_EQ(d.useCount(), 3);  // the casts' shares were released again
        c = nullptr;
        o = nullptr;
        EXPECT_EQ(d.useCount(), 1);
        d.reset(new Derived(2, "b"));
        EXPECT_EQ(Value::live, 1);
        EXPECT_EQ(d->key, 2);
    }
    EXPECT_EQ(Value::live, 0);
    const SmartPointer<Value> null, adoptedNull(static_cast<Value*>(nullptr));
    EXPECT_FALSE(null.sharesWith(adoptedNull));  // null pointers share no counter
}

TEST(SmartPointer, OrderAndEqualityWithNullAndSharedCounters)
{
    // Shared counters are equal even when the pointee calls itself less: the counter
    // check comes before lessThan.
    class Odd : public Value {
    public:
        using Value::Value;
        bool lessThan(const Value&) const override { return true; }
    };
    const SmartPointer<Value> null, one(new Value(1, "x")), oneAgain(new Value(1, "y")), two(new Value(2, "z"));
    const SmartPointer<Value> odd(new Odd(3, "o")), oddShared = odd;
    const SmartPointer<Derived> derivedTwo(new Derived(2, "d"));
    const struct { const SmartPointer<Value> &a, &b; bool less, equal; } rows[] = {
        {one, two, true, false},   {two, one, false, false},  {one, oneAgain, false, true},
        {null, one, false, false}, {null, null, false, false}, {odd, oddShared, false, true}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << (r.a ? r.a->toString() : "null") << " vs "
                                        << (r.b ? r.b->toString() : "null"));
        EXPECT_EQ(r.a < r.b, r.less);
        EXPECT_EQ(r.a == r.b, r.equal);
        EXPECT_EQ(r.a != r.b, !r.equal);
    }
    EXPECT_TRUE(one < derivedTwo);  // mixed types compare through the common lessThan
    EXPECT_TRUE(two == derivedTwo);
}
