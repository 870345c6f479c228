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
        for (int r = 0; r < kRounds; ++r) {
            MOX::RT::SmartPointer<MOX::Object> object(new Tracked);
            const int number = HandleManager::newObjectHandle(classname, object).getId();
            numbers[t].push_back(number);
            const char* name = HandleManager::findClassType(number);
            (t == 0 ? HandleManager::classCast : HandleManager::invalidHandle)();
            wrong[t] += !HandleManager::getObject(number).sharesWith(object) || name == nullptr || classname != name ||
                        HandleManager::getError(nullptr) != error;
            // A close clears this thread's error only.
            wrong[t] += !HandleManager::closeHandle(HandleId(number)) || HandleManager::getError(nullptr) != 0;
        }
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
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 0u);
    EXPECT_EQ(destroyed.load(), 2 * kRounds);
}
