// SPDX-License-Identifier: MIT
// makeShared under a counting global operator new: one block per object, freed once,
// whichever base (virtual ones included) the last owner sees it through.
#include <atomic>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

#include "AllocationCounter.h"

using MOX::RT::makeShared;
using MOX::RT::SmartPointer;

namespace {

std::atomic<int> g_live{0};

// An interface deriving virtually from Object, as the platform's interfaces do.
class IProbe : public virtual MOX::Object {
public:
    virtual int key() const = 0;
};

class Probe : public IProbe {
public:
    explicit Probe(int key, bool fail = false) : m_key(key)
    {
        if (fail)
            throw std::runtime_error("constructor failed");
        ++g_live;
    }
    ~Probe() override { --g_live; }
    int key() const override { return m_key; }
    std::string toString() const override { return std::to_string(m_key); }

private:
    int m_key;
};

// Allocations and frees made by `f`.
template <class F>
std::pair<long, long> heapUse(F&& f)
{
    const long allocations = moxtest::allocations.load(), frees = moxtest::frees.load();
    f();
    return {moxtest::allocations.load() - allocations, moxtest::frees.load() - frees};
}

} // namespace

TEST(MakeShared, OneBlockPerObjectFreedOnceThroughAnyBase)
{
    SmartPointer<IProbe> first;
    EXPECT_EQ(heapUse([&] { first = makeShared<Probe>(1); }), std::make_pair(1L, 0L));
    EXPECT_EQ(heapUse([] { SmartPointer<IProbe> p(new Probe(2)); }), std::make_pair(2L, 2L)); // object and counter apart

    EXPECT_EQ(heapUse([&] {
        SmartPointer<MOX::Object> object = first;
        SmartPointer<Probe> back = object.dynamicCast<Probe>();
        EXPECT_TRUE(back.sharesWith(first));
        EXPECT_EQ(first.useCount(), 3);
        first = nullptr;
        EXPECT_EQ(g_live.load(), 1);
    }), std::make_pair(0L, 1L)); // the last owner sees the object as Object
    EXPECT_EQ(g_live.load(), 0);
}

TEST(MakeShared, ThrowingConstructorFreesTheBlock)
{
    const auto failed = heapUse([] { EXPECT_THROW(makeShared<Probe>(1, true), std::runtime_error); });
    EXPECT_EQ(failed.first, failed.second); // the block is freed
    EXPECT_EQ(g_live.load(), 0);
}
