// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Names of identity formats and account types. All are exact, case-sensitive texts.

namespace MOX {

/// The platform's own identity format: authority text, "/", account text
/// (for example NT:CORP/alice or NT:CORP/Group:admins).
inline constexpr char MOX_FORMAT_QEL[] = "QEL";
/// E-mail address form: name "@" domain.
inline constexpr char MOX_FORMAT_EMAIL[] = "EMAIL";
/// User principal name form: name "@" domain.
inline constexpr char MOX_FORMAT_UPN[] = "UPN";
/// Not an identity format: the authority format of identities whose text cannot say
/// which kind of authority their domain is (EMAIL, UPN and foreign formats).
inline constexpr char MOX_FORMAT_UNKNOWN[] = "UNKNOWN";

namespace AUTHN {

/// Account type of a single user.
inline constexpr char USER_ACCOUNT_TYPE[] = "User";
/// Account type of a group of users.
inline constexpr char GROUP_ACCOUNT_TYPE[] = "Group";

} // namespace AUTHN
} // namespace MOX
