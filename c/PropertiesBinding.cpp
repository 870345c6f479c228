// SPDX-License-Identifier: MIT
// The properties document in the C binding.
#include "Binding.h"

#include <mox/rt/PropertiesImpl.h>
#include <mox/xb/PropertiesDocument.h>

MOX_SOURCE_FILE("c/PropertiesBinding")

using namespace moxc;

namespace {

// A property store as a handle's object; its text form is the properties document under
// the root "properties".
struct WriteProperties {
    std::string operator()(const MOX::RT::PropertiesImpl& p) const { return MOX::XB::marshalProperties(p, "properties"); }
};
using PropertiesObject = HeldValue<MOX::RT::PropertiesImpl, WriteProperties>;

using Holder = MOX::RT::SmartPointer<PropertiesObject>;

} // namespace

/// The family of property-store handles (no order).
template <>
struct moxc::Family<PropertiesObject> : moxc::NoOrder {
    static constexpr const char* name = "MOX::RT::IProperties";
};

extern "C" {

int mox_properties_create(mox_handle* out)
{
    const Site site = MOX_SITE("mox_properties_create");
    return makeHandle<PropertiesObject>(out, site, [] { return MOX::RT::makeShared<PropertiesObject>(); });
}

int mox_properties_parse(const char* document, const char* root, mox_handle* out)
{
    const Site site = MOX_SITE("mox_properties_parse");
    return makeHandle<PropertiesObject>(out, site, [&] {
        const std::string text = requireText(document, "document", site);
        const std::string rootName = requireText(root, "root", site);
        Holder holder = MOX::RT::makeShared<PropertiesObject>();
        MOX::XB::unmarshalProperties(text, rootName, holder->value());
        return holder;
    });
}

int mox_properties_set(mox_handle properties, const char* name, const char* value)
{
    const Site site = MOX_SITE("mox_properties_set");
    return change<PropertiesObject>(properties, site, [&](PropertiesObject& p) {
        const std::string nameText = requireText(name, "name", site);
        p.value().setProperty(nameText, requireText(value, "value", site));
    });
}

int mox_properties_get(mox_handle properties, const char* name, char** value)
{
    const Site site = MOX_SITE("mox_properties_get");
    reset(value);
    return guarded(site, [&] {
        char** target = requireOut(value, "value", site);
        const std::string wanted = requireText(name, "name", site);
        MOX::RT::PropertiesImpl& held = objectOf<PropertiesObject>(properties, site)->value();
        for (const std::string& known : held.getPropertyNames()) {
            if (known == wanted) {
                handOut(held.getProperty(wanted), target);
                return;
            }
        }
    });
}

int mox_properties_count(mox_handle properties, size_t* out)
{
    const Site site = MOX_SITE("mox_properties_count");
    return readValue<PropertiesObject>(properties, out, site,
                                       [](PropertiesObject& p) { return p.value().getPropertyNames().size(); });
}

int mox_properties_name(mox_handle properties, size_t index, char** out)
{
    const Site site = MOX_SITE("mox_properties_name");
    return readText<PropertiesObject>(properties, out, site, [&](PropertiesObject& p) {
        const auto names = p.value().getPropertyNames();
        return names[requireIndex(index, names.size(), site)];
    });
}

int mox_properties_marshal(mox_handle properties, const char* root, char** document)
{
    const Site site = MOX_SITE("mox_properties_marshal");
    site.rule("the root must be a non-empty element name");
    return readText<PropertiesObject>(properties, document, site, [&](PropertiesObject& p) {
        return MOX::XB::marshalProperties(p.value(), requireText(root, "root", site));
    });
}

int mox_properties_items(mox_handle properties, char** texts, size_t* count, size_t* bytes)
{
    const Site site = MOX_SITE("mox_properties_items");
    return readTexts<PropertiesObject>(properties, texts, count, bytes, site,
                                       [](PropertiesObject& p, TextBlock& block) {
                                           const MOX::RT::PropertiesImpl& held = p.value();
                                           for (const std::string& name : held.getPropertyNames()) {
                                               block.add(name);
                                               block.add(held.getProperty(name));
                                           }
                                       });
}

} // extern "C"
