// Cache locks over real local files, including a writer killed in the middle of a save.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include <mox/persist/CacheReadLock.h>
#include <mox/persist/CacheWriteLock.h>

#include "persist/PersistTestSupport.h"

using namespace persisttest;
using MOX::PERSIST::CacheReadLock;
using MOX::PERSIST::CacheWriteLock;
using MOX::RT::createLocalFile;
using MOX::RT::ILocalFile;
using MOX::RT::Mutex;
using MOX::RT::SmartPointer;

namespace {

// A fresh directory for one test, removed with its files afterwards.
class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/mox-persist-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (made == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_path = made;
    }
    ~TempDir() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Stores `version`/`payload` through a write lock on a fresh object.
void store(SmartPointer<ILocalFile>& file, int version, const std::string& payload)
{
    Mutex mutex;
    CachedState state;
    CacheWriteLock lock(mutex, state, file);
    state.version = version;
    state.payload = payload;
    lock.saveChanges();
    ASSERT_TRUE(lock.isSaved());
}

// What a read lock loads from `file` into a fresh object.
CachedState load(SmartPointer<ILocalFile>& file)
{
    Mutex mutex;
    CachedState state;
    CacheReadLock lock(mutex, state, file);
    return state;
}

} // namespace

TEST(CacheLocksOnFiles, WhatAWriteLockSavesAReadLockLoads)
{
    TempDir dir;
    SmartPointer<ILocalFile> file = createLocalFile(dir.file("cache.txt"));

    // No file yet: nothing is read and the object keeps its state.
    {
        Mutex mutex;
        CachedState state;
        state.version = 5;
        {
            CacheReadLock lock(mutex, state, file);
            EXPECT_TRUE(heldElsewhere(mutex));
        }
        EXPECT_EQ(state.version, 5);
        EXPECT_EQ(state.reads, 0);
        EXPECT_FALSE(heldElsewhere(mutex));
    }

    store(file, 1, "first");
    CachedState loaded = load(file);
    EXPECT_EQ(loaded.version, 1);
    EXPECT_EQ(loaded.payload, "first");

    // A write lock loads the saved state on entry, and a second save replaces it.
    {
        Mutex mutex;
        CachedState state;
        CacheWriteLock lock(mutex, state, file);
        EXPECT_EQ(state.version, 1);
        state.version = 2;
        state.payload = std::string("with\0zero and \xff bytes", 21);
        lock.saveChanges();
    }
    loaded = load(file);
    EXPECT_EQ(loaded.version, 2);
    EXPECT_EQ(loaded.payload, std::string("with\0zero and \xff bytes", 21));
    EXPECT_EQ(slurp(dir.file("cache.txt")), loaded.marshal());
}

TEST(CacheLocksOnFiles, AWriteLockWithoutSaveChangesStoresNothing)
{
    TempDir dir;
    SmartPointer<ILocalFile> file = createLocalFile(dir.file("cache.txt"));
    store(file, 3, "kept");
    const std::string before = slurp(dir.file("cache.txt"));
    {
        Mutex mutex;
        CachedState state;
        CacheWriteLock lock(mutex, state, file);
        state.version = 4;
        state.payload = "dropped";
    }
    EXPECT_EQ(slurp(dir.file("cache.txt")), before);
    EXPECT_EQ(load(file).version, 3);

    // Never saved into a missing file: it stays missing.
    SmartPointer<ILocalFile> fresh = createLocalFile(dir.file("never.txt"));
    {
        Mutex mutex;
        CachedState state;
        CacheWriteLock lock(mutex, state, fresh);
        state.version = 1;
    }
    EXPECT_NE(::access(dir.file("never.txt").c_str(), F_OK), 0);
}

TEST(CacheLocksOnFiles, AFailedWriteLeavesSavedFalseAndTheFileAsItWas)
{
    TempDir dir;
    SmartPointer<ILocalFile> file = createLocalFile(dir.file("cache.txt"));
    store(file, 1, "old");
    const std::string before = slurp(dir.file("cache.txt"));
    Mutex mutex;
    CachedState state;
    CacheWriteLock lock(mutex, state, file);
    state.version = 2;
    state.failMarshal = true;
    EXPECT_THROW(lock.saveChanges(), MOX::EXCEPTIONS::SerializationException);
    EXPECT_FALSE(lock.isSaved());
    EXPECT_EQ(slurp(dir.file("cache.txt")), before);
    EXPECT_TRUE(heldElsewhere(mutex));
    state.failMarshal = false;
    lock.saveChanges();
    EXPECT_TRUE(lock.isSaved());
    EXPECT_EQ(CachedState(load(file)).version, 2);
}

TEST(CacheLocksOnFiles, AWriterKilledDuringSaveChangesLeavesTheOldOrTheNewStateWhole)
{
    TempDir dir;
    const std::string path = dir.file("cache.txt");
    SmartPointer<ILocalFile> file = createLocalFile(path);
    // Large texts so that a write takes long enough to be interrupted part way.
    const std::size_t size = 8u << 20;
    // Each version's payload is one letter repeated, so that a mixed payload shows.
    const auto fillFor = [](int v) { return static_cast<char>('a' + v % 26); };
    int version = 1;
    // A timed save spreads the kills over the span of a whole save.
    const auto started = std::chrono::steady_clock::now();
    store(file, version, std::string(size, fillFor(version)));
    const auto saveMicros =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started).count();
    constexpr int kRounds = 12;

    int sawOld = 0;
    int sawNew = 0;
    for (int round = 0; round < kRounds; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const int next = version + 1;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            SmartPointer<ILocalFile> own = createLocalFile(path);
            Mutex mutex;
            CachedState state;
            CacheWriteLock lock(mutex, state, own);
            state.version = next;
            state.payload.assign(size, fillFor(next));
            const char go = 'g';
            (void)!::write(ready[1], &go, 1);
            lock.saveChanges();
            ::_exit(0);
        }
        ::close(ready[1]);
        char go = 0;
        ASSERT_EQ(::read(ready[0], &go, 1), 1);
        ::close(ready[0]);
        // Kill at a different point of the save each round, from at once to about its end.
        ::usleep(static_cast<useconds_t>(saveMicros * round / kRounds));
        ::kill(child, SIGKILL);
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }

        CachedState now;
        ASSERT_NO_THROW(now = load(file)) << "round " << round << ": torn state";
        ASSERT_TRUE(now.version == version || now.version == next) << "round " << round << ": version " << now.version;
        const char fill = fillFor(now.version);
        ASSERT_EQ(now.payload.size(), size);
        ASSERT_EQ(now.payload.find_first_not_of(fill), std::string::npos);
        if (now.version == next) {
            ++sawNew;
            version = next;
        } else {
            ++sawOld;
        }
    }
    // Either outcome is correct; the counts only tell how the rounds fell.
    RecordProperty("old_state_rounds", sawOld);
    RecordProperty("new_state_rounds", sawNew);

    // The file still works as a cache after the killed writers.
    store(file, 100, "after");
    EXPECT_EQ(load(file).version, 100);
}
