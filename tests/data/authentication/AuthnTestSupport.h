#pragma once
// Checks shared by the principal tests: the two kinds of argument error, the -1075
// conversion error and the runtime's dereference error, each with its source location.
#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>

#include <string>

namespace authntest {

constexpr const char kAccountFile[] = "data/authentication/AccountIdImpl";
constexpr const char kAuthorityFile[] = "data/authentication/AuthorityIdImpl";
constexpr const char kIdentityFile[] = "data/authentication/IdentityImpl";
constexpr const char kMarshallerFile[] = "data/authentication/impl/IdentityMarshaller";
constexpr const char kStripFunction[] = "`anonymous-namespace'::stripLeadingDoubleSlash";

// Runs `f` and reports what it threw, as a failure text ("" when it was exception E with
// the given code, message, file and function).
template <class E, class F>
std::string describeThrow(F&& f, int code, const std::string& message, const std::string& file,
                          const std::string& function)
{
    try {
        f();
    } catch (const E& e) {
        std::string problems;
        auto check = [&problems](bool ok, const std::string& what) {
            if (!ok)
                problems += what + "; ";
        };
        check(e.getCode() == code, "code " + std::to_string(e.getCode()));
        check(e.getMessage() == message, "message '" + e.getMessage() + "'");
        check(e.getFacility() == (code == 0 ? "" : "MOX"), "facility '" + e.getFacility() + "'");
        check(e.getKey() == (code == 0 ? "" : "code"), "key '" + e.getKey() + "'");
        check(e.getFile() == file, "file '" + e.getFile() + "'");
        check(e.getFunction() == function, "function '" + e.getFunction() + "'");
        check(e.getLine() > 0, "line " + std::to_string(e.getLine()));
        return problems;
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        return "threw " + e.getName() + " " + std::to_string(e.getCode()) + " from " + e.getFunction();
    }
    return "nothing thrown";
}

// The first kind: the short form, carrying only the source location.
template <class F>
::testing::AssertionResult throwsShortForm(F&& f, const std::string& file, const std::string& function)
{
    const std::string problems =
        describeThrow<MOX::EXCEPTIONS::InvalidArgumentException>(f, 0, "", file, function);
    if (problems.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << problems;
}

// The second kind: -1006 with the table's message.
template <class F>
::testing::AssertionResult throwsInvalidArguments(F&& f, const std::string& file, const std::string& function)
{
    const std::string problems = describeThrow<MOX::EXCEPTIONS::InvalidArgumentException>(
        f, -1006, "The arguments specified in the operation were invalid", file, function);
    if (problems.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << problems;
}

// The authority derivation error: createAuthorityId's -1006.
template <class F>
::testing::AssertionResult throwsAuthorityError(F&& f)
{
    return throwsInvalidArguments(f, kAuthorityFile, "MOX::createAuthorityId");
}

// The conversion error of toIdentityInFormat: -1075.
template <class F>
::testing::AssertionResult throwsConversionError(F&& f)
{
    const std::string problems = describeThrow<MOX::EXCEPTIONS::InvalidArgumentException>(
        f, -1075, "Not a valid input", kIdentityFile, "MOX::toIdentityInFormat");
    if (problems.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << problems;
}

// The runtime's dereference check on a null smart pointer.
template <class F>
::testing::AssertionResult throwsNullPointer(F&& f)
{
    const std::string problems = describeThrow<MOX::EXCEPTIONS::NullPointerException>(
        f, -1004, "A NULL pointer was encountered during the operation", "rt/Check", "MOX::RT::checkDeref");
    if (problems.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << problems;
}

} // namespace authntest
