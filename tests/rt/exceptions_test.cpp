#include <memory>
#include <string>
#include <typeinfo>

#include <gtest/gtest.h>

#include <mox/rt/Check.h>
#include <mox/rt/ErrorCode.h>
#include <mox/rt/Exceptions.h>

#include "MoxTestSupport.h"

using namespace MOX::EXCEPTIONS;

TEST(Exceptions, MessageTableAndForms)
{
    const struct { int code; const char* message; } table[] = {
        {-1004, "A NULL pointer was encountered during the operation"}, {-1057, "Failed to created unmarshaller"},
        {-1075, "Not a valid input"}, {0, ""}, {-1007, ""}, {RuntimeSystemError, ""}};
    for (const auto& row : table)
        EXPECT_STREQ(errorMessage(row.code), row.message) << row.code;

    const InvalidArgumentException full(ErrorCode::InvalidInput);
    EXPECT_EQ(full.getFacility() + "|" + full.getKey() + "|" + full.what(), "MOX|code|Not a valid input");
    EXPECT_STREQ(SerializationException("element \"x\" missing", ErrorCode::Unmarshal).what(),
                 "Error converting string to object: element \"x\" missing");
    EXPECT_STREQ(SystemException("MOX", -7, "code", "custom text", "why").what(), "custom text: why");
    EXPECT_STREQ(InvalidHandleException().what(), "InvalidHandleException");
}

TEST(Exceptions, ThrowSiteIsRecordedAndClonesKeepClassAndFields)
{
    int line = 0;
    try {
        line = __LINE__ + 1;
        MOX_THROW(ObjectAlreadyExistsException("a", "b", ErrorCode::RegistrationExists), "data/y/Cast", "MOX::Y::f");
    } catch (const MoxException& caught) {
        EXPECT_EQ(caught.getFile() + "|" + caught.getFunction() + "|" + std::to_string(caught.getLine()),
                  "data/y/Cast|MOX::Y::f|" + std::to_string(line));
        const InvalidHandleException shortForm;
        for (const MoxException* original : {&caught, static_cast<const MoxException*>(&shortForm)}) {
            std::unique_ptr<MoxException> copy(original->clone());
            EXPECT_EQ(typeid(*copy), typeid(*original));
            EXPECT_EQ(copy->getCode() + copy->getLine(), original->getCode() + original->getLine());
            EXPECT_EQ(copy->getFunction() + copy->what(), original->getFunction() + original->what());
        }
        std::unique_ptr<MoxException> copy(caught.clone());
        EXPECT_EQ(dynamic_cast<ObjectAlreadyExistsException&>(*copy).getSecond(), "b");
        EXPECT_THROW(copy->raise(), ObjectAlreadyExistsException);
    }
}

TEST(Exceptions, CheckDerefAndCheckCast)
{
    int value = 3;
    EXPECT_EQ(&MOX::RT::checkDeref(&value), &value);
    EXPECT_TRUE(moxtest::throwsMox<NullPointerException>([] { MOX::RT::checkDeref(static_cast<int*>(nullptr)); },
                                                         -1004, "MOX::RT::checkDeref"));
    EXPECT_TRUE(moxtest::throwsMox<ClassCastException>([] { MOX::RT::checkCast(MOX::RT::SmartPointer<int>()); },
                                                       -1005, "MOX::RT::checkCast"));
}
