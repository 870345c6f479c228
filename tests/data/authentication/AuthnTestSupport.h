#pragma once
// Checks shared by the principal tests: the source files the area reports and its two
// most common errors.
#include <gtest/gtest.h>

#include "MoxTestSupport.h"

namespace authntest {

constexpr const char kAccountFile[] = "data/authentication/AccountIdImpl";
constexpr const char kAuthorityFile[] = "data/authentication/AuthorityIdImpl";
constexpr const char kIdentityFile[] = "data/authentication/IdentityImpl";
constexpr const char kMarshallerFile[] = "data/authentication/impl/IdentityMarshaller";
constexpr const char kStripFunction[] = "`anonymous-namespace'::stripLeadingDoubleSlash";

/// The short-form argument error of `function` in `file`.
template <class F>
::testing::AssertionResult throwsShortForm(F&& f, const char* file, const char* function)
{
    return moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(f, 0, function, file);
}

/// The authority derivation error: createAuthorityId's -1006.
template <class F>
::testing::AssertionResult throwsAuthorityError(F&& f)
{
    return moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(f, -1006, "MOX::createAuthorityId",
                                                                         kAuthorityFile);
}

/// The runtime's dereference check on a null smart pointer.
template <class F>
::testing::AssertionResult throwsNullPointer(F&& f)
{
    return moxtest::throwsMox<MOX::EXCEPTIONS::NullPointerException>(f, -1004, "MOX::RT::checkDeref", "rt/Check");
}

} // namespace authntest
