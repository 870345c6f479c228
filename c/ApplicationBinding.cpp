// Product and application identifiers in the C binding.
#include "Binding.h"

#include <mox/app/IApplicationId.h>
#include <mox/app/IProductId.h>

using MOX::APP::IApplicationId;
using MOX::APP::IProductId;
using namespace moxc;

namespace {
constexpr const char kFile[] = "c/ApplicationBinding";
}

extern "C" {

int mox_product_id_create(const char* name, const char* component, const char* version, mox_handle* out)
{
    reset(out);
    return guarded([&] {
        constexpr const char* fn = "mox_product_id_create";
        mox_handle* target = requireOut(out, kFile, fn);
        const auto product = MOX::createProductId(requireText(name, kFile, fn), requireText(component, kFile, fn),
                                                  requireText(version, kFile, fn));
        handOut(product, kProductIdClass, target);
    });
}

int mox_product_id_parse(const char* xml, mox_handle* out)
{
    reset(out);
    return guarded([&] {
        constexpr const char* fn = "mox_product_id_parse";
        mox_handle* target = requireOut(out, kFile, fn);
        handOut(MOX::parseProductId(requireText(xml, kFile, fn)), kProductIdClass, target);
    });
}

int mox_product_id_marshal(mox_handle product, char** xml)
{
    reset(xml);
    return guarded([&] {
        constexpr const char* fn = "mox_product_id_marshal";
        char** target = requireOut(xml, kFile, fn);
        handOut(objectOf<IProductId>(product, kFile, fn)->marshal(), target);
    });
}

int mox_application_id_create(mox_handle product, const char* name, mox_handle* out)
{
    reset(out);
    return guarded([&] {
        constexpr const char* fn = "mox_application_id_create";
        mox_handle* target = requireOut(out, kFile, fn);
        const std::string text = requireText(name, kFile, fn);
        handOut(MOX::createApplicationId(objectOf<IProductId>(product, kFile, fn), text), kApplicationIdClass, target);
    });
}

int mox_application_id_parse(const char* xml, mox_handle* out)
{
    reset(out);
    return guarded([&] {
        constexpr const char* fn = "mox_application_id_parse";
        mox_handle* target = requireOut(out, kFile, fn);
        handOut(MOX::parseApplicationId(requireText(xml, kFile, fn)), kApplicationIdClass, target);
    });
}

int mox_application_id_marshal(mox_handle application, char** xml)
{
    reset(xml);
    return guarded([&] {
        constexpr const char* fn = "mox_application_id_marshal";
        char** target = requireOut(xml, kFile, fn);
        handOut(objectOf<IApplicationId>(application, kFile, fn)->marshal(), target);
    });
}

} // extern "C"
