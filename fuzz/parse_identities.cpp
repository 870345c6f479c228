// parseIdentities on any text. A set that was read must write to a document whose items
// read back, one by one and in order, as the set's identities (the set itself is not
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
    } catch (const MOX::EXCEPTIONS::MoxException&) {
        return 0; // rejected documents, refused item values, unwritable identities
    }
    MOX::XB::XBinderManager& manager = MOX::XB::XBinderManager::instance(s_manager);
    MOX::XB::xbidentities list;
    MOX::XB::DecodeBuffer buffer = manager.makeDecodeBuffer(written);
    MOX::XB::identities_CC element(list);
    manager.decode(element, buffer); // a written document always decodes
    FUZZ_CHECK(list.list.size() == set.size());
    auto expected = set.begin();
    for (const MOX::XB::xbidentities_1& item : list.list) {
        const auto identity = MOX::XB::IdentityConverter::toMOX(item);
        FUZZ_CHECK(identity->getValue() == (*expected)->getValue());
        FUZZ_CHECK(identity->getType() == (*expected)->getType());
        FUZZ_CHECK(identity->getFormat() == (*expected)->getFormat());
        ++expected;
    }
    return 0;
}
