// SPDX-License-Identifier: MIT
#pragma once
#include <memory>

#include <mox/authn/IIdentity.h>
#include <mox/xb/IdentitySchema.h>

namespace MOX {
namespace XB {

/// Fills identity items from identities, by the rules of IdentityConverter::toXB, from
/// the identities' stored parts. An item keeps its object between fills, and an object
/// of the other item class waits as a spare, so that a writer that fills one reused item
/// after another allocates nothing once warm.
class IdentityItemFiller {
public:
    /// Makes `item` the item of `identity`; the identity's authority error passes on.
    void fill(xbidentities_1& item, const AUTHN::IIdentity& identity);

private:
    template <class C>
    C& choose(xbidentities_1& item, int alternative);

    std::unique_ptr<XBObject> m_spare[2];
};

} // namespace XB
} // namespace MOX
