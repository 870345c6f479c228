// Callbacks, the password function, and properties on their way to the log service.
#include <cstdlib>
#include <stdexcept>

#include <mox/app.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationImpl.h"

using apptest::countEvents;
using apptest::entryTexts;
using MOX::APP::IApplication;
using MOX::EXCEPTIONS::InvalidArgumentException;
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

    /// Loads the sample service library, bootstrapped or not, and returns its log service.
    SmartPointer<MOX::I::ILogService> sampleLog(bool bootstrap)
    {
        app->setProperty("MOX_LIBRARY_PATH", apptest::sampleDir());
        if (bootstrap)
            app->setBootstrapPath("/srv/cfg");
        return app->getServiceHelper()->getLogService();
    }

    SmartPointer<IApplication> app;
};

struct Callback : MOX::APP::ApplicationCallback {};

} // namespace

TEST_F(ApplicationEvents, CallbacksRegisterOncePerEventIdAndKeepTheFirst)
{
    Callback first, second;
    app->registerCallback("b.event", &first);
    app->registerCallback("B.event", &second);
    app->registerCallback("a.event", &second);
    EXPECT_EQ(app->getCallbackEventIds(), (MOX::Vector<std::string>{"B.event", "a.event", "b.event"}));

    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::ObjectAlreadyExistsException>(
        [&] { app->registerCallback("b.event", &second); }, -1106, "MOX::APP::ApplicationImpl::registerCallback"));
    EXPECT_EQ(app->getCallbacks().at("b.event"), &first);
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::NullPointerException>(
        [&] { app->registerCallback("c.event", nullptr); }, -1004, "MOX::APP::ApplicationImpl::registerCallback"));
    EXPECT_EQ(app->getCallbacks().size(), 3u);

    app->unregisterCallback("no.such.event");
    app->unregisterCallback("b.event");
    EXPECT_EQ(app->getCallbackEventIds(), (MOX::Vector<std::string>{"B.event", "a.event"}));
    app->registerCallback("b.event", &second);
    EXPECT_EQ(app->getCallbacks().at("b.event"), &second);
}

TEST_F(ApplicationEvents, PasswordFunctionFailuresYieldAnEmptyPasswordAndATraceLine)
{
    struct Password : MOX::APP::PasswordFunction {
        std::string getPassword(unsigned int word, const std::string& prompt) override
        {
            calls.push_back(std::to_string(word) + " " + prompt);
            if (mode == 1)
                throw std::runtime_error("vault closed");
            if (mode == 2)
                throw 42;
            return "secret-" + std::to_string(word);
        }
        int mode = 0;
        std::vector<std::string> calls;
    } password;
    EXPECT_EQ(app->getMOXPassword(7), "");
    app->setPasswordFunction(&password);
    EXPECT_EQ(app->getMOXPassword(7), "secret-7");
    EXPECT_EQ(password.calls, std::vector<std::string>{"7 Enter keystash passphrase"});

    std::vector<std::string> traced;
    Tracer::setSink([&](const std::string& scope, const std::string& line) {
        if (scope == "ApplicationImpl::getMOXPassword")
            traced.push_back(line);
    });
    password.mode = 1;
    EXPECT_EQ(app->getMOXPassword(1), "");
    password.mode = 2;
    EXPECT_EQ(app->getMOXPassword(2), "");
    EXPECT_EQ(traced, (std::vector<std::string>{"Caught exception from password function: vault closed",
                                                "Caught unexpected exception from password function"}));
    EXPECT_EQ(password.calls.size(), 3u);
}

TEST_F(ApplicationEvents, PropertiesReachTheLogServiceOnlyOnceBootstrappedAndLoaded)
{
    const auto log = sampleLog(false);
    ASSERT_FALSE(log.isNull());
    auto expected = entryTexts(*log);
    app->setProperty("LogService.Pause.audit", "1");
    app->setProperty("LogService.Resume.audit", "1");
    EXPECT_EQ(app->getProperty("LogService.Pause.audit", "gone"), "1"); // only stored: the resume did not remove it
    EXPECT_EQ(entryTexts(*log), expected);
    app->setBootstrapPath("/srv/cfg"); // not logged itself
    EXPECT_EQ(entryTexts(*log), expected);
    app->setProperty("colour", "red");
    expected.push_back("colour=red");
    EXPECT_EQ(entryTexts(*log), expected);
}

TEST_F(ApplicationEvents, PauseAndResumeOfOneKeyNeverStaySideBySide)
{
    const auto log = sampleLog(true);
    ASSERT_FALSE(log.isNull());
    const std::size_t before = log->getEntries().size();
    app->setProperty("LogService.Resume.audit", "on");
    app->setProperty("LogService.Resume.net", "on");
    app->setProperty("LogService.Pause.audit", "on");
    EXPECT_EQ(app->getProperty("LogService.Resume.audit", "removed") + app->getProperty("LogService.Resume.net", "removed"),
              "removedon"); // another key stays
    EXPECT_EQ(log->getPausedKeys(), (MOX::Vector<std::string>{"audit"}));

    // Each setting reaches the log service; the pair rule only removes the stored property.
    const auto texts = entryTexts(*log);
    EXPECT_EQ(std::vector<std::string>(texts.begin() + static_cast<long>(before), texts.end()),
              (std::vector<std::string>{"LogService.Resume.audit=on", "LogService.Resume.net=on",
                                        "LogService.Pause.audit=on"}));
}

TEST_F(ApplicationEvents, LogServiceFailuresOrAbsenceLeaveThePropertyStored)
{
    apptest::useTestPlugin(*app, "log-throws");
    app->setBootstrapPath("/srv/cfg");
    app->getServiceManager();
    EXPECT_THROW(app->setProperty("LogService.Pause.k", "v"), InvalidArgumentException);
    EXPECT_EQ(app->getProperty("LogService.Pause.k"), "v");
    // extractKey ran before the failing submit.
    EXPECT_EQ(apptest::pluginEvents().back(), "submit:LogService.Pause.k=v");
    EXPECT_EQ(countEvents("extractKey:LogService.Pause.k|LogService.Pause"), 1);

    // A helper without a log service: properties are only stored, no key is extracted.
    const auto other = apptest::newApplicationId("no-log")->getApplication();
    apptest::useTestPlugin(*other, "no-log");
    other->setBootstrapPath("/srv/cfg");
    other->getServiceManager();
    other->setProperty("LogService.Resume.k", "1");
    other->setProperty("LogService.Pause.k", "1");
    EXPECT_EQ(other->getProperty("LogService.Resume.k", "removed"), "1"); // no pair rule without a log service
    EXPECT_EQ(countEvents("extractKey"), 1);
}
