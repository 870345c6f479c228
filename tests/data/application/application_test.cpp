// The application object: paths, service library loading and its failures, shutdown,
// and the XML form.
#include <cstdlib>
#include <tuple>

#include <mox/app.h>
#include <mox/rt/XmlUtils.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationImpl.h"

using apptest::countEvents;
using apptest::useTestPlugin;
using MOX::APP::ApplicationImpl;
using MOX::RT::PropertiesImpl;
using MOX::RT::SmartPointer;

namespace {

class Application : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("MOX_LIBRARY_PATH");
        apptest::callPlugin("testsm_clear");
        id = apptest::newApplicationId(::testing::UnitTest::GetInstance()->current_test_info()->name());
        app = id->getApplication();
        impl = app.dynamicCast<ApplicationImpl>();
        ASSERT_FALSE(impl.isNull());
    }

    SmartPointer<MOX::APP::IApplicationId> id;
    SmartPointer<MOX::APP::IApplication> app;
    SmartPointer<ApplicationImpl> impl;
};

} // namespace

TEST_F(Application, BootstrapAndLibraryPaths)
{
    // Plain names go below the bootstrap path; anything with a separator stays.
    app->setBootstrapPath("/opt/app");
    app->setProperty("keys.file", "/etc/keys.pem");
    EXPECT_EQ(app->getProperty("path.config") + "|" + app->resolvePath("a\\b") + "|" + app->getConfigPath("keys.file") +
                  "|" + app->getConfigPath("unset.xml"),
              "/opt/app|a\\b|/etc/keys.pem|/opt/app/unset.xml");
    // The library path joins the property and the environment variable that
    // MOX_LIBRARY_ENV names (MOX_LIBRARY_PATH by default).
    app->setProperty("MOX_LIBRARY_PATH", "/p");
    setenv("MOX_LIBRARY_PATH", "/q", 1);
    EXPECT_EQ(app->getLibraryPath(), "/p;/q");
    app->setProperty("MOX_LIBRARY_ENV", "MOX_TEST_OTHER_PATH");
    EXPECT_EQ(app->getLibraryPath(), "/p");
}

TEST_F(Application, ServiceManagerNeedsTheBootstrapPathLoadsOnceAndShutdownDropsHelperThenManager)
{
    useTestPlugin(*app);
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::SystemException>([&] { app->getServiceManager(); }, -1088,
                                                                     "MOX::APP::ApplicationImpl::initialize"));
    EXPECT_EQ(countEvents("entry"), 0); // nothing was loaded
    app->setBootstrapPath("/etc/test");
    const auto first = MOX::getServiceManager(id);
    EXPECT_TRUE(impl->isInitialized());
    const auto helper = app->getServiceHelper();
    EXPECT_TRUE(app->getServiceManager().sharesWith(first));
    app->initialize(); // already initialized: nothing
    app->setUserData1(11);
    app->shutdown();
    EXPECT_FALSE(impl->isInitialized());
    EXPECT_EQ(countEvents("~"), 0); // we still hold both; the application let go of them
    EXPECT_EQ(std::to_string(app->getUserData1()) + app->getBootstrapPath(), "11/etc/test"); // these stay

    EXPECT_FALSE(app->getServiceManager().sharesWith(first)); // the next call reloads
    app->shutdown();
    app->shutdown(); // a second shutdown has nothing to drop
    // The application held the second helper and manager alone: the helper went first,
    // while the manager still had both owners (the application and the helper).
    std::vector<std::string> events;
    EXPECT_EQ(countEvents("start", &events), 2);
    EXPECT_EQ(std::vector<std::string>(events.end() - 3, events.end()),
              (std::vector<std::string>{"~helper managerOwners=2", "~log", "~manager"}));
}

TEST_F(Application, LoadFailuresLeaveTheApplicationUninitialisedAndALaterCallRetries)
{
    app->setBootstrapPath("/etc/test");
    app->setProperty("MOX_LIBRARY_FILE", "MOX-SM-missing");
    app->setProperty("MOX_LIBRARY_PATH", MOX_TEST_PLUGIN_DIR);
    try {
        app->getServiceManager();
        ADD_FAILURE() << "no exception";
    } catch (const MOX::EXCEPTIONS::SystemException& e) { // names the library and the places tried
        EXPECT_NE(std::string(e.what()).find(MOX_TEST_PLUGIN_DIR "/libMOX-SM-missing.so"), std::string::npos) << e.what();
    }
    useTestPlugin(*app);

    // Failures of the service side pass through; each later call tries again.
    const std::tuple<const char*, int, const char*, bool> rows[] = {
        {"entry-throws", -1040, "TestSM::loadServiceHelper", false},
        {"start-throws", -1075, "TestHelper::start", false},
        {"manager-throws", -1040, "TestHelper::getServiceManager", true}, // the helper started
        // Still initialized with the failing helper: asking again goes to that same helper.
        {"", -1040, "TestHelper::getServiceManager", true}};
    for (const auto& [mode, code, function, initialized] : rows) {
        app->setProperty("TestSM.Mode", mode);
        EXPECT_TRUE(moxtest::throwsMox([&] { app->getServiceManager(); }, code, function)) << mode;
        EXPECT_EQ(impl->isInitialized(), initialized) << mode;
    }
    EXPECT_EQ(countEvents("entry"), 3);
}

TEST_F(Application, UnmarshalAssignsPropertiesLoadsTheLibraryAndHandsItTheElement)
{
    // The element itself chooses the service library.
    const std::string element = "<application>" + id->marshal() + "<PROPERTIES>" +
                                PropertiesImpl::propertyToXML("MOX_LIBRARY_FILE", "MOX-SM-test") +
                                PropertiesImpl::propertyToXML("MOX_LIBRARY_PATH", MOX_TEST_PLUGIN_DIR) +
                                PropertiesImpl::propertyToXML("colour", "red") + "</PROPERTIES></application>";
    app->setProperty("kept", "yes");
    app->unmarshal("<?xml version=\"1.0\"?>" + element);
    EXPECT_EQ(app->getProperty("colour") + app->getProperty("kept"), "redyes"); // assigned, not replaced
    EXPECT_EQ(countEvents("loadApplication:" + element), 1);

    // Another application can be filled from this one's text.
    const auto other = apptest::newApplicationId("other")->getApplication();
    other->unmarshal(app->marshal());
    EXPECT_EQ(other->getProperty("colour") + other->getProperty("kept") + std::to_string(countEvents("entry other")),
              "redyes1");

    // Without a loadable entry point it fails, after the properties were assigned.
    const auto third = apptest::newApplicationId("third")->getApplication();
    useTestPlugin(*third);
    third->setProperty("MOX_LIBRARY_METHOD", "noSuchEntryPoint");
    EXPECT_TRUE(moxtest::throwsMox([&] {
        third->unmarshal("<application><PROPERTIES>" + PropertiesImpl::propertyToXML("x", "1") + "</PROPERTIES></application>");
    }, -1004));
    EXPECT_EQ(third->getProperty("x"), "1");
}
