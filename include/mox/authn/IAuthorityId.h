// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Authority identifiers and their factories.
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace AUTHN {

/// The naming domain that vouches for an account: a format (the kind of authority, for
/// example NT) and a name (for example a domain). Immutable apart from the attachment,
/// a slot for callers that the library itself never reads.
///
/// Text form: format + ":" + name.
class MOX_API IAuthorityId : public virtual Object {
public:
    ~IAuthorityId() override;
    /// The authority format (never empty).
    virtual const std::string& getFormat() const = 0;
    /// The authority name, after the leading-backslash rule of createAuthorityId.
    virtual const std::string& getName() const = 0;
    /// The attached value; null until a caller sets one.
    virtual const RT::SmartPointer<Object>& getAttachment() const = 0;
    /// Replaces the attached value (null clears it). Not synchronised: callers sharing
    /// an authority between threads serialise their changes.
    virtual void setAttachment(const RT::SmartPointer<Object>& value) = 0;
    /// Byte-wise order by format, then name.
    virtual bool lessThan(const IAuthorityId& other) const = 0;
};

} // namespace AUTHN

/// A new authority. An empty format or name throws InvalidArgumentException -1006
/// ("MOX::createAuthorityId"). The name goes through the leading-backslash rule: a
/// name starting with a backslash loses its first two characters (so \\CORP becomes
/// CORP); a first backslash anywhere else throws -1006 as well.
MOX_API RT::SmartPointer<AUTHN::IAuthorityId> createAuthorityId(const std::string& format,
                                                                const std::string& name);

/// The authority of a text form "format:name" (split at the first ":"). Empty text, XML
/// or text without ":" throws the short-form InvalidArgumentException
/// ("MOX::parseAuthorityId"); the parts then go through createAuthorityId.
MOX_API RT::SmartPointer<AUTHN::IAuthorityId> parseAuthorityId(const std::string& text);

} // namespace MOX
