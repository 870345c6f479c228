// SPDX-License-Identifier: MIT
// Variants in the C binding.
#include "Binding.h"

#include <mox/attr/IVariant.h>

MOX_SOURCE_FILE("c/VariantBinding")

using MOX::ATTR::IVariant;
using namespace moxc;

namespace {

// Notes a variant's kind and value, which explain why it has no number.
void keepVariant(const IVariant& variant, const Site& site)
{
    site.keep("kind", variant.getType());
    site.keep("value", variant.getValue());
}

} // namespace

extern "C" {

int mox_variant_create_string(const char* value, const char* tag, mox_handle* out)
{
    const Site site = MOX_SITE("mox_variant_create_string");
    return makeHandle<MOX::ATTR::IVariant>(out, site, [&] {
        const std::string text = requireText(value, "value", site);
        return MOX::createVariant(text, requireText(tag, "tag", site));
    });
}

int mox_variant_create_int64(long long value, const char* tag, mox_handle* out)
{
    const Site site = MOX_SITE("mox_variant_create_int64");
    return makeHandle<MOX::ATTR::IVariant>(
        out, site, [&] { return MOX::createVariant(static_cast<MOX::Int64>(value), requireText(tag, "tag", site)); });
}

int mox_variant_create_double(double value, const char* tag, mox_handle* out)
{
    const Site site = MOX_SITE("mox_variant_create_double");
    return makeHandle<MOX::ATTR::IVariant>(out, site,
                                           [&] { return MOX::createVariant(value, requireText(tag, "tag", site)); });
}

int mox_variant_create(const char* type, const char* value, const char* tag, mox_handle* out)
{
    const Site site = MOX_SITE("mox_variant_create");
    return makeHandle<MOX::ATTR::IVariant>(out, site, [&] {
        const std::string typeText = requireText(type, "type", site);
        const std::string valueText = requireText(value, "value", site);
        const auto variant = MOX::createVariant(valueText, requireText(tag, "tag", site));
        variant->setValue(valueText, typeText);
        return variant;
    });
}

int mox_variant_type(mox_handle variant, char** out)
{
    const Site site = MOX_SITE("mox_variant_type");
    return readText<IVariant>(variant, out, site, [](const IVariant& v) { return v.getType(); });
}

int mox_variant_value(mox_handle variant, char** out)
{
    const Site site = MOX_SITE("mox_variant_value");
    return readText<IVariant>(variant, out, site, [](const IVariant& v) { return v.getValue(); });
}

int mox_variant_tag(mox_handle variant, char** out)
{
    const Site site = MOX_SITE("mox_variant_tag");
    return readText<IVariant>(variant, out, site, [](const IVariant& v) { return v.getTag(); });
}

int mox_variant_as_int64(mox_handle variant, long long* out)
{
    const Site site = MOX_SITE("mox_variant_as_int64");
    site.rule("the variant must be of an integer kind (Integer, Long, Int64) and hold a whole number");
    return readValue<IVariant>(variant, out, site, [&](const IVariant& v) -> long long {
        keepVariant(v, site);
        if (v.isType("Integer"))
            return v.asInteger();
        if (v.isType("Long"))
            return v.asLong();
        return v.asInt64(); // refuses every other kind
    });
}

int mox_variant_as_double(mox_handle variant, double* out)
{
    const Site site = MOX_SITE("mox_variant_as_double");
    site.rule("the variant must be of kind Float or Double and hold a number");
    return readValue<IVariant>(variant, out, site, [&](const IVariant& v) -> double {
        keepVariant(v, site);
        return v.isType("Float") ? v.asFloat() : v.asDouble();
    });
}

} // extern "C"
