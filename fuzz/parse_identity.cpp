// parseIdentity on any text (item elements or a QEL text). An identity that was read
// must write as an item element that reads back: users and groups with the same text,
// other account types by their parts (their QEL text is rebuilt from the parts, and a
// name holding ":" reads back differently through the account text form) or with the
// factories' argument error for parts they refuse.
#include <cstddef>
#include <cstdint>
#include <string>

#include <mox/authn.h>
#include <mox/rt/Exceptions.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    MOX::RT::SmartPointer<MOX::AUTHN::IIdentity> identity;
    std::string element;
    try {
        identity = MOX::parseIdentity(text);
        element = MOX::marshalIdentity(identity);
    } catch (const MOX::EXCEPTIONS::MoxException&) {
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
    if (back->getType() != identity->getType())
        __builtin_trap();
    if (identity->isUser() || identity->isGroup()) {
        if (back->getValue() != identity->getValue() || back->getFormat() != identity->getFormat() ||
            MOX::marshalIdentity(back) != element)
            __builtin_trap();
    } else if (back->getAuthorityName() != identity->getAuthorityName() ||
               back->getAuthorityFormat() != identity->getAuthorityFormat() ||
               (identity->getName().find(':') == std::string::npos && back->getName() != identity->getName())) {
        __builtin_trap();
    }
    return 0;
}
