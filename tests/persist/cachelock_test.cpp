// Cache locks over a recording file (the order of mutex, update handle and file calls,
// their trace scopes, and what each failure releases) and over a real local file,
// including a writer killed in the middle of a save.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include <mox/persist/CacheLock.h>
#include <mox/persist/CacheReadLock.h>
#include <mox/persist/CacheWriteLock.h>
#include <mox/rt/Tracer.h>

#include "persist/PersistTestSupport.h"

using namespace persisttest;
using namespace MOX::PERSIST;
using MOX::EXCEPTIONS::SystemException;
using MOX::RT::Tracer;
using ::testing::ElementsAre;

namespace {

struct CacheLocks : ::testing::Test {
    std::vector<std::string> log;
    MOX::RT::Mutex mutex;
    CachedState state;
    RecordingFile* file = new RecordingFile(log, mutex);
    FilePtr filePtr{file};

    void SetUp() override
    {
        CachedState stored;
        stored.version = 7;
        file->content = stored.marshal();
    }
    // Trace scopes of the locks join the log as "enter X" / "leave X".
    void traceScopes()
    {
        Tracer::setScopeTracing(true);
        Tracer::setSink([this](const std::string& scope, const std::string& line) {
            if (scope.rfind("Cache", 0) == 0)
                log.push_back(line + " " + scope);
        });
    }
    void TearDown() override
    {
        Tracer::setSink({});
        Tracer::setScopeTracing(false);
    }
    // Checks that the file was given the lock's CacheLock, never the guarded object itself.
    void expectPassedTheLock()
    {
        const CacheLock* passed = dynamic_cast<const CacheLock*>(file->lastPassed);
        ASSERT_NE(passed, nullptr);
        EXPECT_EQ(passed->marshal(), state.marshal());
    }
};

} // namespace

TEST_F(CacheLocks, AWriteLockTakesMutexThenHandleAndGivesThemUpInReverseWithoutWriting)
{
    traceScopes();
    {
        CacheWriteLock lock(mutex, state, filePtr);
        EXPECT_EQ(state.version, 7);
        expectPassedTheLock();
        state.version = 8;
    }
    EXPECT_FALSE(heldElsewhere(mutex));
    EXPECT_THAT(log, ElementsAre("enter CacheLock::CacheLock", "leave CacheLock::CacheLock",
                                 "enter CacheWriteLock::CacheWriteLock", "acquireHandle (mutex held)",
                                 "readWith (its handle) (mutex held)", "leave CacheWriteLock::CacheWriteLock",
                                 "enter CacheWriteLock::~CacheWriteLock", "handle released (mutex held)",
                                 "leave CacheWriteLock::~CacheWriteLock", "enter CacheLock::~CacheLock",
                                 "leave CacheLock::~CacheLock"));
    state.unmarshal(file->content);
    EXPECT_EQ(state.version, 7);  // nothing was written
}

TEST_F(CacheLocks, AReadLockLoadsUnderTheMutexAndHoldsItToTheEnd)
{
    {
        CacheReadLock lock(mutex, state, filePtr);
        EXPECT_EQ(state.version, 7);
        EXPECT_TRUE(heldElsewhere(mutex));
        expectPassedTheLock();
    }
    EXPECT_FALSE(heldElsewhere(mutex));
    EXPECT_THAT(log, ElementsAre("readInto (mutex held)"));
}

TEST_F(CacheLocks, FailuresOnEntryReleaseTheHandleAndThenTheMutex)
{
    FilePtr none;
    EXPECT_THROW(CacheReadLock(mutex, state, none), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_THROW(CacheWriteLock(mutex, state, none), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_FALSE(heldElsewhere(mutex));
    for (const std::string op : {"readInto", "acquireHandle", "readWith"}) {
        file->failOn = op;
        log.clear();
        if (op == "readInto")
            EXPECT_THROW(CacheReadLock(mutex, state, filePtr), SystemException);
        else
            EXPECT_THROW(CacheWriteLock(mutex, state, filePtr), SystemException);
        EXPECT_FALSE(heldElsewhere(mutex)) << op;
    }
    EXPECT_THAT(log, ElementsAre("acquireHandle (mutex held)", "readWith (its handle) (mutex held)",
                                 "handle released (mutex held)"));
    EXPECT_EQ(state.version, 0);
}

TEST_F(CacheLocks, SaveChangesWritesUnderItsHandleAndAFailureLeavesSavedFalse)
{
    CacheWriteLock lock(mutex, state, filePtr);
    const std::string before = file->content;
    state.version = 8;
    file->failOn = "writeWith";
    EXPECT_THROW(lock.saveChanges(), SystemException);
    EXPECT_FALSE(lock.isSaved());
    EXPECT_EQ(file->content, before);
    EXPECT_TRUE(heldElsewhere(mutex));

    log.clear();
    file->failOn.clear();
    lock.saveChanges();  // the kept handle serves the retry
    EXPECT_TRUE(lock.isSaved());
    EXPECT_THAT(log, ElementsAre("writeWith (its handle) (mutex held)"));
    EXPECT_EQ(file->content, state.marshal());
}

TEST(CacheFile, OnlyWhatSaveChangesWritesIsStored)
{
    ScratchDir dir;
    FilePtr file = MOX::RT::createLocalFile(dir.path + "/cache.txt");
    MOX::RT::Mutex mutex;
    CachedState state;
    {
        CacheWriteLock lock(mutex, state, file);
        EXPECT_EQ(state.version, 0);  // no file yet: nothing read
        state.version = 1;
        state.payload = std::string("with\0zero", 9);
        lock.saveChanges();
    }
    {
        CacheWriteLock lock(mutex, state, file);
        EXPECT_EQ(state.version, 1);
        state.version = 3;
        state.failMarshal = true;
        EXPECT_THROW(lock.saveChanges(), MOX::EXCEPTIONS::SerializationException);
        EXPECT_FALSE(lock.isSaved());
    }
    CachedState stored;
    { CacheReadLock lock(mutex, stored, file); }
    EXPECT_EQ(stored.version, 1);  // the failed marshal left the file as it was
    EXPECT_EQ(stored.payload, std::string("with\0zero", 9));
}

TEST(CacheFile, AWriterKilledDuringSaveChangesLeavesTheOldOrTheNewStateWhole)
{
    // Large one-letter payloads make a save take a while and a torn one visible; the
    // kills are spread over the time one save takes.
    ScratchDir dir;
    const std::string path = dir.path + "/cache.txt";
    const std::size_t size = 8u << 20;
    const auto payloadOf = [&](int version) { return std::string(size, static_cast<char>('a' + version % 26)); };
    const auto save = [&](int version) {
        MOX::RT::Mutex mutex;
        CachedState state;
        FilePtr file = MOX::RT::createLocalFile(path);
        CacheWriteLock lock(mutex, state, file);
        state.version = version;
        state.payload = payloadOf(version);
        lock.saveChanges();
    };
    const auto started = std::chrono::steady_clock::now();
    int version = 1;
    save(version);
    const auto span = std::chrono::steady_clock::now() - started;
    constexpr int kRounds = 8;
    for (int round = 0; round < kRounds; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            (void)!::write(ready[1], "g", 1);
            save(version + 1);
            ::_exit(0);
        }
        ::close(ready[1]);
        char go = 0;
        ASSERT_EQ(::read(ready[0], &go, 1), 1);
        ::close(ready[0]);
        std::this_thread::sleep_for(span * round / kRounds);
        ::kill(child, SIGKILL);
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
        MOX::RT::Mutex mutex;
        CachedState now;
        FilePtr file = MOX::RT::createLocalFile(path);
        { CacheReadLock lock(mutex, now, file); }
        ASSERT_TRUE(now.version == version || now.version == version + 1) << "round " << round << ": " << now.version;
        ASSERT_EQ(now.payload, payloadOf(now.version)) << "round " << round << ": torn payload";
        version = now.version;
    }
}
