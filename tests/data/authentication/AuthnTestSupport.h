#pragma once
// Checks shared by the principal tests: an exception's class, code, message and source
// location, for the two kinds of argument error and the other errors of the area.
#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>

#include <map>
#include <sstream>
#include <string>

namespace authntest {

constexpr const char kAccountFile[] = "data/authentication/AccountIdImpl";
constexpr const char kAuthorityFile[] = "data/authentication/AuthorityIdImpl";
constexpr const char kIdentityFile[] = "data/authentication/IdentityImpl";
constexpr const char kMarshallerFile[] = "data/authentication/impl/IdentityMarshaller";
constexpr const char kStripFunction[] = "`anonymous-namespace'::stripLeadingDoubleSlash";

// Runs `f`; succeeds when it throws E with exactly `code` (0: the short form, with no
// facility, key or message), the code's message, `file`, `function` and a line.
template <class E = MOX::EXCEPTIONS::InvalidArgumentException, class F>
::testing::AssertionResult throwsError(F&& f, int code, const std::string& file, const std::string& function)
{
    static const std::map<int, std::string> messages = {
        {0, ""},
        {-1004, "A NULL pointer was encountered during the operation"},
        {-1006, "The arguments specified in the operation were invalid"},
        {-1075, "Not a valid input"},
    };
    try {
        f();
    } catch (const E& e) {
        std::ostringstream bad;
        if (e.getCode() != code || e.getMessage() != messages.at(code))
            bad << "code " << e.getCode() << " '" << e.getMessage() << "'; ";
        if (e.getFacility() != (code ? "MOX" : "") || e.getKey() != (code ? "code" : ""))
            bad << "facility '" << e.getFacility() << "' key '" << e.getKey() << "'; ";
        if (e.getFile() != file || e.getFunction() != function || e.getLine() <= 0)
            bad << "at " << e.getFile() << ':' << e.getLine() << ' ' << e.getFunction();
        if (bad.str().empty())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << bad.str();
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        return ::testing::AssertionFailure() << "threw " << e.getName() << ' ' << e.getCode() << " from "
                                             << e.getFunction();
    }
    return ::testing::AssertionFailure() << "nothing thrown";
}

// The first kind of argument error: the short form.
template <class F>
::testing::AssertionResult throwsShortForm(F&& f, const std::string& file, const std::string& function)
{
    return throwsError(f, 0, file, function);
}

// The authority derivation error: createAuthorityId's -1006.
template <class F>
::testing::AssertionResult throwsAuthorityError(F&& f)
{
    return throwsError(f, -1006, kAuthorityFile, "MOX::createAuthorityId");
}

// The runtime's dereference check on a null smart pointer.
template <class F>
::testing::AssertionResult throwsNullPointer(F&& f)
{
    return throwsError<MOX::EXCEPTIONS::NullPointerException>(f, -1004, "rt/Check", "MOX::RT::checkDeref");
}

} // namespace authntest
