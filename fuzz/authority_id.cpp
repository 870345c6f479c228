// SPDX-License-Identifier: MIT
// parseAuthorityId on arbitrary text: the result (or the refusal) must be exactly what
// the first-colon split and the leading-backslash rule give; backslash-free authorities
// read back from their text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <mox/authn.h>

#include "FuzzCheck.h"

static int checkInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t colon = text.find(':');
    const bool shortForm = text.empty() || MOX::RT::XmlUtils::IsXML(text) || colon == std::string::npos;
    const std::string format = shortForm ? std::string() : text.substr(0, colon);
    const std::string name = shortForm ? std::string() : text.substr(colon + 1);
    const std::size_t backslash = name.find('\\');
    const bool invalid = !shortForm && (format.empty() || name.empty() || (backslash != std::string::npos && backslash != 0));
    try {
        const auto authority = MOX::parseAuthorityId(text);
        if (shortForm || invalid)
            std::abort();
        const std::string stored = backslash == 0 ? (name.size() > 2 ? name.substr(2) : std::string()) : name;
        if (authority->getFormat() != format || authority->getName() != stored)
            std::abort();
        if (authority->toString() != format + ":" + stored || authority->lessThan(*authority))
            std::abort();
        if (!stored.empty() && stored.find('\\') == std::string::npos) {
            const auto again = MOX::parseAuthorityId(authority->toString());
            if (again->getFormat() != format || again->getName() != stored)
                std::abort();
        }
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        if (shortForm ? !e.isShortForm() : (!invalid || e.getCode() != -1006))
            std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
