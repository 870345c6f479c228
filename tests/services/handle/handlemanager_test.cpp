// The handle table and the per-thread last error of the flat binding.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#include <mox/handle/HandleManager.h>
#include <mox/rt/Exceptions.h>

#include "services/handle/TrackedObject.h"

using MOX::HandleId;
using MOX::HDL::HandleManager;
using MOX::RT::SmartPointer;
using namespace MOX::EXCEPTIONS;

namespace {

// A string the manager handed out, freed with free() as its callers must.
using CString = std::unique_ptr<char, decltype(&std::free)>;

struct ErrorState {
    int code;
    std::string message;
    std::string name;
};

// The calling thread's last error as the binding reads it.
ErrorState readError()
{
    char* message = nullptr;
    const int code = HandleManager::getError(&message);
    CString owned(message, &std::free);
    EXPECT_NE(message, nullptr);
    return {code, message ? message : "<null>", HandleManager::getLastExceptionName()};
}

// An object whose destructor closes another handle (a binding object owning another).
class Owner : public MOX::Object {
public:
    explicit Owner(int owned) : m_owned(owned) {}
    ~Owner() override { closedOwned = HandleManager::closeHandle(HandleId(m_owned)); }
    std::string toString() const override { return "owner"; }
    static inline bool closedOwned = false;

private:
    int m_owned;
};

} // namespace

TEST(HandleManager, NumbersStartAtOneAndAreNeverReused)
{
    std::atomic<int> destroyed{0};
    HandleId first = HandleManager::newObjectHandle("A", hdltest::makeTracked("a", &destroyed));
    HandleId second = HandleManager::newObjectHandle("B", hdltest::makeTracked("b", &destroyed));
    EXPECT_EQ(first.getId(), 1);
    EXPECT_EQ(second.getId(), 2);
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 2u);

    EXPECT_TRUE(HandleManager::closeHandle(second));
    HandleId third = HandleManager::newObjectHandle("C", hdltest::makeTracked("c", &destroyed));
    EXPECT_EQ(third.getId(), 3);
    EXPECT_EQ(HandleManager::getObject(3)->toString(), "c");
    EXPECT_EQ(HandleManager::getObject(1)->toString(), "a");
}

TEST(HandleManager, ObjectLivesExactlyWhileItsHandleIsOpen)
{
    std::atomic<int> destroyed{0};
    auto object = hdltest::makeTracked("kept", &destroyed);
    MOX::Object* raw = object.get();
    const int number = HandleManager::newObjectHandle("Kept", object).getId();
    object = nullptr;
    EXPECT_EQ(destroyed.load(), 0);

    {
        SmartPointer<MOX::Object> found = HandleManager::getObject(number);
        EXPECT_EQ(found.get(), raw);
        EXPECT_EQ(found.useCount(), 2); // the table's reference and ours
    }
    EXPECT_EQ(destroyed.load(), 0);
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 1u);

    EXPECT_TRUE(HandleManager::closeHandle(HandleId(number)));
    EXPECT_EQ(destroyed.load(), 1);
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 0u);

    // A reference the caller still holds outlives the close.
    auto shared = hdltest::makeTracked("shared", &destroyed);
    const int second = HandleManager::newObjectHandle("Shared", shared).getId();
    EXPECT_TRUE(HandleManager::closeHandle(HandleId(second)));
    EXPECT_EQ(destroyed.load(), 1);
    EXPECT_EQ(shared.useCount(), 1);
}

TEST(HandleManager, ClosedAndUnknownHandlesAreNotOpen)
{
    std::atomic<int> destroyed{0};
    const int open = HandleManager::newObjectHandle("Open", hdltest::makeTracked("o", &destroyed)).getId();
    const int closed = HandleManager::newObjectHandle("Closed", hdltest::makeTracked("c", &destroyed)).getId();
    EXPECT_TRUE(HandleManager::closeHandle(HandleId(closed)));
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 1u);

    for (int number : {closed, 0, -1, 99, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(number);
        try {
            HandleManager::getObject(number);
            ADD_FAILURE() << "getObject found a record";
        } catch (const InvalidHandleException& e) {
            // The short form: only the source location.
            EXPECT_EQ(e.getCode(), 0);
            EXPECT_EQ(e.getMessage(), "");
            EXPECT_EQ(e.getFacility(), "");
            EXPECT_EQ(e.getFile(), "services/handle/HandleManager");
            EXPECT_EQ(e.getFunction(), "MOX::HDL::HandleManager::getObject");
            EXPECT_GT(e.getLine(), 0);
        }
        EXPECT_FALSE(HandleManager::closeHandle(HandleId(number)));
        EXPECT_EQ(HandleManager::findClassType(number), nullptr);
    }
    // getObject throws to its caller; it records nothing.
    EXPECT_EQ(readError().code, 0);
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 1u);
    EXPECT_EQ(HandleManager::getObject(open)->toString(), "o");
}

TEST(HandleManager, RegistersWhateverItIsGivenAndReportsTheClassName)
{
    const int nothing = HandleManager::newObjectHandle("", SmartPointer<MOX::Object>()).getId();
    EXPECT_TRUE(HandleManager::getObject(nothing).isNull());
    const char* emptyName = HandleManager::findClassType(nothing);
    ASSERT_NE(emptyName, nullptr);
    EXPECT_STREQ(emptyName, "");

    std::atomic<int> destroyed{0};
    const int named =
        HandleManager::newObjectHandle("MOX::AUTHN::IIdentity", hdltest::makeTracked("i", &destroyed)).getId();
    const char* name = HandleManager::findClassType(named);
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "MOX::AUTHN::IIdentity");
    // The text belongs to the record and stays put while the handle is open.
    HandleManager::newObjectHandle("Other", hdltest::makeTracked("x", &destroyed));
    EXPECT_EQ(HandleManager::findClassType(named), name);
    EXPECT_STREQ(name, "MOX::AUTHN::IIdentity");
    EXPECT_TRUE(HandleManager::closeHandle(HandleId(nothing)));
}

TEST(HandleManager, AnObjectClosingAnotherHandleFromItsDestructorDoesNotDeadlock)
{
    std::atomic<int> destroyed{0};
    const int inner = HandleManager::newObjectHandle("Inner", hdltest::makeTracked("in", &destroyed)).getId();
    const int outer = HandleManager::newObjectHandle("Owner", SmartPointer<MOX::Object>(new Owner(inner))).getId();
    EXPECT_TRUE(HandleManager::closeHandle(HandleId(outer)));
    EXPECT_TRUE(Owner::closedOwned);
    EXPECT_EQ(destroyed.load(), 1);
    EXPECT_EQ(HandleManager::getOpenHandleCount(), 0u);
}

TEST(HandleManager, NoRecordedErrorReadsAsZeroAndNoError)
{
    EXPECT_TRUE(HandleManager::getLastException().isNull());
    char* message = reinterpret_cast<char*>(&message); // must be overwritten
    EXPECT_EQ(HandleManager::getError(&message), 0);
    ASSERT_NE(message, nullptr);
    EXPECT_STREQ(message, "");
    std::free(message);
    EXPECT_EQ(HandleManager::getError(nullptr), 0);
    EXPECT_EQ(HandleManager::getLastExceptionName(), "No Error");
}

TEST(HandleManager, RecordingOperationsRecordTheirFixedExceptions)
{
    struct Row {
        void (*record)();
        int code;
        const char* message;
        const char* name;
        const char* function;
    };
    const Row rows[] = {
        {&HandleManager::classCast, -1005, "Cast conversion failed", "ClassCastException",
         "MOX::HDL::HandleManager::classCast"},
        {&HandleManager::invalidHandle, -1039, "Invalid Handle", "InvalidHandleException",
         "MOX::HDL::HandleManager::invalidHandle"},
        {&HandleManager::invalidArgument, -1006, "The arguments specified in the operation were invalid",
         "InvalidArgumentException", "MOX::HDL::HandleManager::invalidArgument"},
        {&HandleManager::unexpectedError, -1040, "Unknown error from underlying code", "UnexpectedException",
         "MOX::HDL::HandleManager::unexpectedError"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.record();
        // Reading twice gives the same: reading does not clear.
        for (int pass = 0; pass < 2; ++pass) {
            const ErrorState state = readError();
            EXPECT_EQ(state.code, row.code);
            EXPECT_EQ(state.message, row.message);
            EXPECT_EQ(state.name, row.name);
        }
        EXPECT_EQ(HandleManager::getError(nullptr), row.code);
        const SmartPointer<MoxException> e = HandleManager::getLastException();
        ASSERT_FALSE(e.isNull());
        EXPECT_EQ(e->getFacility(), "MOX");
        EXPECT_EQ(e->getKey(), "code");
        EXPECT_EQ(e->getMessage(), row.message);
        EXPECT_EQ(e->getFile(), "services/handle/HandleManager");
        EXPECT_EQ(e->getFunction(), row.function);
        EXPECT_GT(e->getLine(), 0);
    }
    EXPECT_NE(dynamic_cast<UnexpectedException*>(HandleManager::getLastException().get()), nullptr);
}

TEST(HandleManager, RecordedCopyIsIndependentOfTheOriginal)
{
    {
        SerializationException original("bad element <x>", ErrorCode::Unmarshal);
        original.setSourceLocation("data/x", 10, "MOX::parseX");
        HandleManager::setException(original);
        original = SerializationException("changed", ErrorCode::Marshal);
        original.setSourceLocation("data/y", 20, "MOX::writeY");
    }
    const SmartPointer<MoxException> e = HandleManager::getLastException();
    ASSERT_FALSE(e.isNull());
    EXPECT_NE(dynamic_cast<SerializationException*>(e.get()), nullptr);
    EXPECT_EQ(e->getCode(), -1056);
    EXPECT_EQ(e->getDetail(), "bad element <x>");
    EXPECT_EQ(e->getFunction(), "MOX::parseX");
    EXPECT_EQ(e->getLine(), 10);

    const ErrorState state = readError();
    EXPECT_EQ(state.code, -1056);
    EXPECT_EQ(state.message, std::string(e->what()));
    EXPECT_NE(state.message.find("bad element <x>"), std::string::npos);
    EXPECT_EQ(state.name, "SerializationException");

    // A short-form exception records code 0; its text is its class name.
    SystemException shortForm;
    HandleManager::setException(shortForm);
    const ErrorState shortState = readError();
    EXPECT_EQ(shortState.code, 0);
    EXPECT_EQ(shortState.message, "SystemException");
    EXPECT_EQ(shortState.name, "SystemException");
}

TEST(HandleManager, CloseHandleAlwaysClearsTheCallersError)
{
    std::atomic<int> destroyed{0};
    const int number = HandleManager::newObjectHandle("A", hdltest::makeTracked("a", &destroyed)).getId();

    HandleManager::invalidHandle();
    EXPECT_FALSE(HandleManager::closeHandle(HandleId(number + 100)));
    EXPECT_EQ(readError().code, 0);
    EXPECT_EQ(HandleManager::getLastExceptionName(), "No Error");
    EXPECT_TRUE(HandleManager::getLastException().isNull());

    HandleManager::classCast();
    EXPECT_TRUE(HandleManager::closeHandle(HandleId(number)));
    EXPECT_EQ(HandleManager::getError(nullptr), 0);
}

TEST(HandleManager, LastErrorsArePerThread)
{
    HandleManager::classCast();
    int otherBefore = 1;
    int otherAfter = 0;
    std::string otherName;
    std::thread other([&] {
        otherBefore = HandleManager::getError(nullptr);
        HandleManager::invalidArgument();
        otherAfter = HandleManager::getError(nullptr);
        otherName = HandleManager::getLastExceptionName();
    });
    other.join();
    EXPECT_EQ(otherBefore, 0);
    EXPECT_EQ(otherAfter, -1006);
    EXPECT_EQ(otherName, "InvalidArgumentException");
    EXPECT_EQ(HandleManager::getError(nullptr), -1005);

    // A close on another thread clears only that thread's error.
    std::thread closer([] { HandleManager::closeHandle(HandleId(12345)); });
    closer.join();
    EXPECT_EQ(HandleManager::getError(nullptr), -1005);
    EXPECT_EQ(HandleManager::getLastExceptionName(), "ClassCastException");
}

TEST(HandleManagerStrings, CopyStringCopiesEveryByteAndTerminates)
{
    char* out = nullptr;
    CString empty(HandleManager::copyString("", &out), &std::free);
    ASSERT_NE(empty.get(), nullptr);
    EXPECT_EQ(out, empty.get());
    EXPECT_EQ(empty.get()[0], '\0');

    const std::string withZero("ab\0cd", 5);
    CString copy(HandleManager::copyString(withZero, nullptr), &std::free);
    EXPECT_EQ(std::memcmp(copy.get(), "ab\0cd\0", 6), 0);

    const std::string text = "h\xC3\xA9llo";
    CString utf8(HandleManager::copyString(text, nullptr), &std::free);
    EXPECT_EQ(std::string(utf8.get()), text);
}

TEST(HandleManagerStrings, ToCharGivesANullTerminatedArrayOfCopies)
{
    char** none = HandleManager::toChar({});
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none[0], nullptr);
    std::free(none);

    const MOX::Vector<std::string> texts = {"first", "", "third"};
    char** array = HandleManager::toChar(texts);
    ASSERT_NE(array, nullptr);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ASSERT_NE(array[i], nullptr);
        EXPECT_EQ(std::string(array[i]), texts[i]);
        EXPECT_NE(static_cast<const void*>(array[i]), static_cast<const void*>(texts[i].c_str()));
    }
    EXPECT_EQ(array[texts.size()], nullptr);
    for (std::size_t i = 0; i < texts.size(); ++i)
        std::free(array[i]);
    std::free(array);
}

TEST(HandleManagerStrings, GetStringTreatsNullByRequirement)
{
    EXPECT_EQ(HandleManager::getString("text", true), "text");
    EXPECT_EQ(HandleManager::getString("", true), "");
    EXPECT_EQ(HandleManager::getString(nullptr, false), "");
    try {
        HandleManager::getString(nullptr, true);
        FAIL() << "a required null text was accepted";
    } catch (const InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), 0);
        EXPECT_EQ(e.getFunction(), "MOX::HDL::HandleManager::getString");
    }
    // The string helpers record nothing.
    EXPECT_EQ(HandleManager::getError(nullptr), 0);
}
