#include <cstdlib>
#include <stdexcept>
#include <utility>

#include <mox/app.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationImpl.h"

using apptest::entryTexts;
using apptest::expectThrow;
using MOX::APP::ApplicationCallback;
using MOX::APP::IApplication;
using MOX::APP::PasswordFunction;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::EXCEPTIONS::ObjectAlreadyExistsException;
using MOX::RT::SmartPointer;
using MOX::RT::Tracer;

namespace {

class ApplicationEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("MOX_LIBRARY_PATH");
        apptest::clearPluginEvents();
        app = apptest::newApplicationId(::testing::UnitTest::GetInstance()->current_test_info()->name())
                  ->getApplication();
    }
    void TearDown() override { Tracer::setSink({}); }

    /// Points the application at the sample service library.
    void useSample() { app->setProperty("MOX_LIBRARY_PATH", apptest::sampleDir()); }

    /// Collects the trace lines of `scope`.
    void captureTrace(const std::string& scope)
    {
        Tracer::setSink([this, scope](const std::string& s, const std::string& line) {
            if (s == scope)
                traced.push_back(line);
        });
    }

    SmartPointer<IApplication> app;
    std::vector<std::string> traced;
};

struct Callback : ApplicationCallback {};

class ScriptedPassword : public PasswordFunction {
public:
    std::string getPassword(unsigned int word, const std::string& prompt) override
    {
        calls.emplace_back(word, prompt);
        if (mode == 1)
            throw std::runtime_error("vault closed");
        if (mode == 2)
            throw 42;
        return "secret-" + std::to_string(word);
    }
    int mode = 0;
    std::vector<std::pair<unsigned int, std::string>> calls;
};

} // namespace

TEST_F(ApplicationEvents, CallbacksRegisterOncePerEventIdAndKeepTheFirst)
{
    Callback first, second;
    app->registerCallback("b.event", &first);
    app->registerCallback("B.event", &second);
    app->registerCallback("a.event", &second);
    EXPECT_EQ(app->getCallbackEventIds(), (MOX::Vector<std::string>{"B.event", "a.event", "b.event"}));

    const auto duplicate = expectThrow<ObjectAlreadyExistsException>([&] { app->registerCallback("b.event", &second); });
    apptest::expectFullForm(duplicate, "ObjectAlreadyExistsException", -1106,
                            "Registration already exists for the eventId", "MOX::APP::ApplicationImpl::registerCallback");
    EXPECT_EQ(duplicate.getFirst(), "b.event");
    EXPECT_EQ(duplicate.getSecond(), "b.event");
    EXPECT_EQ(app->getCallbacks().at("b.event"), &first);

    const auto null = expectThrow<InvalidArgumentException>([&] { app->registerCallback("c.event", nullptr); });
    apptest::expectFullForm(null, "InvalidArgumentException", -1004, apptest::kNullPointer,
                            "MOX::APP::ApplicationImpl::registerCallback");
    EXPECT_EQ(app->getCallbacks().count("c.event"), 0u);
    EXPECT_EQ(app->getCallbacks().size(), 3u);

    // getCallbacks is a copy.
    auto copy = app->getCallbacks();
    copy.clear();
    EXPECT_EQ(app->getCallbacks().size(), 3u);

    app->unregisterCallback("no.such.event");
    EXPECT_EQ(app->getCallbacks().size(), 3u);
    app->unregisterCallback("b.event");
    EXPECT_EQ(app->getCallbackEventIds(), (MOX::Vector<std::string>{"B.event", "a.event"}));
    app->registerCallback("b.event", &second);
    EXPECT_EQ(app->getCallbacks().at("b.event"), &second);
}

TEST_F(ApplicationEvents, PasswordFunctionFailuresYieldAnEmptyPasswordAndATraceLine)
{
    EXPECT_EQ(app->getMOXPassword(7), "");

    ScriptedPassword password;
    app->setPasswordFunction(&password);
    EXPECT_EQ(app->getMOXPassword(7), "secret-7");
    ASSERT_EQ(password.calls.size(), 1u);
    EXPECT_EQ(password.calls[0].first, 7u);
    EXPECT_EQ(password.calls[0].second, "Enter keystash passphrase");

    captureTrace("ApplicationImpl::getMOXPassword");
    password.mode = 1;
    EXPECT_EQ(app->getMOXPassword(1), "");
    password.mode = 2;
    EXPECT_EQ(app->getMOXPassword(2), "");
    EXPECT_EQ(traced, (std::vector<std::string>{"Caught exception from password function: vault closed",
                                                "Caught unexpected exception from password function"}));

    app->setPasswordFunction(nullptr);
    password.mode = 0;
    EXPECT_EQ(app->getMOXPassword(3), "");
    EXPECT_EQ(password.calls.size(), 3u);
}

TEST_F(ApplicationEvents, PropertiesReachTheLogServiceOnlyOnceBootstrappedAndLoaded)
{
    useSample();
    // Loaded without a bootstrap path: properties are only stored.
    const auto helper = app->getServiceHelper();
    ASSERT_FALSE(helper.isNull());
    const auto log = helper->getLogService();
    ASSERT_FALSE(log.isNull());
    const auto startEntries = entryTexts(*log);
    app->setProperty("LogService.Pause.audit", "1");
    app->setProperty("LogService.Resume.audit", "1");
    EXPECT_EQ(app->getProperty("LogService.Pause.audit", "gone"), "1");
    EXPECT_EQ(app->getProperty("LogService.Resume.audit", "gone"), "1");
    EXPECT_EQ(entryTexts(*log), startEntries);

    // Bootstrapped (setBootstrapPath itself is not logged): every change is logged.
    app->setBootstrapPath("/srv/cfg");
    EXPECT_EQ(entryTexts(*log), startEntries);
    app->setProperty("colour", "red");
    auto expected = startEntries;
    expected.push_back("colour=red");
    EXPECT_EQ(entryTexts(*log), expected);
}

TEST_F(ApplicationEvents, PauseAndResumeOfOneKeyNeverStaySideBySide)
{
    useSample();
    app->setBootstrapPath("/srv/cfg");
    const auto manager = app->getServiceManager();
    const auto log = app->getServiceHelper()->getLogService();
    ASSERT_FALSE(log.isNull());
    EXPECT_TRUE(manager->getService("LogService").sharesWith(log));
    const std::size_t before = log->getEntries().size();

    app->setProperty("LogService.Resume.audit", "on");
    app->setProperty("LogService.Resume.net", "on");
    app->setProperty("LogService.Pause.audit", "on");
    EXPECT_EQ(app->getProperty("LogService.Resume.audit", "removed"), "removed");
    EXPECT_EQ(app->getProperty("LogService.Pause.audit", "removed"), "on");
    EXPECT_EQ(app->getProperty("LogService.Resume.net", "removed"), "on"); // another key stays
    EXPECT_EQ(log->getPausedKeys(), (MOX::Vector<std::string>{"audit"}));

    // While "audit" is paused the sample drops its entries; other keys go through.
    app->setProperty("audit.login", "alice");
    app->setProperty("auditor", "bob");
    app->setProperty("LogService.Resume.audit", "on");
    EXPECT_EQ(app->getProperty("LogService.Pause.audit", "removed"), "removed");
    EXPECT_TRUE(log->getPausedKeys().empty());
    app->setProperty("audit.logout", "alice");

    const auto texts = entryTexts(*log);
    EXPECT_EQ(std::vector<std::string>(texts.begin() + static_cast<long>(before), texts.end()),
              (std::vector<std::string>{"LogService.Resume.audit=on", "LogService.Resume.net=on",
                                        "LogService.Pause.audit=on", "auditor=bob", "LogService.Resume.audit=on",
                                        "audit.logout=alice"}));
    // The properties themselves are all stored, logged or not.
    EXPECT_EQ(app->getProperty("audit.login"), "alice");
}

TEST_F(ApplicationEvents, TheSampleExtractsTheKeyAfterThePrefixAndItsDot)
{
    useSample();
    const auto log = app->getServiceHelper()->getLogService();
    ASSERT_FALSE(log.isNull());
    EXPECT_EQ(log->extractKey("LogService.Pause.audit", "LogService.Pause"), "audit");
    EXPECT_EQ(log->extractKey("LogService.Pause.a.b", "LogService.Pause"), "a.b");
    EXPECT_EQ(log->extractKey("LogService.Pause", "LogService.Pause"), "");
    EXPECT_EQ(log->extractKey("LogService.PauseX", "LogService.Pause"), "");
    EXPECT_EQ(log->extractKey("Other.audit", "LogService.Pause"), "");
    // An entry of another log service is refused.
    EXPECT_THROW(log->submit(SmartPointer<MOX::Object>()), InvalidArgumentException);
}

TEST_F(ApplicationEvents, LogServiceFailuresReachTheCallerAfterThePropertyIsStored)
{
    apptest::useTestPlugin(*app, "log-throws");
    app->setBootstrapPath("/srv/cfg");
    app->getServiceManager();
    EXPECT_THROW(app->setProperty("LogService.Pause.k", "v"), InvalidArgumentException);
    EXPECT_EQ(app->getProperty("LogService.Pause.k"), "v");
    // extractKey ran before the failing submit.
    EXPECT_EQ(apptest::countEvents("extractKey:LogService.Pause.k|LogService.Pause"), 1);
    EXPECT_EQ(apptest::countEvents("submit:LogService.Pause.k=v"), 1);
}

TEST_F(ApplicationEvents, AHelperWithoutLogServiceOnlyStoresProperties)
{
    apptest::useTestPlugin(*app, "no-log");
    app->setBootstrapPath("/srv/cfg");
    app->getServiceManager();
    app->setProperty("LogService.Resume.k", "1");
    app->setProperty("LogService.Pause.k", "1");
    EXPECT_EQ(app->getProperty("LogService.Resume.k", "removed"), "1");
    EXPECT_EQ(apptest::countEvents("extractKey"), 0);
}
