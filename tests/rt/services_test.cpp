#include <string>
#include <thread>

#include <gtest/gtest.h>

#include <mox/rt/Mutex.h>
#include <mox/rt/MutexGrabber.h>
#include <mox/rt/Tracer.h>

using MOX::RT::Tracer;

TEST(Tracer, SinkGetsFormattedLinesAndTheEnvironmentSwitchesTheDefault)
{
    std::string lines;
    Tracer::setSink([&](const std::string& scope, const std::string& line) { lines += scope + ":" + line + ";"; });
    Tracer("A::op", true).printf("%d of %s", 42, std::string(5000, 'L').c_str()); // longer than any fixed buffer
    Tracer::setScopeTracing(true);
    Tracer("S::s", false);
    Tracer::setScopeTracing(false);
    EXPECT_EQ(lines, "A::op:42 of " + std::string(5000, 'L') + ";S::s:enter;S::s:leave;");
    // The default sink writes to stderr only while MOX_TRACE is set and not empty.
    for (const char* value : {"1", ""}) {
        ::setenv("MOX_TRACE", value, 1);
        Tracer::setSink({});
        testing::internal::CaptureStderr();
        Tracer("Env::scope", true).printf("line %d", 7);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), *value ? "[Env::scope] line 7\n" : "");
    }
    ::unsetenv("MOX_TRACE");
}

TEST(Mutex, RecursiveForTheHolderExclusiveForOthers)
{
    MOX::RT::Mutex m;
    const auto otherGets = [&] {
        bool got = false;
        std::thread([&] {
            if ((got = m.lock(1)))
                m.unlock();
        }).join();
        return got;
    };
    {
        MOX::RT::MutexGrabber grab(m);
        ASSERT_TRUE(m.lock(0)); // the holder may lock again
        m.unlock();
        EXPECT_FALSE(otherGets()); // still held once
    }
    EXPECT_TRUE(otherGets());
}
