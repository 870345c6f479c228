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
            if (mode == 1)
                throw std::runtime_error("vault closed");
            if (mode == 2)
                throw 42;
            return prompt + " " + std::to_string(word);
        }
        int mode = 0;
    } password;
    EXPECT_EQ(app->getMOXPassword(7), "");
    app->setPasswordFunction(&password);
    EXPECT_EQ(app->getMOXPassword(7), "Enter keystash passphrase 7");
    std::vector<std::string> traced;
    Tracer::setSink([&](const std::string& scope, const std::string& line) {
        if (scope == "ApplicationImpl::getMOXPassword")
            traced.push_back(line);
    });
    for (password.mode = 1; password.mode <= 2; ++password.mode)
        EXPECT_EQ(app->getMOXPassword(1), "");
    EXPECT_EQ(traced, (std::vector<std::string>{"Caught exception from password function: vault closed",
                                                "Caught unexpected exception from password function"}));
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
    apptest::useTestPlugin(*app, "log-throws");
    app->setBootstrapPath("/srv/cfg");
    app->getServiceManager();
    EXPECT_TRUE(moxtest::throwsMox([&] { app->setProperty("LogService.Pause.k", "v"); }, -1006, "TestLog::submit"));
    EXPECT_EQ(app->getProperty("LogService.Pause.k"), "v");
    EXPECT_EQ(apptest::countEvents("extractKey:LogService.Pause.k|LogService.Pause"), 1); // before the failing submit

    // A helper without a log service: properties are only stored, no key is extracted.
    const auto other = apptest::newApplicationId("no-log")->getApplication();
    apptest::useTestPlugin(*other, "no-log");
    other->setBootstrapPath("/srv/cfg");
    other->getServiceManager();
    other->setProperty("LogService.Resume.k", "1");
    other->setProperty("LogService.Pause.k", "1");
    EXPECT_EQ(other->getProperty("LogService.Resume.k", "removed"), "1"); // no pair rule without a log service
    EXPECT_EQ(apptest::countEvents("extractKey"), 1);
}
