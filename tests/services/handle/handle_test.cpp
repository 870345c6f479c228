// SPDX-License-Identifier: MIT
// The handle table and the last error (per-thread records and clearing are checked
// through the C binding). Each case runs in a fresh process, so numbering starts at 1
// in every one.
#include <gtest/gtest.h>

#include <cstdlib>

#include <mox/handle/HandleManager.h>

#include "MoxTestSupport.h"

using MOX::HandleId;
using MOX::HDL::HandleManager;
using namespace MOX::EXCEPTIONS;

namespace {

// Counts its own destruction.
struct Tracked : MOX::Object {
    explicit Tracked(int& destroyed) : destroyed(destroyed) {}
    ~Tracked() override { ++destroyed; }
    std::string toString() const override { return "tracked"; }
    int& destroyed;
};

} // namespace

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
    EXPECT_TRUE(moxtest::throwsMox<InvalidHandleException>([] { HandleManager::getObject(1); }, 0,
                                                            "MOX::HDL::HandleManager::getObject"));
    EXPECT_FALSE(HandleManager::closeHandle(HandleId(1)));
    EXPECT_EQ(HandleManager::findClassType(99), nullptr);
    EXPECT_EQ(HandleManager::getError(nullptr), 0);                       // thrown, never recorded
    EXPECT_EQ(HandleManager::newObjectHandle("Next", object).getId(), 3); // numbers are not reused
}

TEST(HandleManager, RecordingOperationsRecordTheirExceptionsUntilACloseClearsThem)
{
    EXPECT_EQ(HandleManager::getError(nullptr), 0);
    const struct { void (*record)(); int code; const char *name, *function; } rows[] = {
        {&HandleManager::classCast, -1005, "ClassCastException", "classCast"},
        {&HandleManager::invalidHandle, -1039, "InvalidHandleException", "invalidHandle"},
        {&HandleManager::invalidArgument, -1006, "InvalidArgumentException", "invalidArgument"},
        {&HandleManager::unexpectedError, -1040, "UnexpectedException", "unexpectedError"}};
    for (const auto& row : rows) {
        row.record();
        EXPECT_EQ(HandleManager::getError(nullptr), row.code);
        EXPECT_EQ(HandleManager::getLastExceptionName(), row.name);
        EXPECT_TRUE(moxtest::isMox(*HandleManager::getLastException(), row.code,
                                   (std::string("MOX::HDL::HandleManager::") + row.function).c_str(),
                                   "services/handle/HandleManager"));
    }
    // Any close clears the caller's error, an open handle or not.
    EXPECT_FALSE(HandleManager::closeHandle(HandleId(12345)));
    EXPECT_EQ(HandleManager::getLastExceptionName(), "No Error");
}

TEST(HandleId, ComparesByWrappingSubtractionAndHasNoText)
{
    HandleId a(5), b(7), max(2147483647), min(-2147483647 - 1);
    EXPECT_TRUE(a.compare(b) == -2 && b.compare(a) == 2 && a.compare(HandleId(5)) == 0);
    EXPECT_LT(max.compare(min), 0); // wraps: the number after the largest compares as later
    a = b;
    EXPECT_TRUE(a.equals(b) && !a.equals(max) && a.toString().empty());
}

TEST(HandleManager, StringArraysAreNullEndedCopiesForTheCallerToFree)
{
    char** texts = HandleManager::toChar({"a", "", "bc"});
    EXPECT_TRUE(std::string(texts[0]) + "|" + texts[1] + "|" + texts[2] == "a||bc" && texts[3] == nullptr);
    for (char** t = texts; *t != nullptr; ++t)
        std::free(*t);
    std::free(texts);
    EXPECT_EQ(HandleManager::getString("x", true) + HandleManager::getString(nullptr, false), "x");
    EXPECT_THROW(HandleManager::getString(nullptr, true), InvalidArgumentException);
}
