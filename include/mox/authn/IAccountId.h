// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Account identifiers and their factories.
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace AUTHN {

/// Who a principal is: an account name and its type ("User", "Group", or any other
/// non-empty text given to createAccountId). Immutable.
///
/// Text form: "Group:" + name for a group, the bare name for every other type (so an
/// account of a foreign type prints, and parses back, like a user).
class MOX_API IAccountId : public virtual Object {
public:
    ~IAccountId() override;
    /// The account name (never empty).
    virtual const std::string& getName() const = 0;
    /// The account type (never empty).
    virtual const std::string& getType() const = 0;
    /// True when the type is exactly "Group".
    virtual bool isGroup() const = 0;
    /// True when the type is exactly "User".
    virtual bool isUser() const = 0;
    /// Byte-wise order by type, then name; so every group sorts before every user.
    virtual bool lessThan(const IAccountId& other) const = 0;
};

/// A new account of any non-empty `type`, stored unchecked. An empty type or name throws
/// the short-form InvalidArgumentException ("MOX::AUTHN::createAccountId").
MOX_API RT::SmartPointer<IAccountId> createAccountId(const std::string& type, const std::string& name);

/// A new account of type "User"; an empty name throws the short-form
/// InvalidArgumentException ("MOX::AUTHN::createUserAccount").
MOX_API RT::SmartPointer<IAccountId> createUserAccount(const std::string& name);

/// A new account of type "Group"; an empty name throws the short-form
/// InvalidArgumentException ("MOX::AUTHN::createGroupAccount").
MOX_API RT::SmartPointer<IAccountId> createGroupAccount(const std::string& name);

/// True when `type` is exactly "User".
MOX_API bool isUserAccount(const std::string& type);
/// True when `type` is exactly "Group".
MOX_API bool isGroupAccount(const std::string& type);
/// True when the account's type is "User"; a null pointer throws the runtime's
/// dereference error rather than answering false.
MOX_API bool isUserAccount(const RT::SmartPointer<IAccountId>& account);
/// True when the account's type is "Group"; a null pointer throws the runtime's
/// dereference error rather than answering false.
MOX_API bool isGroupAccount(const RT::SmartPointer<IAccountId>& account);

} // namespace AUTHN

/// The account of a text form: "Type:name" (an empty type means "User") or a bare name
/// (a user). Only the first ":" splits. Empty or XML text throws the short-form
/// InvalidArgumentException ("MOX::parseAccountId"); an empty name fails in
/// createAccountId.
MOX_API RT::SmartPointer<AUTHN::IAccountId> parseAccountId(const std::string& text);

} // namespace MOX
