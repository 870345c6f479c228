// SPDX-License-Identifier: MIT
#include <mox/xb/IdentityConverter.h>

#include <memory>

#include <mox/rt/Check.h>

#include "data/authentication/IdentityImpl.h"

namespace MOX {
namespace XB {

namespace {

std::unique_ptr<xbAbstractNameIdentifier> nameIdentifier(const AUTHN::IIdentity& identity)
{
    auto item = std::make_unique<xbAbstractNameIdentifier>();
    item->format = identity.getFormat();
    item->value = identity.getValue();
    return item;
}

std::string_view textOf(const std::optional<std::string>& field) { return field ? std::string_view(*field) : std::string_view(); }

} // namespace

void IdentityConverter::fill(xbidentities_1& item, const Identity& identity)
{
    const AUTHN::IIdentity& value = RT::checkDeref(identity);
    if (value.isGroup()) {
        item.set(xbidentities_1::T_GroupIdentifier, nameIdentifier(value));
    } else if (value.isUser()) {
        item.set(xbidentities_1::T_UserIdentifier, nameIdentifier(value));
    } else {
        auto parts = std::make_unique<xbidentity>();
        parts->format = value.getAuthorityFormat();
        parts->authority = value.getAuthorityName();
        parts->account = value.getName();
        parts->type = value.getType();
        item.set(xbidentities_1::T_identity, std::move(parts));
    }
}

xbidentities_1* IdentityConverter::toXB(const Identity& identity)
{
    auto item = std::make_unique<xbidentities_1>();
    fill(*item, identity);
    return item.release();
}

void IdentityConverter::toXB(xbidentities& list, const Identities& identities)
{
    list.list.reserve(list.list.size() + identities.size());
    for (const Identity& identity : identities) {
        xbidentities_1 item;
        fill(item, identity);
        list.list.push_back(std::move(item));
    }
}

xbidentities* IdentityConverter::toXB(const Identities& identities)
{
    auto list = std::make_unique<xbidentities>();
    toXB(*list, identities);
    return list.release();
}

IdentityConverter::Identity IdentityConverter::toMOX(const xbidentities_1& item)
{
    // Straight from the item's texts: no authority or account object is made.
    if (const xbidentity* parts = item.identity())
        return AUTHN::IdentityImpl::createFromParts(textOf(parts->format), textOf(parts->authority),
                                                    textOf(parts->type), textOf(parts->account));
    if (const xbAbstractNameIdentifier* user = item.UserIdentifier())
        return AUTHN::IdentityImpl::create(textOf(user->format), {textOf(user->value)}, AUTHN::USER_ACCOUNT_TYPE);
    if (const xbAbstractNameIdentifier* group = item.GroupIdentifier())
        return AUTHN::IdentityImpl::create(textOf(group->format), {textOf(group->value)}, AUTHN::GROUP_ACCOUNT_TYPE);
    return Identity();
}

void IdentityConverter::toMOX(Identities& identities, const xbidentities& list)
{
    identities.clear();
    for (const xbidentities_1& item : list.list) {
        Identity identity = toMOX(item);
        // An item without an alternative gives nothing; an empty pointer would be
        // equivalent to every identity under the set's order.
        if (!identity.isNull())
            identities.insert(std::move(identity));
    }
}

IdentityConverter::Identities IdentityConverter::toMOX(const xbidentities& list)
{
    Identities identities;
    toMOX(identities, list);
    return identities;
}

} // namespace XB
} // namespace MOX
