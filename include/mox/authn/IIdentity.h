// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Identities of principals and their factories and conversions.
#include <string>

#include <mox/authn/IAccountId.h>
#include <mox/authn/IAuthorityId.h>
#include <mox/authn/IdentityFormats.h>
#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace AUTHN {

/// One principal (user, group, or an account of another type) written as one text in a
/// stated format (QEL, EMAIL, UPN, or any other text). Format, text and type never
/// change; the name part and the authority are worked out from the text when the
/// identity is made.
///
/// The order is built so that a set of identities recognises one principal written in
/// different formats: identities with different texts compare by name, then type, then
/// format (a QEL format matches any), then authority name and authority format (an
/// UNKNOWN authority format matches any). Identities of different types never compare
/// equal. Because of the wildcards the order is not transitive across mixed formats; a
/// set keeps whichever equivalent identity was inserted first.
///
/// An identity never changes once made: any number of threads may read it at once.
class MOX_API IIdentity : public virtual Object {
public:
    ~IIdentity() override;
    /// The name part: after the account's type prefix in QEL, before the "@" in EMAIL
    /// and UPN, empty in other formats.
    virtual const std::string& getName() const = 0;
    /// The account type ("User", "Group", or the type of the account it was built from).
    virtual const std::string& getType() const = 0;
    /// The authority's name (QEL: between the first ":" and the first "/", none when the
    /// "/" comes first; EMAIL, UPN: after the first "@"). Throws InvalidArgumentException
    /// -1006 when no valid authority can be derived (on every call).
    virtual const std::string& getAuthorityName() const = 0;
    /// The authority's format (QEL: before the first ":"; other formats: "UNKNOWN").
    /// Throws as getAuthorityName does.
    virtual const std::string& getAuthorityFormat() const = 0;
    /// The identity's format name.
    virtual const std::string& getFormat() const = 0;
    /// The identity's text in its format.
    virtual const std::string& getValue() const = 0;
    /// True when the type is exactly "Group".
    virtual bool isGroup() const = 0;
    /// True when the type is exactly "User".
    virtual bool isUser() const = 0;
    /// The set order described above; may throw the authority error when it has to
    /// compare authorities.
    virtual bool lessThan(const IIdentity& other) const = 0;
};

/// A set of identities under the identity order.
using IdentitySet = Set<RT::SmartPointer<IIdentity>>;

} // namespace AUTHN

/// A QEL identity: text authority + "/" + account, type of the account. Null pointers
/// throw the runtime's dereference error. The authority is not kept but read back from
/// the text: one whose format holds "/", or whose name the leading backslashes emptied
/// or left with a backslash, gives an identity whose authority getters throw -1006.
MOX_API RT::SmartPointer<AUTHN::IIdentity> createIdentity(const RT::SmartPointer<AUTHN::IAuthorityId>& authority,
                                                          const RT::SmartPointer<AUTHN::IAccountId>& account);

/// A QEL identity of the user `name` (createUserAccount's error for an empty name).
MOX_API RT::SmartPointer<AUTHN::IIdentity> createUserIdentity(const RT::SmartPointer<AUTHN::IAuthorityId>& authority,
                                                              const std::string& name);

/// A QEL identity of the group `name` (createGroupAccount's error for an empty name).
MOX_API RT::SmartPointer<AUTHN::IIdentity> createGroupIdentity(const RT::SmartPointer<AUTHN::IAuthorityId>& authority,
                                                               const std::string& name);

/// A user identity with the given format and text, both stored unchecked (empty texts
/// included).
MOX_API RT::SmartPointer<AUTHN::IIdentity> createUserIdentity(const std::string& format, const std::string& value);

/// A group identity with the given format and text, both stored unchecked.
MOX_API RT::SmartPointer<AUTHN::IIdentity> createGroupIdentity(const std::string& format, const std::string& value);

/// True when `identity` is non-null and of type "User".
MOX_API bool isUserIdentity(const RT::SmartPointer<AUTHN::IIdentity>& identity);

/// True when `identity` is non-null and of type "Group".
MOX_API bool isGroupIdentity(const RT::SmartPointer<AUTHN::IIdentity>& identity);

/// True when `set` holds an identity equivalent to `identity` under the set's order,
/// so across formats. This is the set's own lookup: a null `identity` is equivalent to
/// every element and is found in any non-empty set.
MOX_API bool containsIdentity(const RT::SmartPointer<AUTHN::IIdentity>& identity, const AUTHN::IdentitySet& set);

/// True when at least one identity of `first` is contained in `second`; false for an
/// empty `first`.
MOX_API bool containsIdentity(const AUTHN::IdentitySet& first, const AUTHN::IdentitySet& second);

/// The same principal as a new identity in `format`: "EMAIL" or "UPN" give
/// name + "@" + authority name; "QEL" only from a QEL identity (same text). Other
/// targets, or QEL from another format, throw InvalidArgumentException -1075
/// ("MOX::toIdentityInFormat"); a source whose authority cannot be derived throws the
/// authority error. Traces under the scope "MOX::toIdentityInFormat".
MOX_API RT::SmartPointer<AUTHN::IIdentity> toIdentityInFormat(const RT::SmartPointer<AUTHN::IIdentity>& identity,
                                                              const std::string& format);

} // namespace MOX
