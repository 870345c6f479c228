// The identities document functions: the identities marshalling unit of the codec.
#include <mox/authn/IdentityDocuments.h>
#include <mox/rt/Raise.h>

#include <atomic>
#include <memory>
#include <new>

#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/IdentityConverter.h>
#include <mox/xb/XBinderManager.h>

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

const std::string marshalIdentities(const Set<SmartPointer<IIdentity>>& identities)
{
    XBinderManager& manager = XBinderManager::instance(s_manager);
    XB::EncodeBuffer buffer;
    const std::unique_ptr<XB::xbidentities> list(XB::IdentityConverter::toXB(identities));
    XB::identities_CC element(*list);
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
        const Set<SmartPointer<IIdentity>> identities = parseIdentities(XmlUtils::ToElement(kRootName, text));
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
