// Cache locks over a recording file (what each lock does under the mutex and what each
// failure releases) and over a real local file, including a writer killed mid-save.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include <mox/persist/CacheReadLock.h>
#include <mox/persist/CacheWriteLock.h>

#include "persist/PersistTestSupport.h"

using namespace persisttest;
using namespace MOX::PERSIST;
using MOX::EXCEPTIONS::SystemException;
using Log = std::vector<std::string>;

namespace {

struct CacheLocks : ::testing::Test {
    MOX::RT::Mutex mutex;
    CachedState state;
    RecordingFile* file = new RecordingFile(mutex);
    FilePtr filePtr{file};

    void SetUp() override { file->content = "7:stored"; }
};

} // namespace

TEST_F(CacheLocks, LocksReadUnderTheMutexAndAWriteLockWritesOnlyOnSave)
{
    {
        CacheReadLock lock(mutex, state, filePtr);
        EXPECT_EQ(state.payload, "stored");
        EXPECT_TRUE(heldElsewhere(mutex));
    }
    EXPECT_FALSE(heldElsewhere(mutex));
    {
        CacheWriteLock lock(mutex, state, filePtr);
        state.version = 8;
    }
    EXPECT_FALSE(heldElsewhere(mutex));
    EXPECT_EQ(file->log, (Log{"readInto", "acquireHandle", "readWith", "handle released"}));
    EXPECT_EQ(file->unguarded, 0);
    EXPECT_EQ(file->content, "7:stored"); // nothing was written
}

TEST_F(CacheLocks, FailuresOnEntryReleaseTheHandleAndThenTheMutex)
{
    FilePtr none;
    EXPECT_THROW(CacheReadLock(mutex, state, none), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_THROW(CacheWriteLock(mutex, state, none), MOX::EXCEPTIONS::NullPointerException);
    for (const std::string op : {"readInto", "acquireHandle", "readWith"}) {
        file->failOn = op;
        if (op == "readInto")
            EXPECT_THROW(CacheReadLock(mutex, state, filePtr), SystemException);
        else
            EXPECT_THROW(CacheWriteLock(mutex, state, filePtr), SystemException);
        EXPECT_FALSE(heldElsewhere(mutex)) << op;
    }
    EXPECT_EQ(file->log.back(), "handle released");
    EXPECT_EQ(file->unguarded, 0);
}

TEST_F(CacheLocks, AFailedSaveLeavesSavedFalseAndTheHandleServesTheRetry)
{
    CacheWriteLock lock(mutex, state, filePtr);
    state.version = 8;
    file->failOn = "writeWith";
    EXPECT_THROW(lock.saveChanges(), SystemException);
    EXPECT_FALSE(lock.isSaved());
    EXPECT_EQ(file->content, "7:stored");
    file->failOn.clear();
    lock.saveChanges();
    EXPECT_TRUE(lock.isSaved());
    EXPECT_EQ(file->content, "8:stored");
    EXPECT_EQ(file->unguarded, 0);
}

TEST(CacheFile, OnlyWhatSaveChangesWritesIsStored)
{
    ScratchDir dir;
    FilePtr file = MOX::RT::createLocalFile(dir.path + "/cache.txt");
    MOX::RT::Mutex mutex;
    CachedState state;
    {
        CacheWriteLock lock(mutex, state, file);
        state.version = 1;
        state.payload = std::string("with\0zero", 9);
        lock.saveChanges();
    }
    {
        CacheWriteLock lock(mutex, state, file);
        state.version = 3;
        state.failMarshal = true;
        EXPECT_THROW(lock.saveChanges(), MOX::EXCEPTIONS::SerializationException);
    }
    CachedState stored;
    { CacheReadLock lock(mutex, stored, file); }
    EXPECT_EQ(stored.version, 1); // the failed marshal left the file as it was
    EXPECT_EQ(stored.payload, std::string("with\0zero", 9));
}

TEST(CacheFile, AWriterKilledDuringSaveChangesLeavesTheOldOrTheNewStateWhole)
{
    // Large one-letter payloads make a save take a while and a torn one visible; the
    // kills are spread over the time one save takes.
    ScratchDir dir;
    const std::string path = dir.path + "/cache.txt";
    const auto payloadOf = [](int version) { return std::string(8u << 20, static_cast<char>('a' + version % 26)); };
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
