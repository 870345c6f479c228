// SPDX-License-Identifier: MIT
// The properties document in the C binding.
#include "Binding.h"

#include <mox/rt/PropertiesImpl.h>
#include <mox/xb/PropertiesDocument.h>

MOX_SOURCE_FILE("c/PropertiesBinding")

using namespace moxc;

namespace {

// A property store is not an object: this holder lets a handle stand for one. Its text
// form is the properties document under the root "properties".
class PropertiesObject : public MOX::Object {
public:
    std::string toString() const override { return MOX::XB::marshalProperties(m_properties, "properties"); }
    MOX::RT::PropertiesImpl& properties() noexcept { return m_properties; }

private:
    MOX::RT::PropertiesImpl m_properties;
};

using Holder = MOX::RT::SmartPointer<PropertiesObject>;

} // namespace

extern "C" {

int mox_properties_create(mox_handle* out)
{
    const Site site = MOX_SITE("mox_properties_create");
    return makeHandle(out, kPropertiesClass, site, [] { return MOX::RT::makeShared<PropertiesObject>(); });
}

int mox_properties_parse(const char* document, const char* root, mox_handle* out)
{
    const Site site = MOX_SITE("mox_properties_parse");
    return makeHandle(out, kPropertiesClass, site, [&] {
        const std::string text = requireText(document, site);
        const std::string rootName = requireText(root, site);
        Holder holder = MOX::RT::makeShared<PropertiesObject>();
        MOX::XB::unmarshalProperties(text, rootName, holder->properties());
        return holder;
    });
}

int mox_properties_set(mox_handle properties, const char* name, const char* value)
{
    const Site site = MOX_SITE("mox_properties_set");
    return change<PropertiesObject>(properties, site, [&](PropertiesObject& p) {
        const std::string nameText = requireText(name, site);
        p.properties().setProperty(nameText, requireText(value, site));
    });
}

int mox_properties_get(mox_handle properties, const char* name, char** value)
{
    const Site site = MOX_SITE("mox_properties_get");
    reset(value);
    return guarded([&] {
        char** target = requireOut(value, site);
        const std::string wanted = requireText(name, site);
        MOX::RT::PropertiesImpl& held = objectOf<PropertiesObject>(properties, site)->properties();
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
                                       [](PropertiesObject& p) { return p.properties().getPropertyNames().size(); });
}

int mox_properties_name(mox_handle properties, size_t index, char** out)
{
    const Site site = MOX_SITE("mox_properties_name");
    return readText<PropertiesObject>(properties, out, site, [&](PropertiesObject& p) {
        const auto names = p.properties().getPropertyNames();
        return names[requireIndex(index, names.size(), site)];
    });
}

int mox_properties_marshal(mox_handle properties, const char* root, char** document)
{
    const Site site = MOX_SITE("mox_properties_marshal");
    return readText<PropertiesObject>(properties, document, site, [&](PropertiesObject& p) {
        return MOX::XB::marshalProperties(p.properties(), requireText(root, site));
    });
}

} // extern "C"
