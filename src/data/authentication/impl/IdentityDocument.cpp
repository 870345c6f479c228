// SPDX-License-Identifier: MIT
// The identities document functions: the identities marshalling unit of the codec.
#include <mox/authn/IdentityDocuments.h>
#include <mox/rt/Raise.h>

#include <atomic>
#include <memory>
#include <utility>

#include <mox/rt/Check.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/IdentityConverter.h>
#include <mox/xb/XBinderManager.h>

#include "services/serialization/XBinder/IdentityItemFiller.h"
#include "services/serialization/manager/DocumentCodec.h"

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

namespace XB {

constexpr char kListType[] = "xbidentities";
constexpr char kItemElement[] = "";

// The root's content as a streamed list of the document's own items: read item by item
// into identities, written item by item from them, never held whole.
using xbidentities_stream = XBStreamedList<xbidentities_1, kListType, kItemElement>;

// Readies the reused item for the next element. It keeps its object, so that the next
// element of the same class fills it again without an allocation: every field of it is
// overwritten (all attributes are required and the text is always set), and a document
// that misses one fails as a whole, so a stale field never reaches a result.
void resetItem(xbidentities_1& item) { item.t = 0; }

} // namespace XB

namespace {

// What the writer reads the identities from: the set, walked in order.
struct Source {
    Set<SmartPointer<IIdentity>>::const_iterator next;
    XB::IdentityItemFiller filler;

    // Fills `item` from the next identity. A null identity throws NullPointerException.
    static void fill(void* context, std::size_t, XB::xbidentities_1& item)
    {
        auto& self = *static_cast<Source*>(context);
        self.filler.fill(item, RT::checkDeref(*self.next++));
    }
};

// Inserts the identity of each item in document order (an empty item gives none: an
// empty pointer would be equivalent to every identity under the set's order).
void addIdentity(Set<SmartPointer<IIdentity>>& identities, XB::xbidentities_1& item)
{
    SmartPointer<IIdentity> identity = XB::IdentityConverter::toMOX(item);
    if (!identity.isNull())
        identities.insert(std::move(identity));
}

} // namespace

const std::string marshalIdentities(const Set<SmartPointer<IIdentity>>& identities)
{
    Source source{identities.begin(), {}};
    XB::xbidentities_stream top(identities.size(), &Source::fill, &source);
    return XB::encodeDocument<XB::identities_CC>(s_manager, top, 64 + 80 * identities.size());
}

const std::string marshalIdentity(const SmartPointer<IIdentity>& identity)
{
    Set<SmartPointer<IIdentity>> identities;
    identities.insert(identity);
    return XmlUtils::GetElementValue(kRootName, marshalIdentities(identities));
}

Set<SmartPointer<IIdentity>> parseIdentities(const std::string& text)
{
    return XB::decodeStreamed<XB::identities_CC, XB::xbidentities_stream>(s_manager, text, MOX_SITE("MOX::parseIdentities"),
                                                                          &addIdentity);
}

Set<SmartPointer<IIdentity>> parseIdentities(std::istream& input)
{
    return XB::decodeStreamed<XB::identities_CC, XB::xbidentities_stream>(s_manager, input, MOX_SITE("MOX::parseIdentities"),
                                                                          &addIdentity);
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
