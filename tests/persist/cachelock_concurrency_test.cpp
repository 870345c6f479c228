// Cache locks on one cached object from several threads.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

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

std::string tempPath()
{
    char pattern[] = "/tmp/mox-persist-conc-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    return made ? std::string(made) : std::string();
}

} // namespace

TEST(CacheLockConcurrency, ASecondWriterWaitsForTheFirstToEnd)
{
    const std::string dir = tempPath();
    ASSERT_FALSE(dir.empty());
    SmartPointer<ILocalFile> file = createLocalFile(dir + "/cache.txt");
    Mutex mutex;
    CachedState cache;
    EventLog log;
    std::atomic<bool> firstHolds{false};

    std::thread first([&] {
        CacheWriteLock lock(mutex, cache, file);
        log.add("first entered");
        firstHolds = true;
        // Give the second writer every chance to get in if the lock did not stop it.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        cache.version = 1;
        cache.payload = "first";
        lock.saveChanges();
        log.add("first leaving");
    });
    std::thread second([&] {
        while (!firstHolds.load())
            std::this_thread::yield();
        CacheWriteLock lock(mutex, cache, file);
        log.add("second entered with version " + std::to_string(cache.version));
        cache.payload += "+second";
        cache.version = 2;
        lock.saveChanges();
    });
    first.join();
    second.join();

    const auto events = log.take();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0], "first entered");
    EXPECT_EQ(events[1], "first leaving");
    EXPECT_EQ(events[2], "second entered with version 1");

    CachedState stored;
    {
        Mutex own;
        CacheReadLock lock(own, stored, file);
    }
    EXPECT_EQ(stored.version, 2);
    EXPECT_EQ(stored.payload, "first+second");
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(CacheLockConcurrency, ReadersAndWritersOnOneObjectNeverSeeAHalfUpdate)
{
    const std::string dir = tempPath();
    ASSERT_FALSE(dir.empty());
    SmartPointer<ILocalFile> file = createLocalFile(dir + "/cache.txt");
    Mutex mutex;
    CachedState cache;
    constexpr int kRounds = 100;
    std::atomic<int> torn{0};

    std::thread writer([&] {
        for (int i = 1; i <= kRounds; ++i) {
            CacheWriteLock lock(mutex, cache, file);
            cache.version = i;
            cache.payload = std::to_string(i);
            lock.saveChanges();
        }
    });
    std::thread reader([&] {
        for (int i = 0; i < kRounds; ++i) {
            CacheReadLock lock(mutex, cache, file);
            // Under the lock the object always matches the last saved state.
            if (cache.version != 0 && cache.payload != std::to_string(cache.version))
                ++torn;
        }
    });
    writer.join();
    reader.join();
    EXPECT_EQ(torn.load(), 0);
    CacheReadLock lock(mutex, cache, file);
    EXPECT_EQ(cache.version, kRounds);
    std::system(("rm -rf '" + dir + "'").c_str());
}
