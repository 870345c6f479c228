// SPDX-License-Identifier: MIT
// The identities document functions: the identities marshalling unit of the codec.
#include <mox/authn/IdentityDocuments.h>
#include <mox/rt/Raise.h>

#include <atomic>
#include <memory>
#include <new>

#include <mox/rt/Check.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/IdentityConverter.h>
#include <mox/xb/XBinderManager.h>

#include "services/serialization/XBinder/IdentityStreaming.h"

MOX_SOURCE_FILE("data/authentication/impl/IdentityMarshaller")

namespace MOX {

using AUTHN::IIdentity;
using EXCEPTIONS::InvalidArgumentException;
using RT::SmartPointer;
using RT::XmlUtils;
using XB::XBinderManager;

namespace {

constexpr const char* kRootName = "identities";

// The identities unit's codec manager, made on first use.
std::atomic<XBinderManager*> s_manager{nullptr};

} // namespace

namespace {

// What the writer reads the identities from: the set, walked in order, and one spare
// object per alternative, so that items switch alternatives without allocating.
struct Source {
    using Identities = Set<SmartPointer<IIdentity>>;
    Identities::const_iterator next;
    std::unique_ptr<XB::XBObject> spare[4];

    // Points `item` at the texts of the next identity, as IdentityConverter::toXB fills a
    // new item (items are asked for in order). A null identity throws NullPointerException.
    static void fill(const void* context, std::size_t, XB::xbidentities_ref_1& item)
    {
        auto& self = *const_cast<Source*>(static_cast<const Source*>(context));
        const IIdentity& identity = RT::checkDeref(*self.next++);
        if (identity.isGroup() || identity.isUser()) {
            auto& name = self.choose<XB::xbname_ref>(
                item, identity.isGroup() ? XB::xbidentities_ref_1::T_GroupIdentifier : XB::xbidentities_ref_1::T_UserIdentifier);
            name.format = &identity.getFormat();
            name.value = &identity.getValue();
            return;
        }
        auto& parts = self.choose<XB::xbidentity_ref>(item, XB::xbidentities_ref_1::T_identity);
        parts.format = &identity.getAuthorityFormat();
        parts.authority = &identity.getAuthorityName();
        parts.account = &identity.getName();
        parts.type = &identity.getType();
    }

    // Makes `alternative` the item's choice, with its spare object.
    template <class C>
    C& choose(XB::xbidentities_ref_1& item, int alternative)
    {
        if (item.t != alternative) {
            if (item.t != 0)
                spare[item.t] = std::move(item.u);
            if (!spare[alternative])
                spare[alternative] = std::make_unique<C>();
            item.set(alternative, std::move(spare[alternative]));
        }
        return static_cast<C&>(*item.u);
    }
};

} // namespace

const std::string marshalIdentities(const Set<SmartPointer<IIdentity>>& identities)
{
    XBinderManager& manager = XBinderManager::instance(s_manager);
    XB::EncodeBuffer buffer;
    buffer.reserve(64 + 80 * identities.size());
    Source source{identities.begin(), {}};
    XB::xbidentities_out top(identities.size(), &Source::fill, &source);
    XB::identities_CC element(top);
    return manager.encode(element, buffer);
}

const std::string marshalIdentity(const SmartPointer<IIdentity>& identity)
{
    Set<SmartPointer<IIdentity>> identities;
    identities.insert(identity);
    return XmlUtils::GetElementValue(kRootName, marshalIdentities(identities));
}

namespace {

Set<SmartPointer<IIdentity>> decode(XBinderManager& manager, XB::DecodeBuffer& buffer)
{
    XB::xbidentities list;
    const std::unique_ptr<XB::identities_CC> element(new (std::nothrow) XB::identities_CC(list));
    XBinderManager::requireElement(element.get(), MOX_SITE("MOX::parseIdentities"));
    manager.decode(*element, buffer);
    return XB::IdentityConverter::toMOX(list);
}

} // namespace

Set<SmartPointer<IIdentity>> parseIdentities(const std::string& text)
{
    XBinderManager& manager = XBinderManager::instance(s_manager);
    XB::DecodeBuffer buffer = manager.makeDecodeBuffer(text);
    return decode(manager, buffer);
}

Set<SmartPointer<IIdentity>> parseIdentities(std::istream& input)
{
    XBinderManager& manager = XBinderManager::instance(s_manager);
    XB::DecodeBuffer buffer = manager.makeDecodeBuffer(input);
    return decode(manager, buffer);
}

SmartPointer<IIdentity> parseIdentity(const std::string& text)
{
    if (text.empty())
        EXCEPTIONS::raise(InvalidArgumentException(), MOX_SITE("MOX::parseIdentity"));
    if (XmlUtils::IsXML(text)) {
        // Item elements as marshalIdentity writes them: read them as a document.
        const Set<SmartPointer<IIdentity>> identities = parseIdentities(XmlUtils::Enclose(kRootName, text));
        if (identities.empty())
            EXCEPTIONS::raise(InvalidArgumentException(), MOX_SITE("MOX::parseIdentity"));
        return *identities.begin();
    }
    const std::string::size_type slash = text.find('/');
    if (slash == std::string::npos)
        EXCEPTIONS::raise(InvalidArgumentException(), MOX_SITE("MOX::parseIdentity"));
    const auto authority = parseAuthorityId(text.substr(0, slash));
    const auto account = parseAccountId(text.substr(slash + 1));
    return createIdentity(authority, account);
}

} // namespace MOX
