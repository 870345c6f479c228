#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

using MOX::RT::SmartPointer;

namespace {

// A value ordered by its key; counts live instances.
class Value : public MOX::Object {
public:
    explicit Value(int key) : key(key) { ++live; }
    ~Value() override { --live; }
    virtual bool lessThan(const Value& other) const { return key < other.key; }
    std::string toString() const override { return std::to_string(key); }
    int key;
    static int live;
};
int Value::live = 0;

class Derived : public Value {
public:
    using Value::Value;
};

// Calls itself less than anything: shared counters must still compare equal.
class Odd : public Value {
public:
    using Value::Value;
    bool lessThan(const Value&) const override { return true; }
};

} // namespace

TEST(SmartPointer, CountsOwnersAcrossConversionsAndDeletesOnLastRelease)
{
    {
        SmartPointer<Derived> d(new Derived(1));
        SmartPointer<Value> a = d, c(std::move(a));
        EXPECT_TRUE(a.isNull());
        c = c;
        SmartPointer<MOX::Object> o = c;
        EXPECT_TRUE(o.dynamicCast<Derived>().sharesWith(d));
        EXPECT_TRUE(o.dynamicCast<Odd>().isNull());
        EXPECT_EQ(d.useCount(), 3); // the casts' shares were released again
        c = nullptr;
        o = nullptr;
        EXPECT_EQ(d.useCount(), 1);
        d.reset(new Derived(2));
        EXPECT_EQ(Value::live, 1);
    }
    EXPECT_EQ(Value::live, 0);
    EXPECT_FALSE(SmartPointer<Value>().sharesWith(SmartPointer<Value>(static_cast<Value*>(nullptr)))); // null pointers share no counter
}

TEST(SmartPointer, OrderAndEqualityWithNullAndSharedCounters)
{
    const SmartPointer<Value> null, one(new Value(1)), oneAgain(new Value(1)), two(new Value(2));
    const SmartPointer<Value> odd(new Odd(3)), oddShared = odd;
    const struct { const SmartPointer<Value> &a, &b; bool less, equal; } rows[] = {
        {one, two, true, false},   {two, one, false, false},  {one, oneAgain, false, true},
        {null, one, false, false}, {null, null, false, false}, {odd, oddShared, false, true}};
    for (const auto& r : rows) {
        EXPECT_EQ(r.a < r.b, r.less) << &r - rows;
        EXPECT_EQ(r.a == r.b, r.equal) << &r - rows;
        EXPECT_EQ(r.a != r.b, !r.equal) << &r - rows;
    }
    EXPECT_TRUE(one < SmartPointer<Derived>(new Derived(2))); // mixed types compare through the common lessThan
}
