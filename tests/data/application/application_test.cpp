// The application object: paths, service library loading and its failures, shutdown,
// and the XML form.
#include <algorithm>
#include <cstdlib>
#include <tuple>

#include <mox/app.h>
#include <mox/rt/XmlUtils.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationImpl.h"

using apptest::countEvents;
using apptest::failure;
using apptest::pluginEvents;
using apptest::useTestPlugin;
using MOX::APP::ApplicationImpl;
using MOX::APP::IApplication;
using MOX::RT::PropertiesImpl;
using MOX::RT::SmartPointer;
using MOX::RT::XmlUtils;

namespace {

class Application : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("MOX_LIBRARY_PATH");
        apptest::clearPluginEvents();
        id = apptest::newApplicationId(::testing::UnitTest::GetInstance()->current_test_info()->name());
        app = id->getApplication();
        impl = app.dynamicCast<ApplicationImpl>();
        ASSERT_FALSE(impl.isNull());
    }

    SmartPointer<MOX::APP::IApplicationId> id;
    SmartPointer<IApplication> app;
    SmartPointer<ApplicationImpl> impl;
};

} // namespace

TEST_F(Application, BootstrapAndLibraryPaths)
{
    EXPECT_FALSE(app->hasBootstrapPath());
    app->setBootstrapPath("/opt/app");
    EXPECT_TRUE(app->hasBootstrapPath());
    EXPECT_EQ(app->getProperty("path.config", "none"), "/opt/app");
    // Plain names go below the bootstrap path; anything with a separator stays.
    app->setProperty("trust.file", "trust.pem");
    app->setProperty("keys.file", "/etc/keys.pem");
    const std::pair<std::string, const char*> resolved[] = {
        {app->resolvePath("conf/x.xml"), "conf/x.xml"}, {app->resolvePath("a\\b"), "a\\b"},
        // getConfigPath resolves the property's value, or the name itself when unset.
        {app->getConfigPath("trust.file"), "/opt/app/trust.pem"}, {app->getConfigPath("keys.file"), "/etc/keys.pem"},
        {app->getConfigPath("unset.xml"), "/opt/app/unset.xml"}};
    for (const auto& [got, expected] : resolved)
        EXPECT_EQ(got, expected);
    app->setBootstrapPath("");
    EXPECT_FALSE(app->hasBootstrapPath());

    // The library path joins the property and the environment variable.
    EXPECT_EQ(app->getLibraryPath(), "");
    app->setProperty("MOX_LIBRARY_PATH", "/p");
    setenv("MOX_LIBRARY_PATH", "/q", 1);
    EXPECT_EQ(app->getLibraryPath(), "/p;/q");
    // Another variable named by MOX_LIBRARY_ENV replaces the default one.
    setenv("MOX_TEST_OTHER_PATH", "/r", 1);
    app->setProperty("MOX_LIBRARY_ENV", "MOX_TEST_OTHER_PATH");
    app->setProperty("MOX_LIBRARY_PATH", "/p");
    EXPECT_EQ(app->getLibraryPath(), "/p;/r");
    unsetenv("MOX_TEST_OTHER_PATH");
    EXPECT_EQ(app->getLibraryPath(), "/p");
    unsetenv("MOX_LIBRARY_PATH");
}

TEST_F(Application, ServiceManagerNeedsTheBootstrapPathAndThenLoadsOnce)
{
    useTestPlugin(*app);
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::SystemException>([&] { app->getServiceManager(); }, -1088,
                                                                     "MOX::APP::ApplicationImpl::initialize"));
    EXPECT_FALSE(impl->isInitialized());
    EXPECT_EQ(countEvents("entry"), 0); // nothing was loaded

    app->setBootstrapPath("/etc/test");
    const auto manager = MOX::getServiceManager(id);
    ASSERT_FALSE(manager.isNull());
    EXPECT_TRUE(impl->isInitialized());
    EXPECT_TRUE(app->getServiceManager().sharesWith(manager));
    app->initialize(); // already initialized: nothing
    EXPECT_EQ(pluginEvents(), (std::vector<std::string>{"entry " + id->getName(), "start", "getServiceManager"}));
}

TEST_F(Application, ShutdownDropsHelperThenManagerKeepsTheRestAndTheNextCallReloads)
{
    useTestPlugin(*app);
    // The helper loads without a bootstrap path; with no service manager obtained, shutdown does nothing.
    const auto unbooted = app->getServiceHelper();
    app->shutdown();
    EXPECT_TRUE(app->getServiceHelper().sharesWith(unbooted));
    EXPECT_EQ(countEvents("~helper"), 0);

    app->setBootstrapPath("/etc/test");
    const auto first = app->getServiceManager();
    app->setUserData1(11);
    app->shutdown();
    EXPECT_FALSE(impl->isInitialized());
    // We still hold both, so nothing is destroyed yet; the application let go of them.
    EXPECT_EQ(unbooted.useCount(), 1);
    EXPECT_EQ(countEvents("~"), 0);
    // User words and properties stay.
    EXPECT_EQ(app->getUserData1(), 11u);
    EXPECT_EQ(app->getBootstrapPath(), "/etc/test");

    auto second = app->getServiceManager();
    EXPECT_FALSE(second.sharesWith(first));
    EXPECT_EQ(countEvents("start"), 2);
    second = nullptr;
    app->shutdown();
    app->shutdown(); // a second shutdown has nothing to drop
    // The application held the second helper and manager alone: the helper went first,
    // while the manager still had both owners (the application and the helper).
    const auto events = pluginEvents();
    const std::vector<std::string> tail(events.end() - std::min<std::size_t>(3, events.size()), events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"~helper managerOwners=2", "~log", "~manager"}));
}

TEST_F(Application, LoadFailuresLeaveTheApplicationUninitialisedAndALaterCallRetries)
{
    app->setBootstrapPath("/etc/test");
    app->setProperty("MOX_LIBRARY_FILE", "MOX-SM-missing");
    app->setProperty("MOX_LIBRARY_PATH", apptest::testPluginDir());
    try {
        app->getServiceManager();
        ADD_FAILURE() << "no exception";
    } catch (const MOX::EXCEPTIONS::SystemException& e) { // names the library and the places tried
        EXPECT_NE(std::string(e.what()).find(apptest::testPluginDir() + "/libMOX-SM-missing.so"), std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(impl->isInitialized());

    useTestPlugin(*app);
    app->setProperty("MOX_LIBRARY_METHOD", "noSuchEntryPoint");
    EXPECT_TRUE(app->getServiceHelper().isNull());
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::NullPointerException>([&] { app->getServiceManager(); }, -1004,
                                                                          "MOX::RT::checkDeref"));
    EXPECT_FALSE(impl->isInitialized());
    EXPECT_EQ(countEvents("entry"), 0);
    app->removeProperty("MOX_LIBRARY_METHOD");

    // Failures of the service side pass through; each later call tries again.
    const std::tuple<const char*, std::string, bool> rows[] = {
        {"entry-throws", "UnexpectedException -1040 TestSM::loadServiceHelper", false},
        {"start-throws", "InvalidArgumentException -1075 TestHelper::start", false},
        // The helper started; only the manager failed.
        {"manager-throws", "SystemException -1040 TestHelper::getServiceManager", true},
        // Still initialized with the failing helper: asking again goes to that same helper.
        {"", "SystemException -1040 TestHelper::getServiceManager", true},
    };
    for (const auto& [mode, expected, initialized] : rows) {
        app->setProperty("TestSM.Mode", mode);
        EXPECT_EQ(failure([&] { app->getServiceManager(); }), expected) << mode;
        EXPECT_EQ(impl->isInitialized(), initialized) << mode;
    }
    EXPECT_EQ(countEvents("entry"), 3);
}

TEST_F(Application, UnmarshalAssignsPropertiesLoadsTheLibraryAndHandsItTheElement)
{
    // The element itself chooses the service library.
    const std::string element = "<application>" + id->marshal() + "<PROPERTIES>" +
                                PropertiesImpl::propertyToXML("MOX_LIBRARY_FILE", "MOX-SM-test") +
                                PropertiesImpl::propertyToXML("MOX_LIBRARY_PATH", apptest::testPluginDir()) +
                                PropertiesImpl::propertyToXML("colour", "red") + "</PROPERTIES></application>";
    app->setProperty("kept", "yes");
    app->unmarshal("<?xml version=\"1.0\"?>" + element);
    EXPECT_EQ(app->getProperty("colour") + app->getProperty("kept"), "redyes"); // assigned, not replaced
    EXPECT_TRUE(impl->isInitialized());
    EXPECT_EQ(pluginEvents(), (std::vector<std::string>{"entry " + id->getName(), "start", "loadApplication:" + element}));

    // Another application can be filled from this one's text: the app-id first, then the properties.
    const std::string xml = app->marshal();
    EXPECT_EQ(XmlUtils::GetElement("app-id", xml), id->marshal());
    EXPECT_LT(xml.find("<app-id"), xml.find("PROPERTY"));
    const auto other = apptest::newApplicationId("other")->getApplication();
    other->unmarshal(xml);
    EXPECT_EQ(other->getProperty("colour") + other->getProperty("kept"), "redyes");
    EXPECT_EQ(countEvents("entry other"), 1);

    // Without a loadable entry point it fails, after the properties were assigned.
    const auto third = apptest::newApplicationId("third")->getApplication();
    useTestPlugin(*third);
    third->setProperty("MOX_LIBRARY_METHOD", "noSuchEntryPoint");
    EXPECT_EQ(failure([&] {
                  third->unmarshal("<application><PROPERTIES>" + PropertiesImpl::propertyToXML("x", "1") +
                                   "</PROPERTIES></application>");
              }).substr(0, 26),
              "NullPointerException -1004");
    EXPECT_EQ(third->getProperty("x"), "1");
    EXPECT_EQ(countEvents("loadApplication"), 2); // both earlier applications', none of this one
}
