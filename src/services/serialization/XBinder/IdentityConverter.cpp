// SPDX-License-Identifier: MIT
#include <mox/xb/IdentityConverter.h>

#include <memory>

#include <mox/rt/Check.h>

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

const std::string& textOf(const std::optional<std::string>& field)
{
    static const std::string empty;
    return field ? *field : empty;
}

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
    if (const xbidentity* parts = item.identity()) {
        auto authority = createAuthorityId(textOf(parts->format), textOf(parts->authority));
        auto account = AUTHN::createAccountId(textOf(parts->type), textOf(parts->account));
        return createIdentity(authority, account);
    }
    if (const xbAbstractNameIdentifier* user = item.UserIdentifier())
        return createUserIdentity(textOf(user->format), textOf(user->value));
    if (const xbAbstractNameIdentifier* group = item.GroupIdentifier())
        return createGroupIdentity(textOf(group->format), textOf(group->value));
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
