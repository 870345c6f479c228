#pragma once
// Helpers shared by the identifier tests.
#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>

namespace classtest {

// Runs `f` and checks that it throws the -1006 argument error naming `file` and `function`.
template <class F>
::testing::AssertionResult throwsInvalidArguments(F f, const char* file, const char* function)
{
    try {
        f();
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        if (e.getCode() != -1006 || e.getFacility() != "MOX" || e.getKey() != "code" ||
            e.getMessage() != MOX::EXCEPTIONS::errorMessage(MOX::EXCEPTIONS::ErrorCode::InvalidArguments) ||
            e.getFile() != file || e.getFunction() != function || e.getLine() <= 0)
            return ::testing::AssertionFailure() << "wrong exception: " << e.getCode() << ' ' << e.getFile() << ' '
                                                 << e.getFunction() << ' ' << e.getMessage();
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "nothing thrown";
}

// The value of an attribute of the first element of `xml`, or "(absent)".
inline std::string attribute(const std::string& xml, const std::string& name)
{
    return MOX::RT::XmlUtils::GetAttributeValue(name, xml, "(absent)");
}

} // namespace classtest
