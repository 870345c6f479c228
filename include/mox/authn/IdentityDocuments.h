// SPDX-License-Identifier: MIT
#pragma once
/// The identities XML document: a set of identities as text and back.
#include <iosfwd>
#include <string>

#include <mox/authn/IIdentity.h>
#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {

/// The identities document of `identities`, items in the set's order. Throws
/// SerializationException -1055 when writing fails.
MOX_API const std::string marshalIdentities(const Set<RT::SmartPointer<AUTHN::IIdentity>>& identities);

/// The one item element of the document holding only `identity` (what `parseIdentity`
/// reads back).
MOX_API const std::string marshalIdentity(const RT::SmartPointer<AUTHN::IIdentity>& identity);

/// The identities of an identities document. Throws SerializationException -1056 for a
/// document that does not decode (detail: the decoder's error info) and passes the
/// identity factories' argument errors through.
MOX_API Set<RT::SmartPointer<AUTHN::IIdentity>> parseIdentities(const std::string& text);
/// The identities of the identities document read from `input`, incrementally, with
/// the results and errors of the text form. What is read of the stream, what stays in
/// it for the next document or for a caller reading it by other means, and how failures
/// of the stream are reported: as for `Attributes::unmarshal(std::istream&)`.
MOX_API Set<RT::SmartPointer<AUTHN::IIdentity>> parseIdentities(std::istream& input);

/// One identity from either item elements (as `marshalIdentity` writes them; the first
/// identity in the set's order) or a QEL text "authority/account". Throws
/// InvalidArgumentException (short form) for an empty text, a non-XML text without "/",
/// or item elements holding no identity.
MOX_API RT::SmartPointer<AUTHN::IIdentity> parseIdentity(const std::string& text);

} // namespace MOX
