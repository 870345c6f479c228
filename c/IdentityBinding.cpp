// Identities in the C binding.
#include "Binding.h"

#include <mox/authn/IIdentity.h>
#include <mox/authn/IdentityDocuments.h>

using MOX::AUTHN::IIdentity;
using namespace moxc;

namespace {

constexpr const char kFile[] = "c/IdentityBinding";

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

int createIdentity(bool group, const char* format, const char* value, mox_handle* out, const char* fn)
{
    reset(out);
    return guarded([&] {
        mox_handle* target = requireOut(out, kFile, fn);
        const std::string formatText = requireText(format, kFile, fn);
        const std::string valueText = requireText(value, kFile, fn);
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
    return createIdentity(false, format, value, out, "mox_identity_create_user");
}

int mox_identity_create_group(const char* format, const char* value, mox_handle* out)
{
    return createIdentity(true, format, value, out, "mox_identity_create_group");
}

int mox_identity_parse(const char* text, mox_handle* out)
{
    reset(out);
    return guarded([&] {
        constexpr const char* fn = "mox_identity_parse";
        mox_handle* target = requireOut(out, kFile, fn);
        const auto identity = MOX::parseIdentity(requireText(text, kFile, fn));
        warm(identity);
        handOut(identity, kIdentityClass, target);
    });
}

int mox_identity_marshal(mox_handle identity, char** xml)
{
    reset(xml);
    return guarded([&] {
        constexpr const char* fn = "mox_identity_marshal";
        char** target = requireOut(xml, kFile, fn);
        handOut(MOX::marshalIdentity(objectOf<IIdentity>(identity, kFile, fn)), target);
    });
}

} // extern "C"
