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
using MOX::RT::Thread;
using MOX::RT::Tracer;

TEST(Tracer, SinkGetsFormattedLinesAndTheEnvironmentSwitchesTheDefault)
{
    using Lines = std::vector<std::pair<std::string, std::string>>;
    ::unsetenv("MOX_TRACE");
    Lines lines;
    Tracer::setSink([&](const std::string& scope, const std::string& line) { lines.emplace_back(scope, line); });
    EXPECT_TRUE(Tracer::isEnabled());
    {
        Tracer t("Area::operation", true);
        t.printf("value %d of %s", 42, "x");
        t.printf("%s", std::string(5000, 'L').c_str());  // longer than any fixed buffer
    }
    Tracer::setScopeTracing(true);
    Tracer("S::s", false).printf("%s", "");
    Tracer::setScopeTracing(false);
    EXPECT_EQ(lines, Lines({{"Area::operation", "value 42 of x"}, {"Area::operation", std::string(5000, 'L')},
                            {"S::s", "enter"}, {"S::s", ""}, {"S::s", "leave"}}));

    // The default sink writes to stderr only while MOX_TRACE is set and not empty.
    for (const char* value : {static_cast<const char*>("1"), "", static_cast<const char*>(nullptr)}) {
        value ? ::setenv("MOX_TRACE", value, 1) : ::unsetenv("MOX_TRACE");
        Tracer::setSink({});
        EXPECT_EQ(Tracer::isEnabled(), value && *value) << (value ? value : "unset");
        testing::internal::CaptureStderr();
        Tracer("Env::scope", true).printf("line %d", 7);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), value && *value ? "[Env::scope] line 7\n" : "");
    }
}

TEST(Mutex, RecursiveForTheHolderExclusiveForOthers)
{
    Mutex m;
    const auto otherGets = [&](unsigned wait) {
        bool got = false;
        std::thread([&] {
            if ((got = m.lock(wait)))
                m.unlock();
        }).join();
        return got;
    };
    ASSERT_TRUE(m.lock(0));
    ASSERT_TRUE(m.lock(10));  // the holder may lock again
    m.unlock();
    EXPECT_FALSE(otherGets(50));  // still held once
    m.unlock();
    {
        MOX::RT::MutexGrabber grab(m);
        EXPECT_FALSE(otherGets(20));
    }
    EXPECT_TRUE(otherGets(0));
}

TEST(Thread, IdIsTheKernelThreadId)
{
    const long mine = Thread::myThreadID();
    EXPECT_EQ(mine, static_cast<long>(::syscall(SYS_gettid)));
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
    ::setenv("MOX_RT_TEST_VAR", "", 1);
    EXPECT_EQ(EnvUtils::GetEnv("MOX_RT_TEST_VAR", "dflt"), "");  // set but empty is a value
    ::unsetenv("MOX_RT_TEST_VAR");
    EXPECT_EQ(EnvUtils::GetEnv("MOX_RT_TEST_VAR", "dflt"), "dflt");
}
