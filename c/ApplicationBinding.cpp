// SPDX-License-Identifier: MIT
// Product and application identifiers in the C binding.
#include "Binding.h"

#include <mox/app/IApplicationId.h>
#include <mox/app/IProductId.h>

MOX_SOURCE_FILE("c/ApplicationBinding")

using MOX::APP::IApplicationId;
using MOX::APP::IProductId;
using namespace moxc;

extern "C" {

int mox_product_id_create(const char* name, const char* component, const char* version, mox_handle* out)
{
    const Site site = MOX_SITE("mox_product_id_create");
    return makeHandle<IProductId>(out, site, [&] {
        const std::string nameText = requireText(name, "name", site);
        const std::string componentText = requireText(component, "component", site);
        const std::string versionText = requireText(version, "version", site);
        site.rule("name and version must not be empty");
        return MOX::createProductId(nameText, componentText, versionText);
    });
}

int mox_product_id_parse(const char* xml, mox_handle* out)
{
    const Site site = MOX_SITE("mox_product_id_parse");
    return makeHandle<IProductId>(out, site, [&] {
        const std::string text = requireText(xml, "xml", site);
        site.rule("must be a \"product\" element with a non-empty name");
        return MOX::parseProductId(text);
    });
}

int mox_product_id_marshal(mox_handle product, char** xml)
{
    const Site site = MOX_SITE("mox_product_id_marshal");
    return readText<IProductId>(product, xml, site, [](const IProductId& p) { return p.marshal(); });
}

int mox_application_id_create(mox_handle product, const char* name, mox_handle* out)
{
    const Site site = MOX_SITE("mox_application_id_create");
    return makeHandle<IApplicationId>(out, site, [&] {
        const std::string text = requireText(name, "name", site);
        return MOX::createApplicationId(objectOf<IProductId>(product, site), text);
    });
}

int mox_application_id_parse(const char* xml, mox_handle* out)
{
    const Site site = MOX_SITE("mox_application_id_parse");
    return makeHandle<IApplicationId>(out, site, [&] {
        const std::string text = requireText(xml, "xml", site);
        site.rule("must be an \"app-id\" element with a name and a \"product\" element");
        return MOX::parseApplicationId(text);
    });
}

int mox_application_id_marshal(mox_handle application, char** xml)
{
    const Site site = MOX_SITE("mox_application_id_marshal");
    return readText<IApplicationId>(application, xml, site, [](const IApplicationId& a) { return a.marshal(); });
}

} // extern "C"
