#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <mox/rt/Collections.h>
#include <mox/rt/SmartPointer.h>

using MOX::RT::SmartPointer;

namespace {

std::atomic<int> destroyed{0};

struct Counted {
    virtual ~Counted() { destroyed.fetch_add(1); }
    int payload = 7;
};

} // namespace

TEST(SmartPointerConcurrency, CopiesFromTwoThreadsKeepTheCountExact)
{
    constexpr int kRounds = 200000;
    SmartPointer<Counted> shared(new Counted);
    std::atomic<bool> go{false};
    std::atomic<long> seen{0};
    auto work = [&] {
        while (!go.load())
            std::this_thread::yield();
        std::vector<SmartPointer<Counted>> held;
        for (int i = 0; i < kRounds; ++i) {
            SmartPointer<Counted> copy = shared;  // concurrent increments
            seen += copy->payload;
            if (i % 64 == 0)
                held.push_back(copy);
            SmartPointer<Counted> moved(std::move(copy));
            moved = nullptr;  // concurrent decrements
        }
    };
    std::thread a(work), b(work);
    go = true;
    a.join();
    b.join();
    EXPECT_EQ(seen.load(), 2L * kRounds * 7);
    EXPECT_EQ(shared.useCount(), 1);
    EXPECT_EQ(destroyed.load(), 0);
    shared = nullptr;
    EXPECT_EQ(destroyed.load(), 1);
}

TEST(SmartPointerConcurrency, LastReleaseFromEitherThreadDeletesOnce)
{
    constexpr int kObjects = 20000;
    destroyed = 0;
    std::vector<SmartPointer<Counted>> left, right;
    for (int i = 0; i < kObjects; ++i) {
        SmartPointer<Counted> p(new Counted);
        left.push_back(p);
        right.push_back(p);
    }
    // Both threads drop their copies at the same time; exactly one deletes each object.
    std::thread a([&] { left.clear(); });
    std::thread b([&] { right.clear(); });
    a.join();
    b.join();
    EXPECT_EQ(destroyed.load(), kObjects);
}
