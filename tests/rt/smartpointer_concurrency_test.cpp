// SPDX-License-Identifier: MIT
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <mox/rt/SmartPointer.h>

using MOX::RT::SmartPointer;

namespace {
std::atomic<int> destroyed{0};
struct Counted {
    virtual ~Counted() { destroyed.fetch_add(1); }
};
} // namespace

TEST(SmartPointerConcurrency, CopiesFromTwoThreadsKeepTheCountExact)
{
    SmartPointer<Counted> shared(new Counted);
    std::atomic<bool> go{false};
    auto work = [&] {
        while (!go.load())
            std::this_thread::yield();
        std::vector<SmartPointer<Counted>> held;
        for (int i = 0; i < 200000; ++i) {
            SmartPointer<Counted> copy = shared; // concurrent increments
            if (i % 64 == 0)
                held.push_back(copy);
            SmartPointer<Counted> moved(std::move(copy));
            moved = nullptr; // concurrent decrements
        }
    };
    std::thread a(work), b(work);
    go = true;
    a.join();
    b.join();
    EXPECT_EQ(shared.useCount(), 1);
    shared = nullptr;
    EXPECT_EQ(destroyed.load(), 1);
}
