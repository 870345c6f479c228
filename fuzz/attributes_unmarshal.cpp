// SPDX-License-Identifier: MIT
// Attributes::unmarshal on any text. A list that reads must write back to a document
// that reads to the same list, attribute by attribute, in order.
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
    A::AttributeList list;
    try {
        list = A::unmarshal(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        fuzzcheck::expectCode(e, {-1056, -1006}); // text that does not decode, an empty name
        return 0;
    }
    const std::string written = A::marshal(list);
    const A::AttributeList again = A::unmarshal(written);
    FUZZ_CHECK(again.size() == list.size() && A::marshal(again) == written);
    // equals looks each attribute up by name, so a list holding two attributes of one
    // name with other values is not equal even to itself: compare with that.
    FUZZ_CHECK(A::equals(again, list) == A::equals(list, list));
    for (std::size_t i = 0; i < list.size(); ++i)
        FUZZ_CHECK(attrfuzz::sameAttribute(*list[i], *again[i]));
    return 0;
}
