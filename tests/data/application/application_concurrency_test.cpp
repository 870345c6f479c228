// SPDX-License-Identifier: MIT
// Registration and service-library loading from several threads at once.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include <mox/app.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationRegistry.h"

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

TEST(ApplicationConcurrency, EquivalentIdsFromManyThreadsAreOneRegisteredInstance)
{
    constexpr int kThreads = 8, kRounds = 50;
    const std::size_t before = MOX::APP::ApplicationRegistry::instance().size();
    std::vector<std::vector<SmartPointer<MOX::APP::IApplicationId>>> got(kThreads);
    runTogether(kThreads, [&](int t) {
        for (int r = 0; r < kRounds; ++r) { // half create, half parse, each with its own product objects
            const std::string name = "app" + std::to_string(r);
            got[t].push_back(t % 2 ? MOX::parseApplicationId("<app-id name=\"" + name + "\"><product name=\"Race\" "
                                                             "component=\"c\" version=\"1\"/></app-id>")
                                   : MOX::createApplicationId(MOX::createProductId("Race", "c", "1"), name));
        }
    });
    EXPECT_EQ(MOX::APP::ApplicationRegistry::instance().size(), before + kRounds);
    for (int i = kRounds; i < kThreads * kRounds; ++i) // every thread's id of a round is the first thread's
        EXPECT_TRUE(got[i / kRounds][i % kRounds].sharesWith(got[0][i % kRounds])) << i;
}

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

TEST(ApplicationConcurrency, PropertiesAndLoggingWhileLoadingAndShuttingDown)
{
    unsetenv("MOX_LIBRARY_PATH");
    const auto app = apptest::newApplicationId("busy")->getApplication();
    app->setProperty("MOX_LIBRARY_PATH", MOX_SM_SAMPLE_DIR);
    app->setBootstrapPath("/etc/busy");
    constexpr int kThreads = 4, kRounds = 100;
    runTogether(kThreads, [&](int t) {
        const std::string k = std::to_string(t);
        for (int r = 0; r < kRounds; ++r) {
            if (t == 0) {
                EXPECT_FALSE(app->getServiceManager().isNull());
                if (r % 10 == 9)
                    app->shutdown();
                continue;
            }
            app->setProperty("k" + k + "." + std::to_string(r), "v");
            app->setProperty(r % 2 ? "LogService.Pause.k" + k : "LogService.Resume.k" + k, "1");
            app->getPropertyNames();
        }
    });
    // Every property arrived; the last setting of each key (a pause) stays.
    const auto names = app->getPropertyNames();
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n[0] == 'k'; }),
              (kThreads - 1) * kRounds);
    for (int t = 1; t < kThreads; ++t)
        EXPECT_EQ(app->getProperty("LogService.Pause.k" + std::to_string(t), "missing"), "1");
}
