// The handle table and last-error state used from several threads at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include <mox/handle/HandleManager.h>

#include "services/handle/TrackedObject.h"

using MOX::HandleId;
using MOX::HDL::HandleManager;

namespace {

// Starts `count` threads running `body(index)` together and waits for them.
template <class Body>
void runTogether(int count, Body body)
{
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < count; ++i) {
        threads.emplace_back([&, i] {
            while (!go.load())
                std::this_thread::yield();
            body(i);
        });
    }
    go = true;
    for (auto& t : threads)
        t.join();
}

} // namespace

TEST(HandleManagerConcurrency, FirstUseFromTwoThreadsSharesOneTable)
{
    std::atomic<int> destroyed{0};
    std::vector<int> numbers(2, 0);
    runTogether(2, [&](int i) {
        numbers[i] = HandleManager::newObjectHandle("First", hdltest::makeTracked("f", &destroyed)).getId();
    });
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<int>{1, 2}));
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 2u);
}

TEST(HandleManagerConcurrency, OpenGetCloseFromTwoThreadsNeverRepeatsANumber)
{
    constexpr int kRounds = 2000;
    std::atomic<int> destroyed{0};
    std::vector<std::vector<int>> taken(2);
    std::vector<int> failures(2, 0);
    std::atomic<unsigned> maxSeen{0};
    runTogether(2, [&](int t) {
        const std::string classname = "Thread" + std::to_string(t);
        std::vector<int> mine;
        int pending = 0;
        for (int r = 0; r < kRounds; ++r) {
            auto object = hdltest::makeTracked(classname + ":" + std::to_string(r), &destroyed);
            const int number = HandleManager::newObjectHandle(classname, object).getId();
            mine.push_back(number);
            if (HandleManager::getObject(number)->toString() != object->toString())
                ++failures[t];
            const char* name = HandleManager::findClassType(number);
            if (name == nullptr || classname != name)
                ++failures[t];
            const unsigned count = HandleManager::getOpenHandleCount();
            unsigned prev = maxSeen.load();
            while (count > prev && !maxSeen.compare_exchange_weak(prev, count)) {
            }
            // Every third handle stays open for a round, so that the table holds entries
            // of both threads while they insert and erase.
            if (pending != 0 && !HandleManager::closeHandle(HandleId(pending)))
                ++failures[t];
            pending = 0;
            if (r % 3 == 0)
                pending = number;
            else if (!HandleManager::closeHandle(HandleId(number)))
                ++failures[t];
        }
        if (pending != 0 && !HandleManager::closeHandle(HandleId(pending)))
            ++failures[t];
        taken[t] = std::move(mine);
    });
    EXPECT_EQ(failures[0], 0);
    EXPECT_EQ(failures[1], 0);

    std::set<int> all;
    for (const auto& mine : taken)
        all.insert(mine.begin(), mine.end());
    EXPECT_EQ(all.size(), 2u * kRounds);
    EXPECT_EQ(*all.begin(), 1);
    EXPECT_EQ(*all.rbegin(), 2 * kRounds);
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 0u);
    EXPECT_EQ(destroyed.load(), 2 * kRounds);
    EXPECT_LE(maxSeen.load(), 4u);
}

TEST(HandleManagerConcurrency, ThreadsOnlyEverSeeTheirOwnLastError)
{
    constexpr int kRounds = 2000;
    std::vector<int> wrong(2, 0);
    runTogether(2, [&](int t) {
        for (int r = 0; r < kRounds; ++r) {
            if (t == 0)
                HandleManager::classCast();
            else
                HandleManager::invalidHandle();
            const int expected = t == 0 ? -1005 : -1039;
            if (HandleManager::getError(nullptr) != expected)
                ++wrong[t];
            if (r % 2 == 0) {
                HandleManager::closeHandle(HandleId(-r));
                if (HandleManager::getError(nullptr) != 0)
                    ++wrong[t];
            }
        }
    });
    EXPECT_EQ(wrong[0], 0);
    EXPECT_EQ(wrong[1], 0);
    EXPECT_EQ(HandleManager::getError(nullptr), 0);
}
