#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include <mox/rt/Mutex.h>
#include <mox/rt/MutexGrabber.h>
#include <mox/rt/Tracer.h>

using MOX::RT::Mutex;
using MOX::RT::Tracer;

TEST(Tracer, SinkGetsFormattedLinesAndTheEnvironmentSwitchesTheDefault)
{
    using Lines = std::vector<std::pair<std::string, std::string>>;
    Lines lines;
    Tracer::setSink([&](const std::string& scope, const std::string& line) { lines.emplace_back(scope, line); });
    Tracer("Area::op", true).printf("value %d of %s", 42, "x");
    Tracer("Area::op", true).printf("%s", std::string(5000, 'L').c_str()); // longer than any fixed buffer
    Tracer::setScopeTracing(true);
    Tracer("S::s", false);
    Tracer::setScopeTracing(false);
    EXPECT_EQ(lines, Lines({{"Area::op", "value 42 of x"}, {"Area::op", std::string(5000, 'L')}, {"S::s", "enter"},
                            {"S::s", "leave"}}));

    // The default sink writes to stderr only while MOX_TRACE is set and not empty.
    for (const char* value : {"1", "", static_cast<const char*>(nullptr)}) {
        value ? ::setenv("MOX_TRACE", value, 1) : ::unsetenv("MOX_TRACE");
        Tracer::setSink({});
        testing::internal::CaptureStderr();
        Tracer("Env::scope", true).printf("line %d", 7);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), value && *value ? "[Env::scope] line 7\n" : "");
    }
}

TEST(Mutex, RecursiveForTheHolderExclusiveForOthers)
{
    Mutex m;
    const auto otherGets = [&] {
        bool got = false;
        std::thread([&] {
            if ((got = m.lock(1)))
                m.unlock();
        }).join();
        return got;
    };
    ASSERT_TRUE(m.lock(0));
    ASSERT_TRUE(m.lock(0)); // the holder may lock again
    m.unlock();
    EXPECT_FALSE(otherGets()); // still held once
    m.unlock();
    {
        MOX::RT::MutexGrabber grab(m);
        EXPECT_FALSE(otherGets());
    }
    EXPECT_TRUE(otherGets());
}
