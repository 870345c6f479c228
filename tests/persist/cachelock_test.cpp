// Cache locks over a recording file: order of mutex, update handle and file calls, and
// what each failure releases.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <mox/persist/CacheLock.h>
#include <mox/persist/CacheReadLock.h>
#include <mox/persist/CacheWriteLock.h>

#include "persist/PersistTestSupport.h"

using namespace persisttest;
using MOX::EXCEPTIONS::NullPointerException;
using MOX::EXCEPTIONS::SystemException;
using MOX::PERSIST::CacheLock;
using MOX::PERSIST::CacheReadLock;
using MOX::PERSIST::CacheWriteLock;
using MOX::RT::ILocalFile;
using MOX::RT::Mutex;
using MOX::RT::SmartPointer;
using ::testing::ElementsAre;

namespace {

struct Fixture : ::testing::Test {
    EventLog log;
    Mutex mutex;
    CachedState state;
    RecordingFile* recording = new RecordingFile(log, mutex);
    SmartPointer<ILocalFile> file{recording};

    void SetUp() override
    {
        CachedState stored;
        stored.version = 7;
        stored.payload = "stored";
        recording->content = stored.marshal();
    }
};

using CacheLockTest = Fixture;
using CacheReadLockTest = Fixture;
using CacheWriteLockTest = Fixture;

} // namespace

TEST_F(CacheLockTest, HoldsTheMutexForItsLifetimeAndPassesMarshallingThrough)
{
    state.version = 1;
    state.payload = "p";
    {
        ScopeTrace trace(log);
        CacheLock lock(mutex, state);
        EXPECT_TRUE(heldElsewhere(mutex));
        EXPECT_EQ(lock.marshal(), state.marshal());
        lock.unmarshal(recording->content);
        EXPECT_EQ(state.version, 7);
        EXPECT_EQ(state.payload, "stored");
        EXPECT_THROW(lock.unmarshal("garbage"), std::runtime_error);
        EXPECT_TRUE(heldElsewhere(mutex));
    }
    EXPECT_FALSE(heldElsewhere(mutex));
    EXPECT_THAT(log.take(), ElementsAre("enter CacheLock::CacheLock", "leave CacheLock::CacheLock",
                                        "enter CacheLock::~CacheLock", "leave CacheLock::~CacheLock"));
    // The mutex is the caller's recursive one: the holder may take it again.
    CacheLock outer(mutex, state);
    CacheLock inner(mutex, state);
    EXPECT_TRUE(heldElsewhere(mutex));
}

TEST_F(CacheReadLockTest, LoadsTheFileStateUnderTheMutexAndKeepsItHeld)
{
    {
        ScopeTrace trace(log);
        CacheReadLock lock(mutex, state, file);
        EXPECT_EQ(state.version, 7);
        EXPECT_EQ(state.payload, "stored");
        EXPECT_TRUE(heldElsewhere(mutex));
        // The file reached the object only through the lock's own CacheLock.
        EXPECT_NE(dynamic_cast<const CacheLock*>(recording->lastPassed), nullptr);
        EXPECT_NE(recording->lastPassed, static_cast<const MOX::Marshallable*>(&state));
    }
    EXPECT_FALSE(heldElsewhere(mutex));
    EXPECT_THAT(log.take(),
                ElementsAre("enter CacheLock::CacheLock", "leave CacheLock::CacheLock",
                            "enter CacheReadLock::CacheReadLock", "readInto (mutex held)",
                            "leave CacheReadLock::CacheReadLock", "enter CacheReadLock::~CacheReadLock",
                            "leave CacheReadLock::~CacheReadLock", "enter CacheLock::~CacheLock",
                            "leave CacheLock::~CacheLock"));

    // No state in the file: the object is left as it is.
    recording->content.clear();
    state.version = 99;
    CacheReadLock empty(mutex, state, file);
    EXPECT_EQ(state.version, 99);
}

TEST_F(CacheReadLockTest, FailuresOnEntryLeaveTheMutexFree)
{
    SmartPointer<ILocalFile> none;
    try {
        CacheReadLock lock(mutex, state, none);
        FAIL() << "a null file was accepted";
    } catch (const NullPointerException& e) {
        EXPECT_EQ(e.getCode(), -1004);
    }
    EXPECT_FALSE(heldElsewhere(mutex));

    recording->failOn = "readInto";
    EXPECT_THROW(CacheReadLock(mutex, state, file), SystemException);
    EXPECT_FALSE(heldElsewhere(mutex));

    // A text the object rejects passes its exception on, with the mutex free.
    recording->failOn.clear();
    recording->content = "BEGIN 1 100\nshort";
    EXPECT_THROW(CacheReadLock(mutex, state, file), std::runtime_error);
    EXPECT_FALSE(heldElsewhere(mutex));
    EXPECT_EQ(state.version, 0);
}

TEST_F(CacheWriteLockTest, TakesMutexThenHandleAndGivesThemUpInReverseWithoutWriting)
{
    {
        ScopeTrace trace(log);
        CacheWriteLock lock(mutex, state, file);
        EXPECT_EQ(state.version, 7);
        EXPECT_FALSE(lock.isSaved());
        EXPECT_NE(dynamic_cast<const CacheLock*>(recording->lastPassed), nullptr);
        state.version = 8; // never saved
    }
    EXPECT_FALSE(heldElsewhere(mutex));
    EXPECT_THAT(log.take(),
                ElementsAre("enter CacheLock::CacheLock", "leave CacheLock::CacheLock",
                            "enter CacheWriteLock::CacheWriteLock", "acquireHandle (mutex held)",
                            "readWith (its handle) (mutex held)", "leave CacheWriteLock::CacheWriteLock",
                            "enter CacheWriteLock::~CacheWriteLock", "handle released (mutex held)",
                            "leave CacheWriteLock::~CacheWriteLock", "enter CacheLock::~CacheLock",
                            "leave CacheLock::~CacheLock"));
    CachedState stored;
    stored.unmarshal(recording->content);
    EXPECT_EQ(stored.version, 7);
}

TEST_F(CacheWriteLockTest, SaveChangesWritesTheCurrentStateUnderItsHandle)
{
    CacheWriteLock lock(mutex, state, file);
    log.take();
    state.version = 8;
    state.payload = "changed";
    lock.saveChanges();
    EXPECT_TRUE(lock.isSaved());
    EXPECT_THAT(log.take(), ElementsAre("writeWith (its handle) (mutex held)"));
    EXPECT_NE(dynamic_cast<const CacheLock*>(recording->lastPassed), nullptr);
    EXPECT_EQ(recording->content, state.marshal());

    // Saving again stores the newer state.
    state.version = 9;
    lock.saveChanges();
    EXPECT_EQ(recording->content, state.marshal());
}

TEST_F(CacheWriteLockTest, FailuresOnEntryReleaseTheHandleAndThenTheMutex)
{
    SmartPointer<ILocalFile> none;
    EXPECT_THROW(CacheWriteLock(mutex, state, none), NullPointerException);
    EXPECT_FALSE(heldElsewhere(mutex));

    recording->failOn = "acquireHandle";
    EXPECT_THROW(CacheWriteLock(mutex, state, file), SystemException);
    EXPECT_FALSE(heldElsewhere(mutex));
    EXPECT_THAT(log.take(), ElementsAre("acquireHandle (mutex held)"));

    recording->failOn = "readWith";
    EXPECT_THROW(CacheWriteLock(mutex, state, file), SystemException);
    EXPECT_FALSE(heldElsewhere(mutex));
    EXPECT_THAT(log.take(), ElementsAre("acquireHandle (mutex held)", "readWith (its handle) (mutex held)",
                                        "handle released (mutex held)"));
    EXPECT_EQ(state.version, 0);
}

TEST_F(CacheWriteLockTest, AFailedWriteLeavesSavedFalseAndTheLockIntact)
{
    CacheWriteLock lock(mutex, state, file);
    const std::string before = recording->content;
    state.version = 8;
    recording->failOn = "writeWith";
    EXPECT_THROW(lock.saveChanges(), SystemException);
    EXPECT_FALSE(lock.isSaved());
    EXPECT_EQ(recording->content, before);
    EXPECT_TRUE(heldElsewhere(mutex));

    // An object that cannot write itself fails the same way.
    recording->failOn.clear();
    state.failMarshal = true;
    EXPECT_THROW(lock.saveChanges(), MOX::EXCEPTIONS::SerializationException);
    EXPECT_FALSE(lock.isSaved());

    // The handle was kept: a retry writes under it.
    log.take();
    state.failMarshal = false;
    lock.saveChanges();
    EXPECT_TRUE(lock.isSaved());
    EXPECT_THAT(log.take(), ElementsAre("writeWith (its handle) (mutex held)"));
    EXPECT_EQ(recording->content, state.marshal());
}

TEST_F(CacheWriteLockTest, TheFileIsReadThroughTheCallersPointer)
{
    // The lock keeps a reference to the caller's pointer: pointing it elsewhere before
    // saving makes the save go to the new file.
    CacheWriteLock lock(mutex, state, file);
    EventLog otherLog;
    RecordingFile* other = new RecordingFile(otherLog, mutex);
    file = SmartPointer<ILocalFile>(other);
    state.version = 11;
    lock.saveChanges();
    CachedState written;
    written.unmarshal(other->content);
    EXPECT_EQ(written.version, 11);
    EXPECT_THAT(otherLog.take(), ElementsAre("writeWith (other handle) (mutex held)"));
}
