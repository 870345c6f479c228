// SPDX-License-Identifier: MIT
// Attributes::parseQualifiedName on any text. Whatever it reads must write back to an
// "attribute-id" element that reads to the same three fields.
#include <cstddef>
#include <cstdint>
#include <string>

#include <mox/attr/Attributes.h>
#include <mox/rt/Exceptions.h>

#include "FuzzCheck.h"

static int checkInput(const std::uint8_t* data, std::size_t size)
{
    namespace A = MOX::Attributes;
    MOX::RT::SmartPointer<MOX::ATTR::IQualifiedName> name;
    try {
        name = A::parseQualifiedName(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        fuzzcheck::expectCode(e, {-1006}); // only the empty text is refused
        return 0;
    }
    const std::string written = name->marshal();
    const auto again = A::parseQualifiedName(written);
    FUZZ_CHECK(again->getName() == name->getName() && again->getFormat() == name->getFormat() &&
               again->getScope() == name->getScope() && again->marshal() == written);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
