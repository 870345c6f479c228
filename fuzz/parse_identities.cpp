// SPDX-License-Identifier: MIT
// parseIdentities on any text. A set that was read must write to a document whose items
// are, one by one and in order, the set's identities: users and groups read back as
// they were, other account types carry their identity's parts (the set itself is not
// compared: the identity order is not transitive across formats, so inserting the same
// identities in another order may keep other representatives).
#include <cstddef>
#include <cstdint>
#include <string>

#include <mox/authn.h>
#include <mox/rt/Exceptions.h>
#include <mox/xb/IdentityConverter.h>
#include <mox/xb/XBinderManager.h>

#include "FuzzCheck.h"

namespace {
std::atomic<MOX::XB::XBinderManager*> s_manager{nullptr};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    MOX::AUTHN::IdentitySet set;
    std::string written;
    try {
        set = MOX::parseIdentities(text);
        written = MOX::marshalIdentities(set);
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        // Rejected documents, refused item values (either kind of argument error),
        // unwritable identities.
        fuzzcheck::expectCode(e, {-1056, -1006, 0, -1055});
        return 0;
    }
    MOX::XB::XBinderManager& manager = MOX::XB::XBinderManager::instance(s_manager);
    MOX::XB::xbidentities list;
    MOX::XB::DecodeBuffer buffer = manager.makeDecodeBuffer(written);
    MOX::XB::identities_CC element(list);
    manager.decode(element, buffer); // a written document always decodes
    FUZZ_CHECK(list.list.size() == set.size());
    auto expected = set.begin();
    for (const MOX::XB::xbidentities_1& item : list.list) {
        const MOX::AUTHN::IIdentity& source = **expected++;
        if (const MOX::XB::xbidentity* parts = item.identity()) {
            // Other account types travel by their parts; reading those back rebuilds the
            // text from them (the parse_identity target checks that way back).
            FUZZ_CHECK(!source.isUser() && !source.isGroup());
            FUZZ_CHECK(parts->format == source.getAuthorityFormat());
            FUZZ_CHECK(parts->authority == source.getAuthorityName());
            FUZZ_CHECK(parts->account == source.getName());
            FUZZ_CHECK(parts->type == source.getType());
            continue;
        }
        const auto identity = MOX::XB::IdentityConverter::toMOX(item);
        FUZZ_CHECK(identity->getValue() == source.getValue());
        FUZZ_CHECK(identity->getType() == source.getType());
        FUZZ_CHECK(identity->getFormat() == source.getFormat());
    }
    return 0;
}
