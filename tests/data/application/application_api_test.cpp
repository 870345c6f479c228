// The exported API of libmox.so: what happens to a loaded service library when the
// process exits.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include <mox/app.h>

#include "AppTesting.h"

TEST(ApplicationApi, UnloadDestroysHelperThenServiceManagerWithoutCallingTheHelper)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child process runs this body again: it keeps the parent's file.
    const char* inherited = std::getenv("TESTSM_EVENTS_FILE");
    const std::string events = inherited ? inherited : ::testing::TempDir() + "mox-unload-" + std::to_string(getpid());
    if (inherited == nullptr) {
        std::remove(events.c_str());
        setenv("TESTSM_EVENTS_FILE", events.c_str(), 1);
    }
    EXPECT_EXIT(
        {
            {
                unsetenv("MOX_LIBRARY_PATH");
                const auto app = MOX::getApplication(MOX::createApplicationId(MOX::createProductId("Demo", "", "1"), "unload"));
                apptest::useTestPlugin(*app);
                app->setBootstrapPath("/srv/demo");
                app->getServiceManager();
                app->setProperty("last", "1"); // goes to the log service
            }
            std::exit(0); // only the registry holds the id now; exit unloads the library
        },
        ::testing::ExitedWithCode(0), "");
    unsetenv("TESTSM_EVENTS_FILE");
    std::vector<std::string> lines;
    std::ifstream in(events);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"entry unload", "start", "getServiceManager", "submit:last=1",
                                               "~helper managerOwners=2", "~log", "~manager"}));
    std::remove(events.c_str());
}
