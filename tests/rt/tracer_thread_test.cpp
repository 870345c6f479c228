// SPDX-License-Identifier: MIT
// Trace scope lists (MOX_TRACE's syntax), the default sink, and thread ids across fork.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <mox/rt/Thread.h>
#include <mox/rt/Tracer.h>

using MOX::RT::Thread;
using MOX::RT::Tracer;

TEST(Tracer, ScopeListsSelectScopesByNameOrTurnTracingOff)
{
    struct Row {
        const char* list;
        const char* scope;
        bool selected;
    } rows[] = {
        {"", "DllManager::loadLibrary", false},        {"0", "DllManager::loadLibrary", false},
        {"off", "DllManager::loadLibrary", false},     {"1", "DllManager::loadLibrary", true},
        {"all", "CacheLock::CacheLock", true},         {"*", "CacheLock::CacheLock", true},
        {"dll,time", "DllManager::loadLibrary", true}, {"dll, TIME", "MOX::TIME::DateTimeImpl::utcToTime", true},
        {"dll,time", "CacheLock::CacheLock", false},   {"codec", "XBinderManager::decode", true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Tracer::selects(r.list, r.scope), r.selected) << '"' << r.list << "\" " << r.scope;

    // The environment variable is read with the same rules (the table has every off form).
    ::setenv("MOX_TRACE", "off", 1);
    Tracer::setSink({});
    EXPECT_FALSE(Tracer::isEnabled());
    ::setenv("MOX_TRACE", "dll", 1);
    Tracer::setSink({});
    EXPECT_TRUE(Tracer::isEnabled("DllManager::loadLibrary"));
    EXPECT_FALSE(Tracer::isEnabled("CacheLock::CacheLock"));
    ::unsetenv("MOX_TRACE");
    Tracer::setSink({});
}

TEST(Tracer, TheDefaultSinkWritesTheSelectedScopesWithEntryAndExitWhenAsked)
{
    Tracer::setScopes("TIME");
    Tracer::setScopeTracing(true);
    testing::internal::CaptureStderr();
    {
        Tracer time("MOX::TIME::parse", true);
        time.printf("at %d", 5);
        Tracer("CacheLock::CacheLock", false).printf("not selected");
    }
    Tracer::setScopeTracing(false);
    Tracer("MOX::TIME::parse", true).printf("%s", "");
    const std::string written = testing::internal::GetCapturedStderr();
    Tracer::setScopes("off");
    EXPECT_EQ(written, "[MOX::TIME::parse] enter\n[MOX::TIME::parse] at 5\n[MOX::TIME::parse] leave\n[MOX::TIME::parse] \n");
}

TEST(Thread, ForkedChildReportsItsOwnId)
{
    const long parent = Thread::myThreadID();
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const long id = Thread::myThreadID();
        _exit(::write(fds[1], &id, sizeof id) == sizeof id ? 0 : 1);
    }
    long reported = 0;
    ASSERT_EQ(::read(fds[0], &reported, sizeof reported), static_cast<ssize_t>(sizeof reported));
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(fds[0]);
    ::close(fds[1]);
    EXPECT_EQ(reported, static_cast<long>(child));
    EXPECT_NE(reported, parent);
}
