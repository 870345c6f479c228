// SPDX-License-Identifier: MIT
// Attributes::parseAttribute on any text. An attribute that reads must write back to an
// element that reads to the same attribute.
#include <cstddef>
#include <cstdint>
#include <string>

#include <mox/attr/Attributes.h>
#include <mox/rt/Exceptions.h>

#include "AttributeFuzzing.h"

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace A = MOX::Attributes;
    MOX::RT::SmartPointer<MOX::ATTR::IAttribute> attribute;
    try {
        attribute = A::parseAttribute(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        fuzzcheck::expectCode(e, {-1056, -1006}); // text that does not decode, an empty text or name
        return 0;
    }
    FUZZ_CHECK(!attribute.isNull()); // failures throw; a success has an attribute
    const std::string written = A::marshal(attribute);
    const auto again = A::parseAttribute(written);
    FUZZ_CHECK(attrfuzz::sameAttribute(*attribute, *again) && A::marshal(again) == written);
    return 0;
}
