// Registration and service-library loading from several threads at once.
#include <atomic>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include <mox/app.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationImpl.h"
#include "data/application/impl/ApplicationRegistry.h"

using MOX::APP::ApplicationRegistry;
using MOX::APP::IApplicationId;
using MOX::RT::SmartPointer;

namespace {

/// Runs `body(i)` on `n` threads released together.
void runTogether(int n, const std::function<void(int)>& body)
{
    std::atomic<int> ready{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i)
        threads.emplace_back([&, i] {
            ready.fetch_add(1);
            while (!go.load())
                std::this_thread::yield();
            body(i);
        });
    while (ready.load() < n)
        std::this_thread::yield();
    go.store(true);
    for (auto& t : threads)
        t.join();
}

} // namespace

TEST(ApplicationConcurrency, EquivalentIdsFromManyThreadsAreOneRegisteredInstance)
{
    constexpr int kThreads = 8;
    constexpr int kRounds = 50;
    const std::size_t before = ApplicationRegistry::instance().size();
    std::vector<std::vector<SmartPointer<IApplicationId>>> got(kThreads);
    runTogether(kThreads, [&](int t) {
        for (int r = 0; r < kRounds; ++r) {
            // Half create, half parse; every thread builds its own product objects.
            const std::string name = "app" + std::to_string(r);
            if (t % 2 == 0)
                got[t].push_back(MOX::createApplicationId(MOX::createProductId("Race", "c", "1"), name));
            else
                got[t].push_back(MOX::parseApplicationId("<app-id name=\"" + name +
                                                         "\"><product name=\"Race\" component=\"c\" version=\"1\"/></app-id>"));
        }
    });
    EXPECT_EQ(ApplicationRegistry::instance().size(), before + kRounds);
    for (int r = 0; r < kRounds; ++r) {
        const auto& first = got[0][r];
        ASSERT_FALSE(first->getApplication().isNull());
        for (int t = 1; t < kThreads; ++t) {
            EXPECT_TRUE(got[t][r].sharesWith(first)) << "thread " << t << " round " << r;
            EXPECT_TRUE(got[t][r]->getApplication().sharesWith(first->getApplication()));
        }
    }
}

TEST(ApplicationConcurrency, FirstLoadFromManyThreadsLoadsAndStartsOnce)
{
    unsetenv("MOX_LIBRARY_PATH");
    apptest::clearPluginEvents();
    const auto id = apptest::newApplicationId("loadsOnce");
    const auto app = id->getApplication();
    apptest::useTestPlugin(*app, "slow-start");
    app->setBootstrapPath("/etc/race");
    constexpr int kThreads = 6;
    std::vector<SmartPointer<MOX::I::IServiceHelper>> helpers(kThreads);
    std::vector<SmartPointer<MOX::I::IServiceManager>> managers(kThreads);
    runTogether(kThreads, [&](int t) {
        // Every way to a first load at once: the helper, initialize and the manager.
        if (t % 3 == 0)
            helpers[t] = app->getServiceHelper();
        else if (t % 3 == 1)
            app->initialize();
        else
            managers[t] = MOX::getServiceManager(id);
        if (helpers[t].isNull())
            helpers[t] = app->getServiceHelper();
    });
    for (int t = 1; t < kThreads; ++t)
        EXPECT_TRUE(helpers[t].sharesWith(helpers[0])) << t;
    ASSERT_FALSE(managers[2].isNull());
    EXPECT_TRUE(managers[5].sharesWith(managers[2]));
    EXPECT_EQ(apptest::countEvents("entry"), 1);
    EXPECT_EQ(apptest::countEvents("start"), 1);
    EXPECT_EQ(apptest::countEvents("getServiceManager"), 1);
}

TEST(ApplicationConcurrency, PropertiesAndLoggingWhileLoadingAndShuttingDown)
{
    unsetenv("MOX_LIBRARY_PATH");
    apptest::clearPluginEvents();
    const auto id = apptest::newApplicationId("busy");
    const auto app = id->getApplication();
    app->setProperty("MOX_LIBRARY_PATH", apptest::sampleDir());
    app->setBootstrapPath("/etc/busy");
    constexpr int kThreads = 4;
    constexpr int kRounds = 100;
    runTogether(kThreads, [&](int t) {
        for (int r = 0; r < kRounds; ++r) {
            if (t == 0) {
                EXPECT_FALSE(app->getServiceManager().isNull());
                if (r % 10 == 9)
                    app->shutdown();
            } else {
                app->setProperty("k" + std::to_string(t) + "." + std::to_string(r), "v");
                app->setProperty(r % 2 ? "LogService.Pause.k" + std::to_string(t) : "LogService.Resume.k" + std::to_string(t), "1");
                app->getPropertyNames();
            }
        }
    });
    // Every property arrived; the last setting of each key (a pause) stays.
    for (int t = 1; t < kThreads; ++t) {
        for (int r = 0; r < kRounds; ++r)
            EXPECT_EQ(app->getProperty("k" + std::to_string(t) + "." + std::to_string(r), "missing"), "v");
        EXPECT_EQ(app->getProperty("LogService.Pause.k" + std::to_string(t), "missing"), "1");
    }
}
