// SPDX-License-Identifier: MIT
// parseAccountId on arbitrary text: the result (or the refusal) must be exactly what the
// first-colon rule gives, and user and group accounts must read back from their text.
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
    const bool refused = text.empty() || MOX::RT::XmlUtils::IsXML(text) || colon + 1 == text.size();
    try {
        const auto account = MOX::parseAccountId(text);
        if (refused)
            std::abort();
        const std::string type = colon == std::string::npos || colon == 0 ? "User" : text.substr(0, colon);
        const std::string name = colon == std::string::npos ? text : text.substr(colon + 1);
        if (account->getType() != type || account->getName() != name)
            std::abort();
        if (account->isUser() != (type == "User") || account->isGroup() != (type == "Group"))
            std::abort();
        if (account->lessThan(*account))
            std::abort();
        // The text form reads back unless the name has a colon or the text looks like XML
        // (a user named "  <x" prints as XML-looking text, which no parser takes).
        if ((account->isUser() || account->isGroup()) && name.find(':') == std::string::npos &&
            !MOX::RT::XmlUtils::IsXML(account->toString())) {
            const auto again = MOX::parseAccountId(account->toString());
            if (again->getType() != type || again->getName() != name)
                std::abort();
        }
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        if (!refused || !e.isShortForm())
            std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
