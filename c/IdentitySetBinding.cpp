// SPDX-License-Identifier: MIT
// Identity sets and the identities document in the C binding.
#include "Binding.h"

#include <iterator>

#include <mox/authn/IdentityDocuments.h>

MOX_SOURCE_FILE("c/IdentitySetBinding")

using MOX::AUTHN::IIdentity;
using MOX::AUTHN::IdentitySet;
using namespace moxc;

namespace {

// An identity set as a handle's object; its text form is the identities document.
struct WriteSet {
    std::string operator()(const IdentitySet& set) const { return MOX::marshalIdentities(set); }
};
using IdentitySetObject = HeldValue<IdentitySet, WriteSet>;

MOX::RT::SmartPointer<IdentitySetObject> holding(IdentitySet set)
{
    for (const auto& identity : set)
        warmIdentity(identity);
    return MOX::RT::makeShared<IdentitySetObject>(std::move(set));
}

} // namespace

/// The family of identity-set handles (no order).
template <>
struct moxc::Family<IdentitySetObject> : moxc::NoOrder {
    static constexpr const char* name = "MOX::IdentitySet";
};

extern "C" {

int mox_identities_create(mox_handle* out)
{
    const Site site = MOX_SITE("mox_identities_create");
    return makeHandle<IdentitySetObject>(out, site, [] { return holding(IdentitySet()); });
}

int mox_identities_parse(const char* document, mox_handle* out)
{
    const Site site = MOX_SITE("mox_identities_parse");
    return makeHandle<IdentitySetObject>(
        out, site, [&] { return holding(MOX::parseIdentities(requireText(document, "document", site))); });
}

int mox_identities_add(mox_handle set, mox_handle identity)
{
    const Site site = MOX_SITE("mox_identities_add");
    return change<IdentitySetObject>(set, site, [&](IdentitySetObject& holder) {
        const auto added = objectOf<IIdentity>(identity, site);
        warmIdentity(added);
        holder.value().insert(added);
    });
}

int mox_identities_count(mox_handle set, size_t* out)
{
    const Site site = MOX_SITE("mox_identities_count");
    return readValue<IdentitySetObject>(set, out, site, [](IdentitySetObject& holder) { return holder.value().size(); });
}

int mox_identities_get(mox_handle set, size_t index, mox_handle* out)
{
    const Site site = MOX_SITE("mox_identities_get");
    return makeHandle<MOX::AUTHN::IIdentity>(out, site, [&] {
        IdentitySet& held = objectOf<IdentitySetObject>(set, site)->value();
        return *std::next(held.begin(), static_cast<std::ptrdiff_t>(requireIndex(index, held.size(), site)));
    });
}

int mox_identities_contains(mox_handle set, mox_handle identity, int* out)
{
    const Site site = MOX_SITE("mox_identities_contains");
    return readValue<IdentitySetObject>(set, out, site, [&](IdentitySetObject& holder) {
        return MOX::containsIdentity(objectOf<IIdentity>(identity, site), holder.value()) ? 1 : 0;
    });
}

int mox_identities_marshal(mox_handle set, char** document)
{
    const Site site = MOX_SITE("mox_identities_marshal");
    return readText<IdentitySetObject>(set, document, site, [](IdentitySetObject& holder) { return holder.toString(); });
}

int mox_identities_to_array(mox_handle set, mox_handle** handles, size_t* count)
{
    const Site site = MOX_SITE("mox_identities_to_array");
    return readHandles<IIdentity, IdentitySetObject>(
        set, handles, count, site, [](IdentitySetObject& holder) -> const IdentitySet& { return holder.value(); });
}

} // extern "C"
