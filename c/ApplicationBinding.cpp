// SPDX-License-Identifier: MIT
// Product and application identifiers in the C binding.
#include "Binding.h"

#include <mox/app/IApplicationId.h>
#include <mox/app/IProductId.h>

MOX_SOURCE_FILE("c/ApplicationBinding")

using MOX::APP::IApplicationId;
using MOX::APP::IProductId;
using namespace moxc;

namespace {
}

extern "C" {

int mox_product_id_create(const char* name, const char* component, const char* version, mox_handle* out)
{
    reset(out);
    return guarded([&] {
        const Site site = MOX_SITE("mox_product_id_create");
        mox_handle* target = requireOut(out, site);
        const auto product = MOX::createProductId(requireText(name, site), requireText(component, site),
                                                  requireText(version, site));
        handOut(product, kProductIdClass, target);
    });
}

int mox_product_id_parse(const char* xml, mox_handle* out)
{
    reset(out);
    return guarded([&] {
        const Site site = MOX_SITE("mox_product_id_parse");
        mox_handle* target = requireOut(out, site);
        handOut(MOX::parseProductId(requireText(xml, site)), kProductIdClass, target);
    });
}

int mox_product_id_marshal(mox_handle product, char** xml)
{
    reset(xml);
    return guarded([&] {
        const Site site = MOX_SITE("mox_product_id_marshal");
        char** target = requireOut(xml, site);
        handOut(objectOf<IProductId>(product, site)->marshal(), target);
    });
}

int mox_application_id_create(mox_handle product, const char* name, mox_handle* out)
{
    reset(out);
    return guarded([&] {
        const Site site = MOX_SITE("mox_application_id_create");
        mox_handle* target = requireOut(out, site);
        const std::string text = requireText(name, site);
        handOut(MOX::createApplicationId(objectOf<IProductId>(product, site), text), kApplicationIdClass, target);
    });
}

int mox_application_id_parse(const char* xml, mox_handle* out)
{
    reset(out);
    return guarded([&] {
        const Site site = MOX_SITE("mox_application_id_parse");
        mox_handle* target = requireOut(out, site);
        handOut(MOX::parseApplicationId(requireText(xml, site)), kApplicationIdClass, target);
    });
}

int mox_application_id_marshal(mox_handle application, char** xml)
{
    reset(xml);
    return guarded([&] {
        const Site site = MOX_SITE("mox_application_id_marshal");
        char** target = requireOut(xml, site);
        handOut(objectOf<IApplicationId>(application, site)->marshal(), target);
    });
}

} // extern "C"
