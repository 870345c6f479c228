// Callbacks, the password function, and properties on their way to the log service.
#include <cstdlib>
#include <stdexcept>

#include <mox/app.h>

#include "AppTesting.h"

using apptest::entryTexts;
using MOX::RT::SmartPointer;
using MOX::RT::Tracer;

namespace {

class ApplicationEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("MOX_LIBRARY_PATH");
        apptest::callPlugin("testsm_clear");
        app = apptest::newApplicationId(::testing::UnitTest::GetInstance()->current_test_info()->name())
                  ->getApplication();
    }
    void TearDown() override { Tracer::setSink({}); }

    SmartPointer<MOX::APP::IApplication> app;
};

struct Callback : MOX::APP::ApplicationCallback {};

} // namespace

TEST_F(ApplicationEvents, CallbacksRegisterOncePerEventIdAndKeepTheFirst)
{
    Callback first, second;
    app->registerCallback("b.event", &first);
    app->registerCallback("B.event", &second);
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::ObjectAlreadyExistsException>(
        [&] { app->registerCallback("b.event", &second); }, -1106, "MOX::APP::ApplicationImpl::registerCallback"));
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(
        [&] { app->registerCallback("c.event", nullptr); }, -1004, "MOX::APP::ApplicationImpl::registerCallback"));
    EXPECT_EQ(app->getCallbacks().at("b.event"), &first);
    EXPECT_EQ(app->getCallbackEventIds(), (MOX::Vector<std::string>{"B.event", "b.event"}));
    app->unregisterCallback("no.such.event");
    app->unregisterCallback("b.event");
    app->registerCallback("b.event", &second);
    EXPECT_EQ(app->getCallbacks().at("b.event"), &second);
}

TEST_F(ApplicationEvents, PasswordFunctionFailuresYieldAnEmptyPasswordAndATraceLine)
{
    struct Password : MOX::APP::PasswordFunction {
        std::string getPassword(unsigned int word, const std::string& prompt) override
        {
            if (word == 1)
                throw std::runtime_error("vault closed");
            return word == 2 ? throw 42 : prompt + " " + std::to_string(word);
        }
    } password;
    EXPECT_EQ(app->getMOXPassword(7), "");
    app->setPasswordFunction(&password);
    std::string traced;
    Tracer::setSink([&](const std::string&, const std::string& line) { traced += line + ";"; });
    EXPECT_EQ(app->getMOXPassword(7) + app->getMOXPassword(1) + app->getMOXPassword(2), "Enter keystash passphrase 7");
    EXPECT_EQ(traced, "Caught exception from password function: vault closed;"
                      "Caught unexpected exception from password function;");
}

TEST_F(ApplicationEvents, PropertiesReachTheLogServiceOnceBootstrappedAndPauseAndResumeNeverStaySideBySide)
{
    app->setProperty("MOX_LIBRARY_PATH", MOX_SM_SAMPLE_DIR);
    const auto log = app->getServiceHelper()->getLogService();
    ASSERT_FALSE(log.isNull());
    const std::size_t before = log->getEntries().size();
    app->setProperty("LogService.Pause.audit", "1");
    app->setProperty("LogService.Resume.audit", "1");
    EXPECT_EQ(app->getProperty("LogService.Pause.audit", "gone"), "1"); // only stored: no pair rule yet
    EXPECT_EQ(log->getEntries().size(), before);
    app->setBootstrapPath("/srv/cfg"); // not logged itself
    app->setProperty("LogService.Resume.net", "on");
    app->setProperty("LogService.Pause.audit", "on");
    EXPECT_EQ(app->getProperty("LogService.Resume.audit", "removed") + app->getProperty("LogService.Resume.net", "removed"),
              "removedon"); // another key stays
    EXPECT_EQ(log->getPausedKeys(), (MOX::Vector<std::string>{"audit"}));
    const auto texts = entryTexts(*log);
    EXPECT_EQ(std::vector<std::string>(texts.begin() + static_cast<long>(before), texts.end()),
              (std::vector<std::string>{"LogService.Resume.net=on", "LogService.Pause.audit=on"}));
}

TEST_F(ApplicationEvents, LogServiceFailuresOrAbsenceLeaveThePropertyStored)
{
    const auto failing = apptest::newApplicationId("log-throws")->getApplication();
    apptest::useTestPlugin(*failing, "log-throws");
    failing->setBootstrapPath("/srv/cfg");
    failing->getServiceManager();
    EXPECT_TRUE(moxtest::throwsMox([&] { failing->setProperty("LogService.Pause.k", "v"); }, -1006, "TestLog::submit"));
    EXPECT_EQ(failing->getProperty("LogService.Pause.k") + std::to_string(apptest::countEvents("extractKey")), "v1");

    apptest::useTestPlugin(*app, "no-log");
    app->setBootstrapPath("/srv/cfg");
    app->getServiceManager();
    app->setProperty("LogService.Resume.k", "1");
    app->setProperty("LogService.Pause.k", "1");
    EXPECT_EQ(app->getProperty("LogService.Resume.k", "removed"), "1"); // no pair rule without a log service
    EXPECT_EQ(apptest::countEvents("extractKey"), 1); // the failing application's only
}
