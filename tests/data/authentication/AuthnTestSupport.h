// SPDX-License-Identifier: MIT
#pragma once
// The source files and functions the principal tests expect errors from.
#include "MoxTestSupport.h"

namespace authntest {

constexpr const char kAccountFile[] = "data/authentication/AccountIdImpl";
constexpr const char kAuthorityFile[] = "data/authentication/AuthorityIdImpl";
constexpr const char kIdentityFile[] = "data/authentication/IdentityImpl";
constexpr const char kMarshallerFile[] = "data/authentication/impl/IdentityMarshaller";
constexpr const char kStripFunction[] = "`anonymous-namespace'::stripLeadingDoubleSlash";
constexpr const char kCreateAuthority[] = "MOX::createAuthorityId";

} // namespace authntest
