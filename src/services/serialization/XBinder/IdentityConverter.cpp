// SPDX-License-Identifier: MIT
#include <mox/xb/IdentityConverter.h>

#include <memory>
#include <type_traits>
#include <typeinfo>

#include <mox/rt/Check.h>

#include "data/authentication/IdentityImpl.h"
#include "services/serialization/XBinder/IdentityItemFiller.h"

namespace MOX {
namespace XB {

namespace {

std::string_view textOf(const std::optional<std::string>& field) { return field ? std::string_view(*field) : std::string_view(); }

void assign(std::optional<std::string>& field, std::string_view text)
{
    if (field)
        field->assign(text.data(), text.size());
    else
        field.emplace(text);
}

// The spare slot of an object's class. Classes are told apart by typeid, not through
// their schema accessors: this runs for every item written.
int spareSlot(const XBObject& object) { return typeid(object) == typeid(xbidentity) ? 0 : 1; }

} // namespace

template <class C>
C& IdentityItemFiller::choose(xbidentities_1& item, int alternative)
{
    if (!item.u || typeid(*item.u) != typeid(C)) {
        if (item.u)
            m_spare[spareSlot(*item.u)] = std::move(item.u);
        item.u = std::move(m_spare[std::is_same<C, xbidentity>::value ? 0 : 1]);
        if (!item.u)
            item.u = std::make_unique<C>();
    }
    item.t = alternative;
    return static_cast<C&>(*item.u);
}

void IdentityItemFiller::fill(xbidentities_1& item, const AUTHN::IIdentity& identity)
{
    const AUTHN::IdentityImpl* own = AUTHN::IdentityImpl::from(identity);
    if (identity.isGroup() || identity.isUser()) {
        auto& name = choose<xbAbstractNameIdentifier>(
            item, identity.isGroup() ? xbidentities_1::T_GroupIdentifier : xbidentities_1::T_UserIdentifier);
        assign(name.format, own ? own->format() : identity.getFormat());
        assign(name.value, own ? own->value() : identity.getValue());
        return;
    }
    auto& parts = choose<xbidentity>(item, xbidentities_1::T_identity);
    assign(parts.format, own ? own->authorityFormat() : identity.getAuthorityFormat());
    assign(parts.authority, own ? own->authorityName() : identity.getAuthorityName());
    assign(parts.account, own ? own->name() : identity.getName());
    assign(parts.type, own ? own->type() : identity.getType());
}

namespace {

void fill(xbidentities_1& item, const IdentityConverter::Identity& identity)
{
    IdentityItemFiller().fill(item, RT::checkDeref(identity));
}

} // namespace

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
