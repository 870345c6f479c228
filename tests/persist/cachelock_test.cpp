// SPDX-License-Identifier: MIT
// Cache locks over a local file: what each lock holds, what only saveChanges writes,
// what each failure releases, and a writer killed in the middle of a save.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <mox/persist/CacheReadLock.h>
#include <mox/persist/CacheWriteLock.h>

#include "persist/PersistTestSupport.h"

using namespace persisttest;
using namespace MOX::PERSIST;

namespace {

// The state stored at `path`, read under a lock of its own.
CachedState stored(const std::string& path)
{
    MOX::RT::Mutex mutex;
    CachedState state;
    FilePtr file = MOX::RT::createLocalFile(path);
    { CacheReadLock lock(mutex, state, file); }
    return state;
}

} // namespace

TEST(CacheLock, LocksHoldTheMutexAndOnlyWhatSaveChangesWritesIsStored)
{
    ScratchDir dir;
    FilePtr file = MOX::RT::createLocalFile(dir.path + "/cache.txt");
    MOX::RT::Mutex mutex;
    CachedState state;
    {
        CacheWriteLock lock(mutex, state, file);
        EXPECT_TRUE(heldElsewhere(mutex));
        state.version = 1;
        state.payload = std::string("with\0zero", 9);
        lock.saveChanges();
        EXPECT_TRUE(lock.isSaved());
    }
    EXPECT_FALSE(heldElsewhere(mutex));
    {
        CacheWriteLock lock(mutex, state, file);
        state.version = 2; // never saved
    }
    {
        CacheWriteLock lock(mutex, state, file);
        EXPECT_EQ(state.version, 1); // read again on entry
        state.version = 3;
        state.failMarshal = true;
        EXPECT_THROW(lock.saveChanges(), MOX::EXCEPTIONS::SerializationException);
        EXPECT_FALSE(lock.isSaved());
    }
    CachedState read;
    {
        CacheReadLock lock(mutex, read, file);
        EXPECT_TRUE(heldElsewhere(mutex));
    }
    EXPECT_EQ(read.version, 1);
    EXPECT_EQ(read.payload, std::string("with\0zero", 9));
}

TEST(CacheLock, FailuresOnEntryReleaseTheMutex)
{
    ScratchDir dir;
    ASSERT_EQ(::mkdir((dir.path + "/dir").c_str(), 0700), 0);
    FilePtr none, missing = MOX::RT::createLocalFile(dir.path + "/no/cache.txt"),
                  directory = MOX::RT::createLocalFile(dir.path + "/dir");
    MOX::RT::Mutex mutex;
    CachedState state;
    EXPECT_THROW(CacheReadLock(mutex, state, none), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_THROW(CacheWriteLock(mutex, state, none), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_THROW(CacheReadLock(mutex, state, directory), MOX::EXCEPTIONS::SystemException);  // reading
    EXPECT_THROW(CacheWriteLock(mutex, state, missing), MOX::EXCEPTIONS::SystemException);   // the handle
    EXPECT_THROW(CacheWriteLock(mutex, state, directory), MOX::EXCEPTIONS::SystemException); // reading with it
    EXPECT_FALSE(heldElsewhere(mutex));
    // The handle was given up as well: the file can be locked and written again.
    FilePtr good = MOX::RT::createLocalFile(dir.path + "/dir/cache.txt");
    CacheWriteLock(mutex, state, good).saveChanges();
}

TEST(CacheLock, AWriterKilledDuringSaveChangesLeavesTheOldOrTheNewStateWhole)
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
        const CachedState now = stored(path);
        ASSERT_TRUE(now.version == version || now.version == version + 1) << "round " << round << ": " << now.version;
        ASSERT_EQ(now.payload, payloadOf(now.version)) << "round " << round << ": torn payload";
        version = now.version;
    }
}
