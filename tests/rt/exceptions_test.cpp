#include <memory>
#include <string>
#include <typeinfo>

#include <gtest/gtest.h>

#include <mox/rt/Check.h>
#include <mox/rt/ErrorCode.h>
#include <mox/rt/Exceptions.h>

using namespace MOX::EXCEPTIONS;

namespace {

template <class E>
void expectCloneKeepsClass(const E& original, const char* name)
{
    std::unique_ptr<MoxException> copy(static_cast<const MoxException&>(original).clone());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(typeid(*copy), typeid(E)) << name;
    EXPECT_EQ(copy->getName(), name);
    EXPECT_EQ(copy->getCode(), original.getCode());
    EXPECT_EQ(copy->getMessage(), original.getMessage());
    EXPECT_EQ(copy->getDetail(), original.getDetail());
    EXPECT_EQ(copy->getFile(), original.getFile());
    EXPECT_EQ(copy->getLine(), original.getLine());
    EXPECT_EQ(copy->getFunction(), original.getFunction());
    EXPECT_STREQ(copy->what(), original.what());
    // raise() throws the dynamic class, so a catch of the concrete class sees it.
    EXPECT_THROW(copy->raise(), E);
}

} // namespace

TEST(Exceptions, TableCodesAndMessages)
{
    EXPECT_STREQ(errorMessage(ErrorCode::NullPointer), "A NULL pointer was encountered during the operation");
    EXPECT_STREQ(errorMessage(-1005), "Cast conversion failed");
    EXPECT_STREQ(errorMessage(-1009), "The input string cannot be converted to an integer");
    EXPECT_STREQ(errorMessage(-1057), "Failed to created unmarshaller");
    EXPECT_STREQ(errorMessage(-1088), "The bootstrap path must be assigned prior to performing this operation");
    EXPECT_STREQ(errorMessage(-1106), "Registration already exists for the eventId");
    EXPECT_STREQ(errorMessage(0), "");
    EXPECT_STREQ(errorMessage(RuntimeSystemError), "");
    EXPECT_STREQ(errorMessage(-1007), "");
    EXPECT_STREQ(errorFacility(), "MOX");
    EXPECT_STREQ(errorKey(), "code");
}

TEST(Exceptions, FullAndShortForms)
{
    const InvalidArgumentException full(ErrorCode::InvalidInput);
    EXPECT_FALSE(full.isShortForm());
    EXPECT_EQ(full.getCode(), -1075);
    EXPECT_EQ(full.getFacility(), "MOX");
    EXPECT_EQ(full.getKey(), "code");
    EXPECT_EQ(full.getMessage(), "Not a valid input");
    EXPECT_EQ(full.getDetail(), "");
    EXPECT_STREQ(full.what(), "Not a valid input");
    EXPECT_EQ(full.getLine(), -1);
    EXPECT_EQ(full.getFile(), "");

    const SerializationException detailed("element \"x\" missing", ErrorCode::Unmarshal);
    EXPECT_EQ(detailed.getCode(), -1056);
    EXPECT_EQ(detailed.getDetail(), "element \"x\" missing");
    EXPECT_STREQ(detailed.what(), "Error converting string to object: element \"x\" missing");

    const InvalidHandleException shortForm;
    EXPECT_TRUE(shortForm.isShortForm());
    EXPECT_EQ(shortForm.getCode(), 0);
    EXPECT_EQ(shortForm.getFacility(), "");
    EXPECT_EQ(shortForm.getMessage(), "");
    EXPECT_STREQ(shortForm.what(), "InvalidHandleException");
    EXPECT_STREQ(BadAllocException().what(), "BadAllocException");

    const ObjectAlreadyExistsException twice("event-1", "event-1b", ErrorCode::RegistrationExists);
    EXPECT_EQ(twice.getFirst(), "event-1");
    EXPECT_EQ(twice.getSecond(), "event-1b");
    EXPECT_EQ(twice.getCode(), -1106);

    const SystemException custom("MOX", -7, "code", "custom text", "why");
    EXPECT_EQ(custom.getCode(), -7);
    EXPECT_STREQ(custom.what(), "custom text: why");
    // Every exception is a standard one.
    const std::exception& standard = custom;
    EXPECT_STREQ(standard.what(), "custom text: why");
}

TEST(Exceptions, SourceLocationAndThrowSite)
{
    UnexpectedException e(ErrorCode::Unknown);
    e.setSourceLocation("data/x/Thing", 12, "MOX::X::thing");
    EXPECT_EQ(e.getFile(), "data/x/Thing");
    EXPECT_EQ(e.getLine(), 12);
    EXPECT_EQ(e.getFunction(), "MOX::X::thing");
    EXPECT_STREQ(e.what(), "Unknown error from underlying code");  // location is not part of what()

    int line = 0;
    try {
        line = __LINE__ + 1;
        MOX_THROW(ClassCastException(ErrorCode::ClassCast), "data/y/Cast", "MOX::Y::cast");
    } catch (const MoxException& caught) {
        EXPECT_EQ(caught.getName(), "ClassCastException");
        EXPECT_EQ(caught.getFile(), "data/y/Cast");
        EXPECT_EQ(caught.getLine(), line);
        EXPECT_EQ(caught.getFunction(), "MOX::Y::cast");
    }
}

TEST(Exceptions, ClonesKeepTheirDynamicClass)
{
    InvalidArgumentException a(ErrorCode::InvalidArguments);
    a.setSourceLocation("f", 1, "fn");
    expectCloneKeepsClass(a, "InvalidArgumentException");
    expectCloneKeepsClass(ClassCastException(ErrorCode::ClassCast), "ClassCastException");
    expectCloneKeepsClass(InvalidHandleException(), "InvalidHandleException");
    expectCloneKeepsClass(UnexpectedException(ErrorCode::Unknown), "UnexpectedException");
    expectCloneKeepsClass(SerializationException("d", ErrorCode::Marshal), "SerializationException");
    expectCloneKeepsClass(SystemException(ErrorCode::BootstrapPath), "SystemException");
    expectCloneKeepsClass(BadAllocException(), "BadAllocException");
    expectCloneKeepsClass(NullPointerException(ErrorCode::NullPointer), "NullPointerException");
    expectCloneKeepsClass(MoxException(ErrorCode::Unknown), "MoxException");

    const ObjectAlreadyExistsException o("a", "b", ErrorCode::RegistrationExists);
    std::unique_ptr<MoxException> copy(static_cast<const MoxException&>(o).clone());
    auto* typed = dynamic_cast<ObjectAlreadyExistsException*>(copy.get());
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->getSecond(), "b");
    try {
        copy->raise();
    } catch (const ObjectAlreadyExistsException& again) {
        EXPECT_EQ(again.getSecond(), "b");
    }
}

TEST(Exceptions, CheckDerefAndCheckCast)
{
    int value = 3;
    EXPECT_EQ(&MOX::RT::checkDeref(&value), &value);
    try {
        MOX::RT::checkDeref(static_cast<int*>(nullptr));
        FAIL();
    } catch (const NullPointerException& e) {
        EXPECT_EQ(e.getCode(), -1004);
        EXPECT_EQ(e.getMessage(), errorMessage(ErrorCode::NullPointer));
        EXPECT_EQ(e.getFunction(), "MOX::RT::checkDeref");
    }
    try {
        MOX::RT::checkCast(MOX::RT::SmartPointer<int>());
        FAIL();
    } catch (const ClassCastException& e) {
        EXPECT_EQ(e.getCode(), -1005);
        EXPECT_EQ(e.getFunction(), "MOX::RT::checkCast");
    }
    EXPECT_THROW(MOX::RT::checkDeref(MOX::RT::SmartPointer<int>()), NullPointerException);
}
