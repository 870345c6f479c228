// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Conversions between identities and their document objects.
#include <mox/authn/IIdentity.h>
#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/SmartPointer.h>
#include <mox/xb/IdentitySchema.h>

namespace MOX {
namespace XB {

/// Converts identities to the document objects of the identities document and back.
/// Objects returned by `toXB` belong to the caller.
class MOX_API IdentityConverter {
public:
    /// One identity.
    using Identity = RT::SmartPointer<AUTHN::IIdentity>;
    /// A set of identities, in the runtime's order.
    using Identities = Set<Identity>;

    /// The converter holds no state: assigning one changes nothing.
    IdentityConverter& operator=(const IdentityConverter&) = default;

    /// One item: a group as "GroupIdentifier", a user as "UserIdentifier" (format and
    /// identity text), anything else as "identity" by its authority and account parts.
    /// Throws the dereference error for an empty pointer and the authority errors of
    /// the identity for an identity whose authority cannot be derived.
    static xbidentities_1* toXB(const Identity& identity);
    /// Appends one item per identity, in the set's order.
    static void toXB(xbidentities& list, const Identities& identities);
    /// A new list holding one item per identity, in the set's order.
    static xbidentities* toXB(const Identities& identities);

    /// The identity of one item; an empty pointer for an item without an alternative.
    /// The factories' argument errors pass through.
    static Identity toMOX(const xbidentities_1& item);
    /// Empties `identities`, then inserts the identity of each item in document order
    /// (an item equivalent to an earlier one is dropped).
    static void toMOX(Identities& identities, const xbidentities& list);
    /// A new set filled as above.
    static Identities toMOX(const xbidentities& list);
};

} // namespace XB
} // namespace MOX
