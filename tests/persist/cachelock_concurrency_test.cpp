// SPDX-License-Identifier: MIT
// Two writers on one cached object and its file.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
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
    std::atomic<bool> firstHolds{false};
    int seenBySecond = -1;
    std::thread first([&] {
        CacheWriteLock lock(mutex, cache, file);
        firstHolds = true;
        // Gives a second writer that is not held back every chance to get in.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        cache.version = 1;
        cache.payload = "first";
        lock.saveChanges();
    });
    std::thread second([&] {
        while (!firstHolds.load())
            std::this_thread::yield();
        CacheWriteLock lock(mutex, cache, file);
        seenBySecond = cache.version;
        cache.version = 2;
        cache.payload += "+second";
        lock.saveChanges();
    });
    first.join();
    second.join();
    EXPECT_EQ(seenBySecond, 1);
    CachedState stored;
    MOX::RT::Mutex own;
    { CacheReadLock lock(own, stored, file); }
    EXPECT_EQ(std::to_string(stored.version) + ":" + stored.payload, "2:first+second");
}
