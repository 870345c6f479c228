// SPDX-License-Identifier: MIT
// Service-library loading from several threads at once.
#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include <mox/app.h>

#include "AppTesting.h"

using MOX::RT::SmartPointer;

namespace {

/// Runs `body(i)` on `n` threads released together.
void runTogether(int n, const std::function<void(int)>& body)
{
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i)
        threads.emplace_back([&, i] {
            while (!go.load())
                std::this_thread::yield();
            body(i);
        });
    go.store(true);
    for (auto& t : threads)
        t.join();
}

} // namespace

TEST(ApplicationConcurrency, FirstLoadFromManyThreadsLoadsAndStartsOnce)
{
    unsetenv("MOX_LIBRARY_PATH");
    const auto id = apptest::newApplicationId("loadsOnce");
    const auto app = id->getApplication();
    apptest::useTestPlugin(*app, "slow-start");
    app->setBootstrapPath("/etc/race");
    constexpr int kThreads = 6;
    std::vector<SmartPointer<MOX::I::IServiceManager>> managers(kThreads);
    runTogether(kThreads, [&](int t) { // every way to a first load at once: the helper, initialize and the manager
        if (t % 3 == 1)
            app->initialize();
        managers[t] = t % 3 == 2 ? MOX::getServiceManager(id) : app->getServiceHelper()->getServiceManager();
    });
    for (int t = 1; t < kThreads; ++t)
        EXPECT_TRUE(managers[t].sharesWith(managers[0])) << t;
    EXPECT_EQ(apptest::countEvents("entry") + apptest::countEvents("start"), 2);
}
