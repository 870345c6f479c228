// SPDX-License-Identifier: MIT
// The handle table and last-error state used from two threads at once.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include <mox/handle/HandleManager.h>

using MOX::HandleId;
using MOX::HDL::HandleManager;

namespace {
std::atomic<int> destroyed{0};
struct Tracked : MOX::Object {
    ~Tracked() override { destroyed.fetch_add(1); }
    std::string toString() const override { return "tracked"; }
};
} // namespace

TEST(HandleManagerConcurrency, TwoThreadsOpenGetAndCloseWithoutRepeatingANumber)
{
    constexpr int kRounds = 2000;
    std::atomic<bool> go{false};
    std::vector<int> numbers[2];
    int wrong[2] = {0, 0};
    auto worker = [&](int t) {
        while (!go.load())
            std::this_thread::yield();
        const std::string classname = "Thread" + std::to_string(t);
        const int error = t == 0 ? -1005 : -1039;
        int pending = 0; // every third handle stays open a round, so both threads' entries mix
        for (int r = 0; r < kRounds; ++r) {
            MOX::RT::SmartPointer<MOX::Object> object(new Tracked);
            const int number = HandleManager::newObjectHandle(classname, object).getId();
            numbers[t].push_back(number);
            const char* name = HandleManager::findClassType(number);
            (t == 0 ? HandleManager::classCast : HandleManager::invalidHandle)();
            wrong[t] += !HandleManager::getObject(number).sharesWith(object) || name == nullptr || classname != name ||
                        HandleManager::getError(nullptr) != error;
            const bool closes = pending != 0 || r % 3 != 0;
            wrong[t] += pending != 0 && !HandleManager::closeHandle(HandleId(pending));
            pending = r % 3 == 0 ? number : 0;
            wrong[t] += pending == 0 && !HandleManager::closeHandle(HandleId(number));
            // A close clears this thread's error only; at most two handles per thread are open.
            wrong[t] += HandleManager::getError(nullptr) != (closes ? 0 : error) || HandleManager::getOpenHandleCount() > 4;
        }
        wrong[t] += pending != 0 && !HandleManager::closeHandle(HandleId(pending));
    };
    // Both threads also race to create the manager itself.
    std::thread a(worker, 0), b(worker, 1);
    go = true;
    a.join();
    b.join();
    EXPECT_EQ(wrong[0] + wrong[1], 0);
    std::set<int> all(numbers[0].begin(), numbers[0].end());
    all.insert(numbers[1].begin(), numbers[1].end());
    EXPECT_EQ(all.size(), 2u * kRounds);
    EXPECT_EQ(*all.rbegin(), 2 * kRounds);
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 0u);
    EXPECT_EQ(destroyed.load(), 2 * kRounds);
}
