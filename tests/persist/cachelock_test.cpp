// SPDX-License-Identifier: MIT
// Cache locks over a local file: what each lock holds, what only saveChanges writes,
// what each failure (special files included) releases, and a writer killed in the middle
// of a save.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>
#include <iterator>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <mox/persist/CacheReadLock.h>
#include <mox/persist/CacheWriteLock.h>
#include <mox/rt/ErrorCode.h>

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

// Whether `f` throws: the runtime's SystemException naming `path`, or for no path the
// null-pointer exception.
bool refused(const std::function<void()>& f, const std::string& path)
{
    try {
        f();
    } catch (const MOX::EXCEPTIONS::SystemException& e) {
        return !path.empty() && e.getCode() == MOX::EXCEPTIONS::RuntimeSystemError &&
               e.getMessage().find(path) != std::string::npos;
    } catch (const MOX::EXCEPTIONS::NullPointerException&) {
        return path.empty();
    }
    return false;
}

// A fresh cache file with its mutex and state.
class CacheFile : public ::testing::Test {
protected:
    ScratchDir dir;
    FilePtr file = MOX::RT::createLocalFile(dir.path + "/cache.txt");
    MOX::RT::Mutex mutex;
    CachedState state;
};

} // namespace

TEST_F(CacheFile, BothLocksHoldTheMutexWhileTheyLiveAndOnlyWhatSaveChangesWritesIsStored)
{
    {
        CacheWriteLock lock(mutex, state, file);
        EXPECT_TRUE(heldElsewhere(mutex));
        state.version = 1;
        state.payload = std::string("with\0zero", 9);
        lock.saveChanges();
        EXPECT_TRUE(lock.isSaved());
    }
    {
        CacheWriteLock lock(mutex, state, file);
        EXPECT_EQ(state.version, 1); // read again on entry
        state.version = 3;
        state.failMarshal = true;
        EXPECT_THROW(lock.saveChanges(), MOX::EXCEPTIONS::SerializationException); // and never saved
        EXPECT_FALSE(lock.isSaved());
    }
    {
        CachedState read;
        CacheReadLock lock(mutex, read, file);
        EXPECT_TRUE(heldElsewhere(mutex));
        EXPECT_EQ(read.version, 1);
        EXPECT_EQ(read.payload, std::string("with\0zero", 9));
    }
    EXPECT_FALSE(heldElsewhere(mutex));
}

TEST(CacheLock, NoFileAndSpecialFilesAreRefusedOnEntryWithTheMutexReleased)
{
    ScratchDir dir;
    const std::function<int(const std::string&)> rows[] = {
        [](const std::string&) { return 0; },                               // a null file
        [](const std::string& p) { return ::mkdir(p.c_str(), 0700); },      // a directory
        [](const std::string& p) { return ::mkfifo(p.c_str(), 0600); },     // no writer: must not block
        [](const std::string& p) { return ::symlink("/dev/zero", p.c_str()); },
        [](const std::string& p) { // an oversize sparse file
            const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
            const int rc = fd < 0 ? -1 : ::ftruncate(fd, MOX::RT::ILocalFile::MaxFileSize + 1);
            return fd < 0 ? -1 : ::close(fd) | rc;
        }};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const std::string path = dir.path + "/cache" + std::to_string(i);
        ASSERT_EQ(rows[i](path), 0) << i;
        FilePtr file = i == 0 ? FilePtr() : MOX::RT::createLocalFile(path);
        MOX::RT::Mutex mutex;
        CachedState state;
        EXPECT_TRUE(refused([&] { CacheReadLock lock(mutex, state, file); }, i == 0 ? "" : path)) << i;
        EXPECT_TRUE(refused([&] { CacheWriteLock lock(mutex, state, file); }, i == 0 ? "" : path)) << i;
        EXPECT_FALSE(heldElsewhere(mutex)) << i;
        EXPECT_EQ(state.version, 0) << i;
    }
    // The handle of a failed entry was given up: the file can be locked and written again.
    MOX::RT::Mutex mutex;
    CachedState state;
    FilePtr good = MOX::RT::createLocalFile(dir.path + "/cache1/cache.txt");
    CacheWriteLock(mutex, state, good).saveChanges();
}

TEST_F(CacheFile, WritesNoFileTooLargeToReadBack)
{
    CacheWriteLock lock(mutex, state, file);
    state.payload.assign(MOX::RT::ILocalFile::MaxFileSize, 'x');
    EXPECT_TRUE(refused([&] { lock.saveChanges(); }, dir.path + "/cache.txt"));
    EXPECT_FALSE(lock.isSaved());
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
