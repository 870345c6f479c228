// Cache locks over real local files, including a writer killed in the middle of a save.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include <mox/persist/CacheReadLock.h>
#include <mox/persist/CacheWriteLock.h>

#include "persist/PersistTestSupport.h"

using namespace persisttest;
using namespace MOX::PERSIST;
using MOX::RT::Mutex;

namespace {

struct CacheFiles : ::testing::Test {
    ScratchDir dir;
    std::string path = dir.path + "/cache.txt";
    FilePtr file = MOX::RT::createLocalFile(path);

    std::string bytes() const
    {
        std::ostringstream out;
        out << std::ifstream(path, std::ios::binary).rdbuf();
        return out.str();
    }
    void store(int version, const std::string& payload)
    {
        Mutex mutex;
        CachedState state;
        CacheWriteLock lock(mutex, state, file);
        state.version = version;
        state.payload = payload;
        lock.saveChanges();
    }
    CachedState load()
    {
        Mutex mutex;
        CachedState state;
        CacheReadLock lock(mutex, state, file);
        return state;
    }
};

} // namespace

TEST_F(CacheFiles, OnlyWhatSaveChangesWritesIsStored)
{
    EXPECT_EQ(load().version, 0);  // no file: nothing read
    store(1, std::string("with\0zero", 9));
    EXPECT_EQ(load().payload, std::string("with\0zero", 9));
    const std::string saved = bytes();
    {
        Mutex mutex;
        CachedState state;
        CacheWriteLock lock(mutex, state, file);
        EXPECT_EQ(state.version, 1);  // loaded on entry
        state.version = 2;            // never saved
        state.failMarshal = true;
        EXPECT_THROW(lock.saveChanges(), MOX::EXCEPTIONS::SerializationException);
        EXPECT_FALSE(lock.isSaved());
    }
    EXPECT_EQ(bytes(), saved);
}

TEST_F(CacheFiles, AWriterKilledDuringSaveChangesLeavesTheOldOrTheNewStateWhole)
{
    // Large payloads of one letter per version, so a write takes a while and a mixed
    // payload shows. A timed save spreads the kills over the span of one save.
    const std::size_t size = 8u << 20;
    const auto fill = [](int v) { return static_cast<char>('a' + v % 26); };
    int version = 1;
    const auto started = std::chrono::steady_clock::now();
    store(version, std::string(size, fill(version)));
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    constexpr int kRounds = 12;
    int sawNew = 0;
    for (int round = 0; round < kRounds; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const int next = version + 1;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            FilePtr own = MOX::RT::createLocalFile(path);
            Mutex mutex;
            CachedState state;
            CacheWriteLock lock(mutex, state, own);
            state.version = next;
            state.payload.assign(size, fill(next));
            (void)!::write(ready[1], "g", 1);
            lock.saveChanges();
            ::_exit(0);
        }
        ::close(ready[1]);
        char go = 0;
        ASSERT_EQ(::read(ready[0], &go, 1), 1);
        ::close(ready[0]);
        ::usleep(static_cast<useconds_t>(span.count() * round / kRounds));
        ::kill(child, SIGKILL);
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
        CachedState now;
        ASSERT_NO_THROW(now = load()) << "round " << round << ": torn state";
        ASSERT_TRUE(now.version == version || now.version == next) << now.version;
        ASSERT_EQ(now.payload, std::string(size, fill(now.version)));
        sawNew += now.version == next;
        version = now.version;
    }
    RecordProperty("rounds_with_new_state", sawNew);  // either outcome is correct
    store(100, "after");
    EXPECT_EQ(load().version, 100);
}
