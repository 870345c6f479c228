#include <memory>
#include <string>
#include <utility>
#include <typeinfo>

#include <gtest/gtest.h>

#include <mox/rt/Check.h>
#include <mox/rt/ErrorCode.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Raise.h>

MOX_SOURCE_FILE("data/y/Cast")

using namespace MOX::EXCEPTIONS;

TEST(Exceptions, MessageTableAndForms)
{
    const struct { int code; const char* message; } table[] = {
        {-1004, "A NULL pointer was encountered during the operation"}, {-1057, "Failed to created unmarshaller"},
        {0, ""}, {-1007, ""}, {RuntimeSystemError, ""}};
    for (const auto& row : table)
        EXPECT_STREQ(errorMessage(row.code), row.message) << row.code;

    const InvalidArgumentException full(ErrorCode::InvalidInput);
    EXPECT_FALSE(full.isShortForm());
    EXPECT_EQ(full.getCode(), -1075);
    EXPECT_EQ(full.getFacility(), "MOX");
    EXPECT_EQ(full.getKey(), "code");
    EXPECT_STREQ(full.what(), "Not a valid input");

    const SerializationException detailed("element \"x\" missing", ErrorCode::Unmarshal);
    EXPECT_EQ(detailed.getCode(), -1056);
    EXPECT_STREQ(detailed.what(), "Error converting string to object: element \"x\" missing");
    const std::exception& custom = SystemException("MOX", -7, "code", "custom text", "why");
    EXPECT_STREQ(custom.what(), "custom text: why");

    const InvalidHandleException shortForm;
    EXPECT_TRUE(shortForm.isShortForm());
    EXPECT_EQ(shortForm.getCode(), 0);
    EXPECT_STREQ(shortForm.what(), "InvalidHandleException");

    const ObjectAlreadyExistsException twice("event-1", "event-1b", ErrorCode::RegistrationExists);
    EXPECT_EQ(twice.getFirst(), "event-1");
    EXPECT_EQ(twice.getSecond(), "event-1b");
}

TEST(Exceptions, RaiseTakesTheClassFromTheCodeAndRecordsTheSite)
{
    const std::pair<ErrorCode, const char*> table[] = {
        {ErrorCode::NullPointer, "NullPointerException"},       {ErrorCode::ClassCast, "ClassCastException"},
        {ErrorCode::InvalidArguments, "InvalidArgumentException"}, {ErrorCode::InvalidHandle, "InvalidHandleException"},
        {ErrorCode::Unknown, "UnexpectedException"},            {ErrorCode::Unmarshal, "SerializationException"},
        {ErrorCode::BootstrapPath, "SystemException"},           {ErrorCode::RegistrationExists, "ObjectAlreadyExistsException"},
    };
    for (const auto& [code, name] : table) {
        int line = 0;
        try {
            line = __LINE__ + 1;
            raise(code, MOX_SITE("MOX::Y::cast"), "why");
        } catch (const MoxException& caught) {
            EXPECT_EQ(caught.getName(), name);
            EXPECT_EQ(caught.getCode(), static_cast<int>(code));
            EXPECT_EQ(caught.getMessage(), errorMessage(code));
            EXPECT_EQ(caught.getFile() + ":" + std::to_string(caught.getLine()) + ":" + caught.getFunction(),
                      "data/y/Cast:" + std::to_string(line) + ":MOX::Y::cast");
        }
    }
    // A missing value is also a bad argument: callers catching either class see it.
    EXPECT_THROW(raise(ErrorCode::NullPointer, MOX_SITE("f")), InvalidArgumentException);
}

TEST(Exceptions, ClonesKeepTheirDynamicClassAndEveryField)
{
    InvalidArgumentException full(ErrorCode::InvalidArguments);
    full.setSourceLocation("f", 1, "fn");
    const InvalidHandleException shortForm;
    const ObjectAlreadyExistsException pair("a", "b", ErrorCode::RegistrationExists);
    for (const MoxException* original : {static_cast<const MoxException*>(&full), static_cast<const MoxException*>(&shortForm),
                                         static_cast<const MoxException*>(&pair)}) {
        SCOPED_TRACE(original->getName());
        std::unique_ptr<MoxException> copy(original->clone());
        EXPECT_EQ(typeid(*copy), typeid(*original));
        EXPECT_EQ(copy->getName() + "|" + std::to_string(copy->getCode()) + "|" + copy->getDetail() + "|" +
                      std::to_string(copy->getLine()) + "|" + copy->getFunction() + "|" + copy->what(),
                  original->getName() + "|" + std::to_string(original->getCode()) + "|" + original->getDetail() + "|" +
                      std::to_string(original->getLine()) + "|" + original->getFunction() + "|" + original->what());
    }
    std::unique_ptr<MoxException> copy(pair.clone());
    EXPECT_EQ(dynamic_cast<ObjectAlreadyExistsException&>(*copy).getSecond(), "b");
    EXPECT_THROW(copy->raise(), ObjectAlreadyExistsException);
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
        EXPECT_EQ(e.getFunction(), "MOX::RT::checkDeref");
    }
    try {
        MOX::RT::checkCast(MOX::RT::SmartPointer<int>());
        FAIL();
    } catch (const ClassCastException& e) {
        EXPECT_EQ(e.getCode(), -1005);
        EXPECT_EQ(e.getFunction(), "MOX::RT::checkCast");
    }
}
