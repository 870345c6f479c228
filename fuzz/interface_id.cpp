// SPDX-License-Identifier: MIT
// parseInterfaceId on arbitrary text, and the text equality that must never throw. An
// id read from an "interface-id" element writes (toString) an XML form that reads back
// to an equal id.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <mox/class.h>

#include "FuzzCheck.h"

static int checkInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto reference = MOX::createInterfaceId("Reference", 2);
    const bool equal = text == reference;  // never throws
    try {
        const auto id = MOX::parseInterfaceId(text);
        if (equal != (id->getName() == "Reference" && id->getVersion() == 2))
            std::abort();
        if (!(text == id) || !(id == text))
            std::abort();
        if (MOX::RT::XmlUtils::GetElement("interface-id", text).empty())
            return 0;  // names from plain text may hold bytes XML cannot carry
        const std::string xml = id->toString();
        const auto again = MOX::parseInterfaceId(xml);
        if (again->getName() != id->getName() || again->toString() != xml)
            std::abort();
        if (again->getVersion() != (id->getVersion() > 1 ? id->getVersion() : 1))
            std::abort();
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        if (equal || (e.getCode() == -1006 ? !text.empty() : e.getCode() != -1009))
            std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
