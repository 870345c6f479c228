#include <algorithm>
#include <cstdlib>

#include <mox/app.h>
#include <mox/rt/XmlUtils.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationImpl.h"

using apptest::countEvents;
using apptest::expectThrow;
using apptest::pluginEvents;
using apptest::useTestPlugin;
using MOX::APP::ApplicationImpl;
using MOX::APP::IApplication;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::EXCEPTIONS::NullPointerException;
using MOX::EXCEPTIONS::SystemException;
using MOX::EXCEPTIONS::UnexpectedException;
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

TEST_F(Application, BootstrapPathAndPathResolution)
{
    EXPECT_FALSE(app->hasBootstrapPath());
    EXPECT_EQ(app->getBootstrapPath(), "");
    app->setBootstrapPath("/opt/app");
    EXPECT_TRUE(app->hasBootstrapPath());
    EXPECT_EQ(app->getBootstrapPath(), "/opt/app");
    EXPECT_EQ(app->getProperty("path.config", "none"), "/opt/app");

    EXPECT_EQ(app->resolvePath("x.xml"), "/opt/app/x.xml");
    EXPECT_EQ(app->resolvePath("conf/x.xml"), "conf/x.xml");
    EXPECT_EQ(app->resolvePath("a\\b"), "a\\b");
    EXPECT_EQ(app->resolvePath("/abs/y"), "/abs/y");

    // getConfigPath resolves the property's value, or the name itself when unset.
    app->setProperty("trust.file", "trust.pem");
    app->setProperty("keys.file", "/etc/keys.pem");
    EXPECT_EQ(app->getConfigPath("trust.file"), "/opt/app/trust.pem");
    EXPECT_EQ(app->getConfigPath("keys.file"), "/etc/keys.pem");
    EXPECT_EQ(app->getConfigPath("unset.xml"), "/opt/app/unset.xml");

    app->setBootstrapPath("");
    EXPECT_FALSE(app->hasBootstrapPath());
}

TEST_F(Application, LibraryPathFromPropertyAndEnvironment)
{
    EXPECT_EQ(app->getLibraryPath(), "");
    app->setProperty("MOX_LIBRARY_PATH", "/p");
    EXPECT_EQ(app->getLibraryPath(), "/p");
    setenv("MOX_LIBRARY_PATH", "/q", 1);
    EXPECT_EQ(app->getLibraryPath(), "/p;/q");
    app->removeProperty("MOX_LIBRARY_PATH");
    EXPECT_EQ(app->getLibraryPath(), "/q");

    // Another variable named by MOX_LIBRARY_ENV replaces the default one.
    setenv("MOX_TEST_OTHER_PATH", "/r", 1);
    app->setProperty("MOX_LIBRARY_ENV", "MOX_TEST_OTHER_PATH");
    EXPECT_EQ(app->getLibraryPath(), "/r");
    app->setProperty("MOX_LIBRARY_PATH", "/p");
    EXPECT_EQ(app->getLibraryPath(), "/p;/r");
    unsetenv("MOX_TEST_OTHER_PATH");
    EXPECT_EQ(app->getLibraryPath(), "/p");
    unsetenv("MOX_LIBRARY_PATH");
}

TEST_F(Application, ServiceManagerNeedsTheBootstrapPathAndThenLoadsOnce)
{
    useTestPlugin(*app);
    const auto e = expectThrow<SystemException>([&] { app->getServiceManager(); });
    apptest::expectFullForm(e, "SystemException", -1088, apptest::kBootstrapPath, "MOX::APP::ApplicationImpl::initialize");
    EXPECT_FALSE(impl->isInitialized());
    EXPECT_EQ(countEvents("entry"), 0); // nothing was loaded
    EXPECT_THROW(app->initialize(), SystemException);

    app->setBootstrapPath("/etc/test");
    const auto manager = MOX::getServiceManager(id);
    ASSERT_FALSE(manager.isNull());
    EXPECT_TRUE(impl->isInitialized());
    EXPECT_EQ(manager->getServiceNames(), (MOX::Vector<std::string>{"TestService"}));
    EXPECT_TRUE(app->getServiceManager().sharesWith(manager));
    app->initialize(); // already initialized: nothing
    EXPECT_EQ(pluginEvents(), (std::vector<std::string>{"entry " + id->getName(), "start", "getServiceManager"}));
}

TEST_F(Application, ServiceHelperLoadsWithoutBootstrapPathAndShutdownLeavesIt)
{
    useTestPlugin(*app);
    const auto helper = app->getServiceHelper();
    ASSERT_FALSE(helper.isNull());
    EXPECT_EQ(helper->toString(), "TestHelper()");
    EXPECT_TRUE(impl->isInitialized());
    EXPECT_TRUE(app->getServiceHelper().sharesWith(helper));

    // No service manager was obtained: shutdown does nothing.
    app->shutdown();
    EXPECT_TRUE(app->getServiceHelper().sharesWith(helper));
    EXPECT_EQ(countEvents("~helper"), 0);
    EXPECT_EQ(countEvents("entry"), 1);
}

TEST_F(Application, ShutdownDropsHelperThenManagerAndTheNextCallReloads)
{
    useTestPlugin(*app);
    app->setBootstrapPath("/etc/test");
    const auto first = app->getServiceManager();
    const auto firstHelper = app->getServiceHelper();
    struct Callback : MOX::APP::ApplicationCallback {} callback;
    struct Password : MOX::APP::PasswordFunction {
        std::string getPassword(unsigned int, const std::string&) override { return "pw"; }
    } password;
    app->registerCallback("event", &callback);
    app->setPasswordFunction(&password);
    app->setUserData1(11);
    app->setUserData2(22);

    app->shutdown();
    EXPECT_FALSE(impl->isInitialized());
    // We still hold both, so nothing is destroyed yet; the application let go of them.
    EXPECT_EQ(firstHelper.useCount(), 1);
    EXPECT_EQ(countEvents("~"), 0);
    // Callbacks, password function, words and properties stay.
    EXPECT_EQ(app->getCallbackEventIds(), (MOX::Vector<std::string>{"event"}));
    EXPECT_EQ(app->getMOXPassword(0), "pw");
    EXPECT_EQ(app->getUserData1(), 11u);
    EXPECT_EQ(app->getUserData2(), 22u);
    EXPECT_EQ(app->getBootstrapPath(), "/etc/test");

    auto second = app->getServiceManager();
    EXPECT_FALSE(second.sharesWith(first));
    EXPECT_FALSE(app->getServiceHelper().sharesWith(firstHelper));
    EXPECT_EQ(countEvents("entry"), 2);
    EXPECT_EQ(countEvents("start"), 2);
    second = nullptr;
    app->shutdown();
    app->shutdown(); // a second shutdown has nothing to drop
    // Now the application held the second helper and manager alone: the helper went
    // first, while the manager still had both owners (the application and the helper).
    const auto events = pluginEvents();
    const std::vector<std::string> tail(events.end() - std::min<std::size_t>(3, events.size()), events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"~helper managerOwners=2", "~log", "~manager"}));
}

TEST_F(Application, LibraryNotFoundNamesItAndThePlacesTried)
{
    app->setBootstrapPath("/etc/test");
    app->setProperty("MOX_LIBRARY_FILE", "MOX-SM-missing");
    app->setProperty("MOX_LIBRARY_PATH", apptest::testPluginDir());
    const auto e = expectThrow<SystemException>([&] { app->getServiceManager(); });
    EXPECT_NE(std::string(e.what()).find("MOX-SM-missing"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(apptest::testPluginDir() + "/libMOX-SM-missing.so"), std::string::npos)
        << e.what();
    EXPECT_FALSE(impl->isInitialized());

    // Fixing the name makes the next call succeed.
    app->setProperty("MOX_LIBRARY_FILE", "MOX-SM-test");
    EXPECT_FALSE(app->getServiceManager().isNull());
    EXPECT_TRUE(impl->isInitialized());
}

TEST_F(Application, MissingEntryPointLeavesTheApplicationUninitialised)
{
    useTestPlugin(*app);
    app->setBootstrapPath("/etc/test");
    app->setProperty("MOX_LIBRARY_METHOD", "noSuchEntryPoint");
    EXPECT_TRUE(app->getServiceHelper().isNull());
    const auto e = expectThrow<NullPointerException>([&] { app->getServiceManager(); });
    EXPECT_EQ(e.getCode(), -1004);
    EXPECT_EQ(e.getMessage(), apptest::kNullPointer);
    EXPECT_FALSE(impl->isInitialized());
    EXPECT_EQ(countEvents("entry"), 0);

    app->removeProperty("MOX_LIBRARY_METHOD");
    EXPECT_FALSE(app->getServiceManager().isNull());
}

TEST_F(Application, FailuresOfTheServiceSidePassThroughAndALaterCallRetries)
{
    useTestPlugin(*app, "entry-throws");
    app->setBootstrapPath("/etc/test");
    auto unexpected = expectThrow<UnexpectedException>([&] { app->getServiceManager(); });
    EXPECT_EQ(unexpected.getCode(), -1040);
    EXPECT_EQ(unexpected.getFunction(), "TestSM::loadServiceHelper");
    EXPECT_FALSE(impl->isInitialized());

    app->setProperty("TestSM.Mode", "start-throws");
    const auto invalid = expectThrow<InvalidArgumentException>([&] { app->getServiceManager(); });
    EXPECT_EQ(invalid.getCode(), -1075);
    EXPECT_EQ(invalid.getFunction(), "TestHelper::start");
    EXPECT_FALSE(impl->isInitialized());

    app->setProperty("TestSM.Mode", "entry-null");
    const auto null = expectThrow<NullPointerException>([&] { app->getServiceManager(); });
    EXPECT_EQ(null.getCode(), -1004);
    EXPECT_FALSE(impl->isInitialized());

    app->setProperty("TestSM.Mode", "manager-throws");
    const auto system = expectThrow<SystemException>([&] { app->getServiceManager(); });
    EXPECT_EQ(system.getFunction(), "TestHelper::getServiceManager");
    EXPECT_TRUE(impl->isInitialized()); // the helper started; only the manager failed

    app->setProperty("TestSM.Mode", "");
    // Still initialized with the failing helper: asking again goes to that same helper.
    EXPECT_THROW(app->getServiceManager(), SystemException);
    EXPECT_EQ(countEvents("entry"), 4);
}

TEST_F(Application, XmlFormHoldsTheIdAndTheProperties)
{
    app->setBootstrapPath("/cfg");
    app->setProperty("colour", "blue & green");
    const std::string xml = app->marshal();
    EXPECT_EQ(app->toString(), xml);
    EXPECT_EQ(XmlUtils::GetElement("application", xml), xml);
    EXPECT_EQ(XmlUtils::GetElement("app-id", xml), id->marshal());
    const auto props = XmlUtils::getElements("PROPERTY", xml);
    ASSERT_EQ(props.size(), 2u);
    EXPECT_EQ(XmlUtils::GetAttributeValue("name", props[0]), "path.config");
    EXPECT_EQ(XmlUtils::GetAttributeValue("value", props[1]), "blue & green");
    // The app-id comes before the properties.
    EXPECT_LT(xml.find("<app-id"), xml.find("PROPERTY"));
}

TEST_F(Application, UnmarshalAssignsPropertiesLoadsTheLibraryAndHandsItTheElement)
{
    // The element itself chooses the service library.
    const std::string element = "<application>" + id->marshal() + "<PROPERTIES>" +
                                MOX::RT::PropertiesImpl::propertyToXML("MOX_LIBRARY_FILE", "MOX-SM-test") +
                                MOX::RT::PropertiesImpl::propertyToXML("MOX_LIBRARY_PATH", apptest::testPluginDir()) +
                                MOX::RT::PropertiesImpl::propertyToXML("colour", "red") + "</PROPERTIES></application>";
    app->setProperty("kept", "yes");
    app->unmarshal("<?xml version=\"1.0\"?>" + element);
    EXPECT_EQ(app->getProperty("colour"), "red");
    EXPECT_EQ(app->getProperty("kept"), "yes"); // assigned, not replaced
    EXPECT_TRUE(impl->isInitialized());
    EXPECT_EQ(pluginEvents(),
              (std::vector<std::string>{"entry " + id->getName(), "start", "loadApplication:" + element}));

    // A second unmarshal reuses the loaded helper.
    app->unmarshal(element);
    EXPECT_EQ(countEvents("entry"), 1);
    EXPECT_EQ(countEvents("loadApplication:"), 2);

    // Another application can be filled from this one's text.
    const auto other = apptest::newApplicationId("other")->getApplication();
    other->unmarshal(app->marshal());
    EXPECT_EQ(other->getProperty("colour"), "red");
    EXPECT_EQ(other->getProperty("kept"), "yes");
    EXPECT_EQ(countEvents("entry other"), 1);
}

TEST_F(Application, UnmarshalWithoutALoadableEntryPointFails)
{
    useTestPlugin(*app);
    app->setProperty("MOX_LIBRARY_METHOD", "noSuchEntryPoint");
    EXPECT_THROW(app->unmarshal("<application><PROPERTIES>" +
                                MOX::RT::PropertiesImpl::propertyToXML("x", "1") + "</PROPERTIES></application>"),
                 NullPointerException);
    EXPECT_EQ(app->getProperty("x"), "1"); // properties come first
    EXPECT_EQ(countEvents("loadApplication"), 0);
}
