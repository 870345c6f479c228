// Handle numbers, the handle table and the per-thread last error. Each case runs in a
// fresh process, so numbering starts at 1 in every one.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <mox/handle/HandleManager.h>


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
    HandleId first, second;
    EXPECT_EQ(first.getId(), 1);
    EXPECT_EQ(second.getId(), 2);
    HandleId lookup(42), copy(first);
    EXPECT_TRUE(lookup.equals(HandleId(42)));
    EXPECT_EQ(copy.getId(), 1);
    EXPECT_EQ(HandleId::LastId, 2);
    EXPECT_EQ(HandleId(3).compare(HandleId(5)), -2);
    EXPECT_EQ(HandleId(INT_MIN).compare(HandleId(1)), INT_MAX);
    EXPECT_EQ(HandleId(INT_MAX).compare(HandleId(-1)), INT_MIN);
}

TEST(HandleManager, AnObjectLivesExactlyWhileItsHandleIsOpen)
{
    int destroyed = 0;
    MOX::RT::SmartPointer<MOX::Object> object(new Tracked(destroyed));
    MOX::Object* raw = object.get();
    EXPECT_EQ(HandleManager::newObjectHandle("Kept", object).getId(), 1);
    EXPECT_EQ(HandleManager::newObjectHandle("", nullptr).getId(), 2);  // neither argument is checked
    object = nullptr;
    EXPECT_EQ(HandleManager::getObject(1).get(), raw);
    EXPECT_STREQ(HandleManager::findClassType(1), "Kept");
    EXPECT_TRUE(HandleManager::getObject(2).isNull());
    EXPECT_EQ(destroyed, 0);

    EXPECT_TRUE(HandleManager::closeHandle(HandleId(1)));
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 1u);
    for (int closed : {1, 99}) {
        try {
            HandleManager::getObject(closed);
            ADD_FAILURE() << closed << " is open";
        } catch (const InvalidHandleException& e) {
            EXPECT_EQ(e.getCode(), 0);  // the short form: only the source location
            EXPECT_EQ(e.getFile(), "services/handle/HandleManager");
            EXPECT_EQ(e.getFunction(), "MOX::HDL::HandleManager::getObject");
        }
        EXPECT_FALSE(HandleManager::closeHandle(HandleId(closed)));
        EXPECT_EQ(HandleManager::findClassType(closed), nullptr);
    }
    EXPECT_EQ(HandleManager::getError(nullptr), 0);  // thrown, never recorded
    EXPECT_EQ(HandleManager::newObjectHandle("Next", object).getId(), 3);  // numbers are not reused
}

TEST(HandleManager, RecordingOperationsRecordTheirExceptionsUntilACloseClearsThem)
{
    EXPECT_EQ(readError(), std::make_pair(0, std::string()));
    const struct { void (*record)(); int code; const char *message, *name, *function; } rows[] = {
        {&HandleManager::classCast, -1005, "Cast conversion failed", "ClassCastException", "classCast"},
        {&HandleManager::invalidHandle, -1039, "Invalid Handle", "InvalidHandleException", "invalidHandle"},
        {&HandleManager::invalidArgument, -1006, "The arguments specified in the operation were invalid",
         "InvalidArgumentException", "invalidArgument"},
        {&HandleManager::unexpectedError, -1040, "Unknown error from underlying code", "UnexpectedException",
         "unexpectedError"}};
    for (const auto& row : rows) {
        row.record();
        EXPECT_EQ(readError(), std::make_pair(row.code, std::string(row.message)));
        EXPECT_EQ(HandleManager::getLastExceptionName(), row.name);
        const auto e = HandleManager::getLastException();
        EXPECT_EQ(e->getFile(), "services/handle/HandleManager");
        EXPECT_EQ(e->getFunction(), std::string("MOX::HDL::HandleManager::") + row.function);
    }
    // Any close clears the caller's error, an open handle or not.
    EXPECT_FALSE(HandleManager::closeHandle(HandleId(12345)));
    EXPECT_EQ(HandleManager::getError(nullptr), 0);
    EXPECT_EQ(HandleManager::getLastExceptionName(), "No Error");
}

TEST(HandleManager, TheRecordedCopyIsIndependentAndPerThread)
{
    {
        SerializationException original("bad <x>", ErrorCode::Unmarshal);
        HandleManager::setException(original);
        original = SerializationException("changed", ErrorCode::Marshal);
    }
    const auto e = HandleManager::getLastException();
    EXPECT_NE(dynamic_cast<SerializationException*>(e.get()), nullptr);
    EXPECT_EQ(readError(), std::make_pair(-1056, std::string(e->what())));

    int other = 1;
    std::thread([&] {
        other = HandleManager::getError(nullptr);
        HandleManager::classCast();
        HandleManager::closeHandle(HandleId(7));  // clears only this thread's error
    }).join();
    EXPECT_EQ(other, 0);
    EXPECT_EQ(HandleManager::getError(nullptr), -1056);
}

TEST(HandleManager, StringHelpersCopyForTheCaller)
{
    char* out = nullptr;
    char* zero = HandleManager::copyString(std::string("a\0b", 3), &out);
    EXPECT_EQ(std::memcmp(zero, "a\0b\0", 4) + (out == zero ? 0 : 1), 0);
    std::free(zero);
    char** two = HandleManager::toChar({"x", ""});
    EXPECT_EQ(std::string(two[0]) + "|" + two[1] + "|" + (two[2] ? "more" : ""), "x||");
    for (int i = 0; i < 3; ++i)
        std::free(two[i]);
    std::free(two);
    EXPECT_THROW(HandleManager::getString(nullptr, true), InvalidArgumentException);
}
