// SPDX-License-Identifier: MIT
// Reading accounts and authorities from their one-line text forms.
#include <mox/authn/IAccountId.h>
#include <mox/rt/Raise.h>
#include <mox/authn/IAuthorityId.h>
#include <mox/authn/IdentityFormats.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>

MOX_SOURCE_FILE("data/authentication/impl/IdentityMarshaller")

namespace MOX {

using EXCEPTIONS::InvalidArgumentException;

namespace {

// Accounts and authorities have no XML form, so XML is as unusable as no text at all.
void requirePlainText(const std::string& text, const char* function)
{
    if (text.empty() || RT::XmlUtils::IsXML(text))
        EXCEPTIONS::raise(InvalidArgumentException(), MOX_SITE(function));
}
} // namespace

RT::SmartPointer<AUTHN::IAccountId> parseAccountId(const std::string& text)
{
    requirePlainText(text, "MOX::parseAccountId");
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        return AUTHN::createUserAccount(text);
    const std::string type = colon == 0 ? std::string(AUTHN::USER_ACCOUNT_TYPE) : text.substr(0, colon);
    return AUTHN::createAccountId(type, text.substr(colon + 1));
}

RT::SmartPointer<AUTHN::IAuthorityId> parseAuthorityId(const std::string& text)
{
    requirePlainText(text, "MOX::parseAuthorityId");
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos)
        EXCEPTIONS::raise(InvalidArgumentException(), MOX_SITE("MOX::parseAuthorityId"));
    return createAuthorityId(text.substr(0, colon), text.substr(colon + 1));
}

} // namespace MOX
