// SPDX-License-Identifier: MIT
// The codec's decoder on a schema with every building block. A document that decodes
// must write back to text that decodes to the same text again.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include <mox/rt/Exceptions.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBinderManager.h>

#include "services/serialization/manager/TestSchema.h"
#include "FuzzCheck.h"

namespace {

std::atomic<MOX::XB::XBinderManager*> s_manager{nullptr};

bool decode(MOX::XB::XBinderManager& manager, const std::string& text, xbtest::tdoc& doc)
{
    MOX::XB::DecodeBuffer buffer = manager.makeDecodeBuffer(text);
    xbtest::doc_CC element(doc);
    try {
        manager.decode(element, buffer);
        return true;
    } catch (const MOX::EXCEPTIONS::SerializationException&) {
        return false;
    }
}

std::string encode(MOX::XB::XBinderManager& manager, xbtest::tdoc& doc)
{
    MOX::XB::EncodeBuffer buffer;
    xbtest::doc_CC element(doc);
    return manager.encode(element, buffer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MOX::XB::XBinderManager& manager = MOX::XB::XBinderManager::instance(s_manager);
    const std::string text(reinterpret_cast<const char*>(data), size);
    xbtest::tdoc doc;
    if (!decode(manager, text, doc))
        return 0;
    const std::string written = encode(manager, doc);
    xbtest::tdoc again;
    FUZZ_CHECK(decode(manager, written, again));
    FUZZ_CHECK(encode(manager, again) == written);
    return 0;
}
