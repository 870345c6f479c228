// SPDX-License-Identifier: MIT
// The exported API of libmox.so: a process that exits with a service library loaded
// unloads it cleanly.
#include <cstdlib>

#include <mox/app.h>

#include "AppTesting.h"

TEST(ApplicationApi, ExitWithALoadedServiceLibraryUnloadsItCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            {
                unsetenv("MOX_LIBRARY_PATH");
                const auto app = MOX::getApplication(MOX::createApplicationId(MOX::createProductId("Demo", "", "1"), "exit"));
                apptest::useTestPlugin(*app);
                app->setBootstrapPath("/srv/demo");
                app->getServiceManager();
                app->setProperty("last", "1"); // goes to the log service
            }
            std::exit(0); // only the registry holds the id now; exit unloads the library
        },
        ::testing::ExitedWithCode(0), "");
}
