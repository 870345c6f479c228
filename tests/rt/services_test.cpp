#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <mox/rt/EnvUtils.h>
#include <mox/rt/Mutex.h>
#include <mox/rt/MutexGrabber.h>
#include <mox/rt/Thread.h>
#include <mox/rt/Tracer.h>

using MOX::RT::EnvUtils;
using MOX::RT::Mutex;
using MOX::RT::MutexGrabber;
using MOX::RT::Thread;
using MOX::RT::Tracer;

namespace {
using Lines = std::vector<std::pair<std::string, std::string>>;

// Installs a capturing sink for one test and restores the default afterwards.
class TraceCapture {
public:
    TraceCapture()
    {
        Tracer::setSink([this](const std::string& scope, const std::string& line) { lines.emplace_back(scope, line); });
    }
    ~TraceCapture() { Tracer::setSink({}); }
    Lines lines;
};
} // namespace

TEST(Tracer, SinkReceivesFormattedLinesAndDefaultIsRestored)
{
    ::unsetenv("MOX_TRACE");
    {
        TraceCapture capture;
        EXPECT_TRUE(Tracer::isEnabled());
        {
            Tracer t("Area::operation", true);
            EXPECT_STREQ(t.getScope(), "Area::operation");
            EXPECT_TRUE(t.getFlag());
            t.printf("value %d of %s", 42, "x");
            t.printf("%s", std::string(5000, 'L').c_str());  // longer than any fixed buffer
            t.printf("%s", "");
        }
        Tracer quiet("Quiet::scope", false);
        quiet.printf("flag %s", "false");
        ASSERT_EQ(capture.lines.size(), 4u);  // no enter/leave lines by default
        EXPECT_EQ(capture.lines[0], Lines::value_type("Area::operation", "value 42 of x"));
        EXPECT_EQ(capture.lines[1].second.size(), 5000u);
        EXPECT_EQ(capture.lines[2].second, "");
        EXPECT_EQ(capture.lines[3], Lines::value_type("Quiet::scope", "flag false"));

        Tracer::setScopeTracing(true);
        { Tracer scoped("S::s", true); }
        Tracer::setScopeTracing(false);
        ASSERT_EQ(capture.lines.size(), 6u);
        EXPECT_EQ(capture.lines[4], Lines::value_type("S::s", "enter"));
        EXPECT_EQ(capture.lines[5], Lines::value_type("S::s", "leave"));
    }
    // Restored: without MOX_TRACE nothing is traced, and nothing reaches stderr.
    EXPECT_FALSE(Tracer::isEnabled());
    testing::internal::CaptureStderr();
    Tracer("After::restore", true).printf("not shown");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Tracer, DefaultSinkWritesToStderrWhenEnabledByEnvironment)
{
    ::setenv("MOX_TRACE", "1", 1);
    Tracer::setSink({});
    EXPECT_TRUE(Tracer::isEnabled());
    testing::internal::CaptureStderr();
    Tracer("Env::scope", true).printf("line %d", 7);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[Env::scope] line 7\n");
    ::setenv("MOX_TRACE", "", 1);  // set but empty: off
    Tracer::setSink({});
    EXPECT_FALSE(Tracer::isEnabled());
    ::unsetenv("MOX_TRACE");
}

TEST(Mutex, RecursiveAndExclusiveAcrossThreads)
{
    Mutex m;
    ASSERT_TRUE(m.lock(0));
    ASSERT_TRUE(m.lock(0));  // the holder may lock again
    ASSERT_TRUE(m.lock(10));  // also with a timeout
    m.unlock();
    bool otherGot = true;
    std::thread([&] { otherGot = m.lock(50); }).join();
    EXPECT_FALSE(otherGot);
    m.unlock();
    std::thread([&] { otherGot = m.lock(50); }).join();
    EXPECT_FALSE(otherGot);  // still held once
    m.unlock();
    std::thread([&] {
        otherGot = m.lock(50);
        if (otherGot)
            m.unlock();
    }).join();
    EXPECT_TRUE(otherGot);

    {
        MutexGrabber grab(m);
        std::thread([&] { otherGot = m.lock(20); }).join();
        EXPECT_FALSE(otherGot);
    }
    std::thread([&] {
        otherGot = m.lock(0);
        m.unlock();
    }).join();
    EXPECT_TRUE(otherGot);
}

TEST(Thread, IdIsTheKernelThreadId)
{
    const long mine = Thread::myThreadID();
    EXPECT_EQ(mine, static_cast<long>(::syscall(SYS_gettid)));
    EXPECT_EQ(mine, Thread::myThreadID());
    long other = 0, otherKernel = 0;
    std::thread([&] {
        other = Thread::myThreadID();
        otherKernel = static_cast<long>(::syscall(SYS_gettid));
    }).join();
    EXPECT_EQ(other, otherKernel);
    EXPECT_NE(other, mine);
}

TEST(EnvUtils, ReadsSetValuesAndDefaults)
{
    ::setenv("MOX_RT_TEST_VAR", "value with spaces", 1);
    EXPECT_EQ(EnvUtils::GetEnv("MOX_RT_TEST_VAR", "dflt"), "value with spaces");
    ::setenv("MOX_RT_TEST_VAR", "", 1);
    EXPECT_EQ(EnvUtils::GetEnv("MOX_RT_TEST_VAR", "dflt"), "");  // set but empty is a value
    ::unsetenv("MOX_RT_TEST_VAR");
    EXPECT_EQ(EnvUtils::GetEnv("MOX_RT_TEST_VAR", "dflt"), "dflt");
    EXPECT_EQ(EnvUtils::GetEnv("MOX_RT_TEST_VAR"), "");
    EXPECT_EQ(EnvUtils::GetEnv("", "dflt"), "dflt");
}
