// SPDX-License-Identifier: MIT
// parseIdentity on any text (item elements or a QEL text). An identity that was read
// must write as an item element that reads back: users and groups with the same text,
// other account types by their parts (their QEL text is rebuilt from the parts, and a
// name holding ":" reads back differently through the account text form) or with the
// factories' argument error for parts they refuse.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include <mox/authn.h>
#include <mox/rt/Exceptions.h>

#include "FuzzCheck.h"

namespace {

// The authority name the leading-backslash rule makes of `name`; nothing when the rule
// refuses it (a first backslash after the start).
std::optional<std::string> stripLeadingBackslashes(const std::string& name)
{
    const std::size_t backslash = name.find('\\');
    if (backslash == std::string::npos)
        return name;
    if (backslash != 0)
        return std::nullopt;
    return name.substr(std::min<std::size_t>(2, name.size()));
}

// The authority name an identity read from an item with authority `written` derives:
// createAuthorityId keeps the stripped name, the identity's text is rebuilt from it, and
// deriving the authority from that text applies the rule once more. Nothing when that
// derivation fails (an empty kept name, or a refused one).
std::optional<std::string> readBackAuthority(const std::string& written)
{
    const auto kept = stripLeadingBackslashes(written);
    if (!kept || kept->empty())
        return std::nullopt;
    return stripLeadingBackslashes(*kept);
}

bool derivationFails(const MOX::AUTHN::IIdentity& identity)
{
    try {
        identity.getAuthorityName();
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException&) {
        return true;
    }
    return false;
}

} // namespace

static int checkInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    MOX::RT::SmartPointer<MOX::AUTHN::IIdentity> identity;
    std::string element;
    try {
        identity = MOX::parseIdentity(text);
        element = MOX::marshalIdentity(identity);
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        fuzzcheck::expectCode(e, {-1056, -1006, 0, -1055});
        return 0;
    }
    MOX::RT::SmartPointer<MOX::AUTHN::IIdentity> back;
    if (identity->isUser() || identity->isGroup()) {
        back = MOX::parseIdentity(element); // must read back
    } else {
        try {
            back = MOX::parseIdentity(element);
        } catch (const MOX::EXCEPTIONS::InvalidArgumentException&) {
            // Parts the factories refuse (an empty name part, say) fail as documented.
            return 0;
        }
    }
    FUZZ_CHECK(back->getType() == identity->getType());
    if (identity->isUser() || identity->isGroup()) {
        FUZZ_CHECK(back->getValue() == identity->getValue());
        FUZZ_CHECK(back->getFormat() == identity->getFormat());
        FUZZ_CHECK(MOX::marshalIdentity(back) == element);
    } else {
        const auto authority = readBackAuthority(identity->getAuthorityName());
        if (!authority) {
            FUZZ_CHECK(derivationFails(*back));
            return 0;
        }
        FUZZ_CHECK(back->getAuthorityName() == *authority);
        FUZZ_CHECK(back->getAuthorityFormat() == identity->getAuthorityFormat());
        FUZZ_CHECK(identity->getName().find(':') != std::string::npos || back->getName() == identity->getName());
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzcheck::acceptingXmlRefusals([&] { return checkInput(data, size); });
}
