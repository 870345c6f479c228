#pragma once
// Checks shared by the principal tests: an exception's class, code, message and source
// location, for the two kinds of argument error and the other errors of the area.
#include <gtest/gtest.h>

#include <string>

#include "MoxTestSupport.h"

namespace authntest {

constexpr const char kAccountFile[] = "data/authentication/AccountIdImpl";
constexpr const char kAuthorityFile[] = "data/authentication/AuthorityIdImpl";
constexpr const char kIdentityFile[] = "data/authentication/IdentityImpl";
constexpr const char kMarshallerFile[] = "data/authentication/impl/IdentityMarshaller";
constexpr const char kStripFunction[] = "`anonymous-namespace'::stripLeadingDoubleSlash";

// Runs `f`; succeeds when it throws E with exactly `code` (0: the short form), the
// code's message, `file`, `function` and a line.
template <class E = MOX::EXCEPTIONS::InvalidArgumentException, class F>
::testing::AssertionResult throwsError(F&& f, int code, const std::string& file, const std::string& function)
{
    return moxtest::throwsMox<E>(f, code, function.c_str(), file.c_str());
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
