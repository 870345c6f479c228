// SPDX-License-Identifier: MIT
// Handle numbers, the handle table and the per-thread last error. Each case runs in a
// fresh process, so numbering starts at 1 in every one.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <thread>

#include <mox/handle/HandleManager.h>

#include "MoxTestSupport.h"

using MOX::HandleId;
using MOX::HDL::HandleManager;
using namespace MOX::EXCEPTIONS;

namespace {

// getError(&message) as the binding reads it; the message is freed here.
std::pair<int, std::string> readError()
{
    char* message = nullptr;
    const int code = HandleManager::getError(&message);
    std::string text = message ? message : "<null>";
    std::free(message);
    return {code, text};
}

// Counts its own destruction.
struct Tracked : MOX::Object {
    explicit Tracked(int& destroyed) : destroyed(destroyed) {}
    ~Tracked() override { ++destroyed; }
    std::string toString() const override { return "tracked"; }
    int& destroyed;
};

} // namespace

TEST(HandleId, NumbersAreTakenOnlyByDefaultConstructionAndCompareWraps)
{
    HandleId first, second, lookup(42), copy(first);
    EXPECT_EQ(second.getId() + copy.getId(), 3);
    EXPECT_TRUE(lookup.equals(HandleId(42)));
    EXPECT_EQ(HandleId::LastId, 2);
    EXPECT_EQ(HandleId(3).compare(HandleId(5)), -2);
    EXPECT_EQ(HandleId(INT_MIN).compare(HandleId(1)), INT_MAX);
}

TEST(HandleManager, AnObjectLivesExactlyWhileItsHandleIsOpen)
{
    int destroyed = 0;
    MOX::RT::SmartPointer<MOX::Object> object(new Tracked(destroyed));
    MOX::Object* raw = object.get();
    EXPECT_EQ(HandleManager::newObjectHandle("Kept", object).getId(), 1);
    EXPECT_EQ(HandleManager::newObjectHandle("", nullptr).getId(), 2); // neither argument is checked
    object = nullptr;
    EXPECT_EQ(HandleManager::getObject(1).get(), raw);
    EXPECT_STREQ(HandleManager::findClassType(1), "Kept");

    EXPECT_TRUE(HandleManager::closeHandle(HandleId(1)));
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 1u);
    for (int closed : {1, 99}) {
        EXPECT_TRUE(moxtest::throwsMox<InvalidHandleException>([&] { HandleManager::getObject(closed); }, 0,
                                                                "MOX::HDL::HandleManager::getObject",
                                                                "services/handle/HandleManager"));
        EXPECT_FALSE(HandleManager::closeHandle(HandleId(closed)) || HandleManager::findClassType(closed));
    }
    EXPECT_EQ(HandleManager::getError(nullptr), 0);                       // thrown, never recorded
    EXPECT_EQ(HandleManager::newObjectHandle("Next", object).getId(), 3); // numbers are not reused
}

TEST(HandleManager, RecordingOperationsRecordTheirExceptionsUntilACloseClearsThem)
{
    EXPECT_EQ(readError(), std::make_pair(0, std::string()));
    const struct { void (*record)(); int code; const char *name, *function; } rows[] = {
        {&HandleManager::classCast, -1005, "ClassCastException", "classCast"},
        {&HandleManager::invalidHandle, -1039, "InvalidHandleException", "invalidHandle"},
        {&HandleManager::invalidArgument, -1006, "InvalidArgumentException", "invalidArgument"},
        {&HandleManager::unexpectedError, -1040, "UnexpectedException", "unexpectedError"}};
    for (const auto& row : rows) {
        row.record();
        EXPECT_EQ(readError(), std::make_pair(row.code, std::string(errorMessage(row.code))));
        EXPECT_EQ(HandleManager::getLastExceptionName(), row.name);
        EXPECT_TRUE(moxtest::isMox(*HandleManager::getLastException(), row.code,
                                   (std::string("MOX::HDL::HandleManager::") + row.function).c_str(),
                                   "services/handle/HandleManager"));
    }
    // Any close clears the caller's error, an open handle or not.
    EXPECT_FALSE(HandleManager::closeHandle(HandleId(12345)));
    EXPECT_EQ(HandleManager::getLastExceptionName(), "No Error");
    EXPECT_THROW(HandleManager::getString(nullptr, true), InvalidArgumentException); // a required text
}

TEST(HandleManager, TheRecordedCopyIsIndependentAndPerThread)
{
    {
        SerializationException original("bad <x>", ErrorCode::Unmarshal);
        HandleManager::setException(original);
        original = SerializationException("changed", ErrorCode::Marshal);
    }
    EXPECT_NE(dynamic_cast<SerializationException*>(HandleManager::getLastException().get()), nullptr);
    EXPECT_EQ(readError(), std::make_pair(-1056, std::string(SerializationException("bad <x>", ErrorCode::Unmarshal).what())));

    int other = 1;
    std::thread([&] {
        other = HandleManager::getError(nullptr);
        HandleManager::classCast();
        HandleManager::closeHandle(HandleId(7)); // clears only this thread's error
    }).join();
    EXPECT_EQ(other, 0);
    EXPECT_EQ(HandleManager::getError(nullptr), -1056);
}
