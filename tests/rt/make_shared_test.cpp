// SPDX-License-Identifier: MIT
// makeShared under a counting global operator new: one block per object, freed once,
// whichever base (virtual ones included) the last owner sees it through.
#include <atomic>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace {
std::atomic<long> g_allocations{0};
std::atomic<long> g_frees{0};
} // namespace

void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
namespace {
void countedFree(void* p) noexcept
{
    if (p != nullptr)
        g_frees.fetch_add(1, std::memory_order_relaxed);
    std::free(p);
}
} // namespace
void operator delete(void* p) noexcept { countedFree(p); }
void operator delete(void* p, std::size_t) noexcept { countedFree(p); }

using MOX::RT::makeShared;
using MOX::RT::SmartPointer;

namespace {

std::atomic<int> g_live{0};

// An interface deriving virtually from Object, as the platform's interfaces do.
class IProbe : public virtual MOX::Object {
public:
    virtual int key() const = 0;
    bool lessThan(const IProbe& other) const { return key() < other.key(); }
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
    const long allocations = g_allocations.load(), frees = g_frees.load();
    f();
    return {g_allocations.load() - allocations, g_frees.load() - frees};
}

} // namespace

TEST(MakeShared, OneBlockPerObjectFreedOnceThroughAnyBase)
{
    SmartPointer<IProbe> first;
    const auto made = heapUse([&] { first = makeShared<Probe>(1); });
    EXPECT_EQ(made, std::make_pair(1L, 0L));
    const auto adopted = heapUse([] { SmartPointer<IProbe> p(new Probe(2)); });
    EXPECT_EQ(adopted, std::make_pair(2L, 2L));  // object and counter apart

    const auto shared = heapUse([&] {
        SmartPointer<MOX::Object> object = first;
        SmartPointer<Probe> back = object.dynamicCast<Probe>();
        EXPECT_TRUE(back.sharesWith(first));
        EXPECT_EQ(first.useCount(), 3);
        first = nullptr;
        EXPECT_EQ(g_live.load(), 1);
    });  // the last owner sees the object as Object
    EXPECT_EQ(shared, std::make_pair(0L, 1L));
    EXPECT_EQ(g_live.load(), 0);
}

TEST(MakeShared, OrderAndEqualityAsForAdoptedObjects)
{
    const SmartPointer<IProbe> one = makeShared<Probe>(1), alsoOne(new Probe(1)), two = makeShared<Probe>(2);
    EXPECT_TRUE(one < two);
    EXPECT_FALSE(one < one);
    EXPECT_TRUE(one == alsoOne);
    EXPECT_FALSE(one == two);
    EXPECT_FALSE(one == SmartPointer<IProbe>());
}

TEST(MakeShared, ThrowingConstructorFreesTheBlock)
{
    const auto failed = heapUse([] { EXPECT_THROW(makeShared<Probe>(1, true), std::runtime_error); });
    EXPECT_EQ(failed.first, failed.second);
    EXPECT_EQ(g_live.load(), 0);
}

TEST(MakeShared, LastReleaseRacingAcrossThreadsDestroysOnce)
{
    for (int round = 0; round < 200; ++round) {
        std::vector<SmartPointer<MOX::Object>> owners(4, makeShared<Probe>(round));
        std::vector<std::thread> threads;
        for (auto& owner : owners)
            threads.emplace_back([&owner] { owner = nullptr; });
        for (auto& thread : threads)
            thread.join();
        ASSERT_EQ(g_live.load(), 0);
    }
}
