// SPDX-License-Identifier: MIT
// Identities in the C binding.
#include "Binding.h"

#include <mox/authn/IIdentity.h>
#include <mox/authn/IAccountId.h>
#include <mox/authn/IAuthorityId.h>
#include <mox/authn/IdentityDocuments.h>

MOX_SOURCE_FILE("c/IdentityBinding")

using MOX::AUTHN::IIdentity;
using namespace moxc;

namespace moxc {

void warmIdentity(const MOX::RT::SmartPointer<IIdentity>& identity)
{
    identity->getName();
    try {
        identity->getAuthorityName();
    } catch (const MOX::EXCEPTIONS::MoxException&) {
        // No authority can be derived: nothing is cached, now or later.
    }
}

} // namespace moxc

namespace {

int createIdentity(bool group, const char* format, const char* value, mox_handle* out, const Site& site)
{
    return makeHandle<IIdentity>(out, site, [&] {
        const std::string formatText = requireText(format, "format", site);
        const std::string valueText = requireText(value, "value", site);
        const auto identity = group ? MOX::createGroupIdentity(formatText, valueText)
                                    : MOX::createUserIdentity(formatText, valueText);
        warmIdentity(identity);
        return identity;
    });
}

} // namespace

extern "C" {

int mox_identity_create_user(const char* format, const char* value, mox_handle* out)
{
    return createIdentity(false, format, value, out, MOX_SITE("mox_identity_create_user"));
}

int mox_identity_create_group(const char* format, const char* value, mox_handle* out)
{
    return createIdentity(true, format, value, out, MOX_SITE("mox_identity_create_group"));
}

int mox_identity_parse(const char* text, mox_handle* out)
{
    const Site site = MOX_SITE("mox_identity_parse");
    return makeHandle<IIdentity>(out, site, [&] {
        const std::string given = requireText(text, "text", site);
        site.rule("must be an identity item element or a QEL text \"authority/account\"");
        const auto identity = MOX::parseIdentity(given);
        warmIdentity(identity);
        return identity;
    });
}

int mox_identity_marshal(mox_handle identity, char** xml)
{
    const Site site = MOX_SITE("mox_identity_marshal");
    reset(xml);
    return guarded(site, [&] {
        char** target = requireOut(xml, "xml", site);
        handOut(MOX::marshalIdentity(objectOf<IIdentity>(identity, site)), target);
    });
}

int mox_identity_format(mox_handle identity, char** out)
{
    const Site site = MOX_SITE("mox_identity_format");
    return readText<IIdentity>(identity, out, site, [](const IIdentity& i) { return i.getFormat(); });
}

int mox_identity_value(mox_handle identity, char** out)
{
    const Site site = MOX_SITE("mox_identity_value");
    return readText<IIdentity>(identity, out, site, [](const IIdentity& i) { return i.getValue(); });
}

int mox_identity_type(mox_handle identity, char** out)
{
    const Site site = MOX_SITE("mox_identity_type");
    return readText<IIdentity>(identity, out, site, [](const IIdentity& i) { return i.getType(); });
}

int mox_identity_name(mox_handle identity, char** out)
{
    const Site site = MOX_SITE("mox_identity_name");
    return readText<IIdentity>(identity, out, site, [](const IIdentity& i) { return i.getName(); });
}

int mox_identity_authority_name(mox_handle identity, char** out)
{
    const Site site = MOX_SITE("mox_identity_authority_name");
    site.rule("the identity's text must name an authority (QEL: \"format:name/account\")");
    return readText<IIdentity>(identity, out, site, [&](const IIdentity& i) {
        site.keep("identity", i.getValue());
        return i.getAuthorityName();
    });
}

int mox_identity_authority_format(mox_handle identity, char** out)
{
    const Site site = MOX_SITE("mox_identity_authority_format");
    site.rule("the identity's text must name an authority (QEL: \"format:name/account\")");
    return readText<IIdentity>(identity, out, site, [&](const IIdentity& i) {
        site.keep("identity", i.getValue());
        return i.getAuthorityFormat();
    });
}

int mox_identity_create(mox_handle authority, mox_handle account, mox_handle* out)
{
    const Site site = MOX_SITE("mox_identity_create");
    return makeHandle<MOX::AUTHN::IIdentity>(out, site, [&] {
        const auto identity = MOX::createIdentity(objectOf<MOX::AUTHN::IAuthorityId>(authority, site),
                                                  objectOf<MOX::AUTHN::IAccountId>(account, site));
        warmIdentity(identity);
        return identity;
    });
}

int mox_identity_convert(mox_handle identity, const char* format, mox_handle* out)
{
    const Site site = MOX_SITE("mox_identity_convert");
    site.rule("the format must be EMAIL, UPN or QEL (QEL only from QEL), and the identity must name an authority");
    return makeHandle<MOX::AUTHN::IIdentity>(out, site, [&] {
        const std::string target = requireText(format, "format", site);
        const auto source = objectOf<IIdentity>(identity, site);
        site.keep("identity", source->getValue());
        const auto converted = MOX::toIdentityInFormat(source, target);
        warmIdentity(converted);
        return converted;
    });
}

int mox_identity_equal(mox_handle first, mox_handle second, int* out)
{
    const Site site = MOX_SITE("mox_identity_equal");
    return readValue<IIdentity>(first, out, site, [&](const IIdentity& a) {
        const auto b = objectOf<IIdentity>(second, site);
        return !a.lessThan(*b) && !b->lessThan(a);
    });
}

} // extern "C"
