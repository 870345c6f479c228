// SPDX-License-Identifier: MIT
// parseClassId on arbitrary text. Only the empty text and a version that is not a whole
// number are refused; an id read from XML writes an XML form that reads back to it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <mox/class.h>

#include "FuzzCheck.h"

static int checkInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const auto id = MOX::parseClassId(text);
        const std::string xml = MOX::marshalClassId(id);
        if (!MOX::RT::XmlUtils::IsXML(text))
            return 0;  // names from plain text may hold bytes XML cannot carry
        const auto again = MOX::parseClassId(xml);
        if (again->getName() != id->getName() || MOX::getClassIdLoader(again) != MOX::getClassIdLoader(id) ||
            MOX::marshalClassId(again) != xml)
            std::abort();
        // Versions 0 and below are written like 1.
        if (again->getVersion() != (id->getVersion() > 1 ? id->getVersion() : 1))
            std::abort();
        if (id->getVersion() >= 1 && (id->lessThan(*again) || again->lessThan(*id)))
            std::abort();
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        if (e.getCode() == -1006 ? !text.empty() : e.getCode() != -1009)
            std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
