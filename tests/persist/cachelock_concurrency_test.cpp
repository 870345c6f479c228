// Two writers on one cached object and its file.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include <mox/persist/CacheReadLock.h>
#include <mox/persist/CacheWriteLock.h>

#include "persist/PersistTestSupport.h"

using namespace persisttest;
using namespace MOX::PERSIST;

TEST(CacheLockConcurrency, ASecondWriterWaitsUntilTheFirstIsDestroyed)
{
    ScratchDir dir;
    FilePtr file = MOX::RT::createLocalFile(dir.path + "/cache.txt");
    MOX::RT::Mutex mutex;
    CachedState cache;
    std::mutex logMutex;
    std::vector<std::string> log;
    const auto note = [&](const std::string& line) {
        std::lock_guard<std::mutex> guard(logMutex);
        log.push_back(line);
    };
    std::atomic<bool> firstHolds{false};

    std::thread first([&] {
        CacheWriteLock lock(mutex, cache, file);
        firstHolds = true;
        // Gives a second writer that is not held back every chance to get in.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        cache.version = 1;
        cache.payload = "first";
        lock.saveChanges();
        note("first leaving");
    });
    std::thread second([&] {
        while (!firstHolds.load())
            std::this_thread::yield();
        CacheWriteLock lock(mutex, cache, file);
        note("second entered at version " + std::to_string(cache.version));
        cache.version = 2;
        cache.payload += "+second";
        lock.saveChanges();
    });
    first.join();
    second.join();
    EXPECT_EQ(log, (std::vector<std::string>{"first leaving", "second entered at version 1"}));

    CachedState stored;
    MOX::RT::Mutex own;
    { CacheReadLock lock(own, stored, file); }
    EXPECT_EQ(stored.version, 2);
    EXPECT_EQ(stored.payload, "first+second");
}
