// SPDX-License-Identifier: MIT
// Accounts and authorities in the C binding.
#include "Binding.h"

#include <mox/authn/IAccountId.h>
#include <mox/authn/IAuthorityId.h>

MOX_SOURCE_FILE("c/AccountBinding")

using MOX::AUTHN::IAccountId;
using MOX::AUTHN::IAuthorityId;
using namespace moxc;

extern "C" {

int mox_account_create(const char* type, const char* name, mox_handle* out)
{
    const Site site = MOX_SITE("mox_account_create");
    site.rule("type and name must not be empty");
    return makeHandle<MOX::AUTHN::IAccountId>(out, site, [&] {
        const std::string typeText = requireText(type, "type", site);
        return MOX::AUTHN::createAccountId(typeText, requireText(name, "name", site));
    });
}

int mox_account_parse(const char* text, mox_handle* out)
{
    const Site site = MOX_SITE("mox_account_parse");
    site.rule("must be \"Type:name\" or a bare user name, not empty and not XML");
    return makeHandle<MOX::AUTHN::IAccountId>(out, site,
                                              [&] { return MOX::parseAccountId(requireText(text, "text", site)); });
}

int mox_account_name(mox_handle account, char** out)
{
    const Site site = MOX_SITE("mox_account_name");
    return readText<IAccountId>(account, out, site, [](const IAccountId& a) { return a.getName(); });
}

int mox_account_type(mox_handle account, char** out)
{
    const Site site = MOX_SITE("mox_account_type");
    return readText<IAccountId>(account, out, site, [](const IAccountId& a) { return a.getType(); });
}

int mox_authority_create(const char* format, const char* name, mox_handle* out)
{
    const Site site = MOX_SITE("mox_authority_create");
    site.rule("format and name must not be empty; a backslash may only lead the name");
    return makeHandle<MOX::AUTHN::IAuthorityId>(out, site, [&] {
        const std::string formatText = requireText(format, "format", site);
        return MOX::createAuthorityId(formatText, requireText(name, "name", site));
    });
}

int mox_authority_parse(const char* text, mox_handle* out)
{
    const Site site = MOX_SITE("mox_authority_parse");
    site.rule("must be \"format:name\", not empty and not XML");
    return makeHandle<MOX::AUTHN::IAuthorityId>(out, site,
                                                [&] { return MOX::parseAuthorityId(requireText(text, "text", site)); });
}

int mox_authority_format(mox_handle authority, char** out)
{
    const Site site = MOX_SITE("mox_authority_format");
    return readText<IAuthorityId>(authority, out, site, [](const IAuthorityId& a) { return a.getFormat(); });
}

int mox_authority_name(mox_handle authority, char** out)
{
    const Site site = MOX_SITE("mox_authority_name");
    return readText<IAuthorityId>(authority, out, site, [](const IAuthorityId& a) { return a.getName(); });
}

} // extern "C"
