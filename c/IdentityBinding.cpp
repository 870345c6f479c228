// Identities in the C binding.
#include "Binding.h"

#include <mox/authn/IIdentity.h>
#include <mox/authn/IdentityDocuments.h>

MOX_SOURCE_FILE("c/IdentityBinding")

using MOX::AUTHN::IIdentity;
using namespace moxc;

namespace {

// An identity fills its name and authority caches on first use, without a lock. A handle
// can be used from any thread, so the caches are filled here, before the handle exists.
void warm(const MOX::RT::SmartPointer<IIdentity>& identity)
{
    identity->getName();
    try {
        identity->getAuthorityName();
    } catch (const MOX::EXCEPTIONS::MoxException&) {
        // No authority can be derived: nothing is cached, now or later.
    }
}

int createIdentity(bool group, const char* format, const char* value, mox_handle* out, const Site& site)
{
    reset(out);
    return guarded([&] {
        mox_handle* target = requireOut(out, site);
        const std::string formatText = requireText(format, site);
        const std::string valueText = requireText(value, site);
        const auto identity = group ? MOX::createGroupIdentity(formatText, valueText)
                                    : MOX::createUserIdentity(formatText, valueText);
        warm(identity);
        handOut(identity, kIdentityClass, target);
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
    reset(out);
    return guarded([&] {
        const Site site = MOX_SITE("mox_identity_parse");
        mox_handle* target = requireOut(out, site);
        const auto identity = MOX::parseIdentity(requireText(text, site));
        warm(identity);
        handOut(identity, kIdentityClass, target);
    });
}

int mox_identity_marshal(mox_handle identity, char** xml)
{
    reset(xml);
    return guarded([&] {
        const Site site = MOX_SITE("mox_identity_marshal");
        char** target = requireOut(xml, site);
        handOut(MOX::marshalIdentity(objectOf<IIdentity>(identity, site)), target);
    });
}

} // extern "C"
