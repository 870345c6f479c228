// SPDX-License-Identifier: MIT
// Product and application ids with their registry, the application object (paths,
// service library loading and its failures, shutdown, the XML form), callbacks, the
// password function, and properties on their way to the log service.
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <tuple>

#include <mox/app.h>
#include <mox/rt/XmlUtils.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationIdImpl.h"
#include "data/application/impl/ApplicationImpl.h"
#include "data/application/impl/ApplicationRegistry.h"

using MOX::APP::ApplicationIdImpl;
using MOX::APP::ApplicationImpl;
using MOX::APP::IProductId;
using MOX::RT::PropertiesImpl;
using MOX::RT::SmartPointer;
using apptest::countEvents;
using apptest::useTestPlugin;

namespace {

std::string fields(const IProductId& p) { return p.getName() + "|" + p.getComponent() + "|" + p.getVersion(); }
std::size_t registered() { return MOX::APP::ApplicationRegistry::instance().size(); }

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

struct Callback : MOX::APP::ApplicationCallback {};

} // namespace

TEST(ApplicationId, EquivalentIdsAreOneRegisteredInstanceWithOneApplication)
{
    const std::size_t before = registered();
    const auto a = MOX::createApplicationId(MOX::createProductId("P", "c", "1"), "app");
    EXPECT_TRUE(MOX::parseApplicationId(a->marshal()).sharesWith(a));
    EXPECT_TRUE(MOX::getApplication(a).sharesWith(a->getApplication()));
    const auto otherVersion = MOX::createApplicationId(MOX::createProductId("P", "c", "2"), "app");
    EXPECT_FALSE(otherVersion.sharesWith(a));
    EXPECT_FALSE(otherVersion->getApplication().sharesWith(a->getApplication()));
    EXPECT_EQ(registered(), before + 2);
    EXPECT_TRUE(a->lessThan(*otherVersion)); // by product first
    EXPECT_FALSE(otherVersion->lessThan(*a));
}

TEST(ProductId, ParsingReadsTheFirstElementWithItsDefaults)
{
    EXPECT_EQ(fields(*MOX::parseProductId("<w><product name=\"A&amp;B\"/><product name=\"2\"/></w>")), "A&B||1.0");
}

TEST(ProductId, MatchTakesTheOtherAsPatterns)
{
    const auto suite = MOX::createProductId("Suite", "core", "1.5");
    EXPECT_TRUE(suite->matches(MOX::createProductId("S*", "c?re", "1.*")));
    EXPECT_FALSE(suite->matches(MOX::createProductId("S*", "core", "2.*")));
}

TEST(ApplicationId, FailuresRegisterNothingAndChangeNothing)
{
    const std::size_t before = registered();
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[] { MOX::createProductId("n", "c", ""); }, "MOX::createProductId"},
        {[] { MOX::createApplicationId(SmartPointer<IProductId>(), "x"); }, "MOX::createApplicationId"},
        {[] { MOX::parseApplicationId(""); }, "MOX::parseApplicationId"},
        // No product element: the product text is empty, so the product parser's exception comes out.
        {[] { MOX::parseApplicationId("<app-id name=\"a\"/>"); }, "MOX::parseProductId"}};
    for (const auto& [f, function] : rows)
        EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(f, -1006, function)) << function;
    EXPECT_EQ(registered(), before);
    ApplicationIdImpl id(MOX::createProductId("Keep", "", "1"), "kept");
    EXPECT_THROW(id.unmarshal("<app-id name=\"changed\"/>"), MOX::EXCEPTIONS::InvalidArgumentException);
    EXPECT_EQ(id.getName(), "kept");
    EXPECT_TRUE(moxtest::throwsMox([] { ApplicationIdImpl().marshal(); }, -1004)); // no product: cannot be written
}

TEST_F(Application, PlainNamesResolveBelowTheBootstrapPath)
{
    // Plain names go below the bootstrap path; anything with a separator stays.
    app->setBootstrapPath("/opt/app");
    app->setProperty("keys.file", "/etc/keys.pem");
    EXPECT_EQ(app->getProperty("path.config") + "|" + app->resolvePath("a\\b") + "|" + app->getConfigPath("keys.file") +
                  "|" + app->getConfigPath("unset.xml"),
              "/opt/app|a\\b|/etc/keys.pem|/opt/app/unset.xml");
}

TEST_F(Application, TheLibraryPathJoinsThePropertyAndTheEnvironment)
{
    // The library path joins the property and the environment variable that
    // MOX_LIBRARY_ENV names (MOX_LIBRARY_PATH by default).
    app->setProperty("MOX_LIBRARY_PATH", "/p");
    setenv("MOX_LIBRARY_PATH", "/q", 1);
    EXPECT_EQ(app->getLibraryPath(), "/p;/q");
    app->setProperty("MOX_LIBRARY_ENV", "MOX_TEST_OTHER_PATH");
    EXPECT_EQ(app->getLibraryPath(), "/p");
}

TEST_F(Application, TheServiceLibraryLoadsOnceAndShutdownDropsTheHelperThenTheManager)
{
    useTestPlugin(*app);
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::SystemException>([&] { app->getServiceManager(); }, -1088,
                                                                     "MOX::APP::ApplicationImpl::initialize"));
    EXPECT_EQ(countEvents("entry"), 0); // no bootstrap path: nothing was loaded
    app->setBootstrapPath("/etc/test");
    const auto first = MOX::getServiceManager(id);
    EXPECT_TRUE(app->getServiceManager().sharesWith(first));
    app->initialize(); // already initialized: nothing
    EXPECT_EQ(countEvents("entry"), 1);
    const auto helper = app->getServiceHelper();
    app->setUserData1(11);
    app->shutdown();
    EXPECT_FALSE(impl->isInitialized());
    EXPECT_EQ(countEvents("~") + app->getUserData1(), 11u); // we still hold both; user words and properties stay

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
    EXPECT_THROW(app->getServiceManager(), MOX::EXCEPTIONS::SystemException);
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
}

TEST_F(Application, UnmarshalWithoutAnEntryPointFailsAfterAssigningTheProperties)
{
    useTestPlugin(*app);
    app->setProperty("MOX_LIBRARY_METHOD", "noSuchEntryPoint");
    EXPECT_TRUE(moxtest::throwsMox([&] {
        app->unmarshal("<application><PROPERTIES>" + PropertiesImpl::propertyToXML("x", "1") + "</PROPERTIES></application>");
    }, -1004));
    EXPECT_EQ(app->getProperty("x"), "1");
}

TEST_F(Application, CallbacksRegisterOncePerEventIdAndKeepTheFirst)
{
    Callback first, second;
    app->registerCallback("b.event", &first);
    app->registerCallback("B.event", &second);
    EXPECT_TRUE(moxtest::throwsMox([&] { app->registerCallback("b.event", &second); }, -1106));
    EXPECT_TRUE(moxtest::throwsMox([&] { app->registerCallback("c.event", nullptr); }, -1004));
    EXPECT_EQ(app->getCallbackEventIds(), (MOX::Vector<std::string>{"B.event", "b.event"}));
    app->unregisterCallback("b.event");
    app->registerCallback("b.event", &second);
    EXPECT_EQ(app->getCallbacks().at("b.event"), &second);
}

TEST_F(Application, PasswordFunctionFailuresYieldAnEmptyPassword)
{
    struct Password : MOX::APP::PasswordFunction {
        std::string getPassword(unsigned int word, const std::string& prompt) override
        {
            return word == 1 ? throw std::runtime_error("vault closed") : word == 2 ? throw 42 : prompt + " " + std::to_string(word);
        }
    } password;
    app->setPasswordFunction(&password);
    EXPECT_EQ(app->getMOXPassword(7) + "|" + app->getMOXPassword(1) + "|" + app->getMOXPassword(2),
              "Enter keystash passphrase 7||");
}

TEST_F(Application, PropertiesReachTheLogServiceOnceBootstrapped)
{
    app->setProperty("MOX_LIBRARY_PATH", MOX_SM_SAMPLE_DIR);
    const auto log = app->getServiceHelper()->getLogService();
    ASSERT_FALSE(log.isNull());
    const std::size_t before = log->getEntries().size();
    app->setProperty("LogService.Pause.audit", "1");
    app->setProperty("LogService.Resume.audit", "1");
    EXPECT_EQ(app->getProperty("LogService.Pause.audit", "gone"), "1"); // only stored: no pair rule yet
    app->setBootstrapPath("/srv/cfg"); // not logged itself
    app->setProperty("LogService.Resume.net", "on");
    app->setProperty("LogService.Pause.audit", "on");
    // Pause and resume of a key never stay side by side; another key's stays.
    EXPECT_EQ(app->getProperty("LogService.Resume.audit", "removed") + app->getProperty("LogService.Resume.net"), "removedon");
    EXPECT_EQ(log->getPausedKeys(), (MOX::Vector<std::string>{"audit"}));
    const auto entries = log->getEntries(); // each setting after the bootstrap path, and only those
    ASSERT_EQ(entries.size(), before + 2);
    EXPECT_EQ(entries[before]->toString() + "|" + entries[before + 1]->toString(),
              "LogService.Resume.net=on|LogService.Pause.audit=on");
}

TEST_F(Application, LogServiceFailuresLeaveThePropertyStored)
{
    const auto failing = apptest::newApplicationId("log-throws")->getApplication();
    apptest::useTestPlugin(*failing, "log-throws");
    failing->setBootstrapPath("/srv/cfg");
    failing->getServiceManager();
    EXPECT_TRUE(moxtest::throwsMox([&] { failing->setProperty("LogService.Pause.k", "v"); }, -1006, "TestLog::submit"));
    EXPECT_EQ(failing->getProperty("LogService.Pause.k"), "v");
}
