// SPDX-License-Identifier: MIT
// Qualified names, attributes and attribute lists in the C binding.
#include "Binding.h"

#include <mox/attr/Attributes.h>

MOX_SOURCE_FILE("c/AttributeBinding")

using MOX::ATTR::IAttribute;
using MOX::ATTR::IQualifiedName;
using MOX::Attributes::AttributeList;
using namespace moxc;

namespace {

// An attribute list as a handle's object; its text form is the attributes document.
struct WriteList {
    std::string operator()(const AttributeList& list) const { return MOX::Attributes::marshal(list); }
};
using AttributeListObject = HeldValue<AttributeList, WriteList>;

MOX::RT::SmartPointer<AttributeListObject> holding(AttributeList list)
{
    return MOX::RT::makeShared<AttributeListObject>(std::move(list));
}

// The name, format and scope texts of a new qualified name.
MOX::RT::SmartPointer<IQualifiedName> qualifiedName(const char* name, const char* format, const char* scope,
                                                    const Site& site)
{
    const std::string nameText = requireText(name, "name", site);
    const std::string formatText = requireText(format, "format", site);
    return MOX::Attributes::createQualifiedName(nameText, formatText, requireText(scope, "scope", site));
}

// Adds the texts of `attribute` as mox_attributes_read lays them out.
void addAttribute(const IAttribute& attribute, TextBlock& block)
{
    const auto name = attribute.getQualifiedName();
    const std::vector<std::string> values = attribute.getValues();
    block.add(attribute.getName());
    block.add(attribute.getFormat());
    block.add(name.isNull() ? std::string() : name->getScope());
    block.add(std::to_string(values.size()));
    for (const std::string& value : values)
        block.add(value);
}

// The texts of every attribute of `list`, in order.
void addAttributes(const AttributeList& list, TextBlock& block)
{
    for (const auto& attribute : list)
        addAttribute(*attribute, block);
}

} // namespace

/// The family of attribute-list handles (no order).
template <>
struct moxc::Family<AttributeListObject> : moxc::NoOrder {
    static constexpr const char* name = "MOX::Attributes::AttributeList";
};

extern "C" {

int mox_qualified_name_create(const char* name, const char* format, const char* scope, mox_handle* out)
{
    const Site site = MOX_SITE("mox_qualified_name_create");
    site.rule("the name must not be empty");
    return makeHandle<MOX::ATTR::IQualifiedName>(out, site, [&] { return qualifiedName(name, format, scope, site); });
}

int mox_qualified_name_parse(const char* text, mox_handle* out)
{
    const Site site = MOX_SITE("mox_qualified_name_parse");
    site.rule("must be an \"attribute-id\" element, not empty");
    return makeHandle<MOX::ATTR::IQualifiedName>(
        out, site, [&] { return MOX::Attributes::parseQualifiedName(requireText(text, "text", site)); });
}

int mox_qualified_name_name(mox_handle qname, char** out)
{
    const Site site = MOX_SITE("mox_qualified_name_name");
    return readText<IQualifiedName>(qname, out, site, [](const IQualifiedName& q) { return q.getName(); });
}

int mox_qualified_name_format(mox_handle qname, char** out)
{
    const Site site = MOX_SITE("mox_qualified_name_format");
    return readText<IQualifiedName>(qname, out, site, [](const IQualifiedName& q) { return q.getFormat(); });
}

int mox_qualified_name_scope(mox_handle qname, char** out)
{
    const Site site = MOX_SITE("mox_qualified_name_scope");
    return readText<IQualifiedName>(qname, out, site, [](const IQualifiedName& q) { return q.getScope(); });
}

int mox_qualified_name_matches(mox_handle qname, mox_handle pattern, int* out)
{
    const Site site = MOX_SITE("mox_qualified_name_matches");
    return readValue<IQualifiedName>(qname, out, site, [&](const IQualifiedName& q) {
        return q.matches(objectOf<IQualifiedName>(pattern, site)) ? 1 : 0;
    });
}

int mox_attribute_create(const char* name, const char* format, const char* scope, mox_handle* out)
{
    const Site site = MOX_SITE("mox_attribute_create");
    site.rule("the name must not be empty");
    return makeHandle<MOX::ATTR::IAttribute>(
        out, site, [&] { return MOX::Attributes::createAttribute(qualifiedName(name, format, scope, site)); });
}

int mox_attribute_parse(const char* xml, mox_handle* out)
{
    const Site site = MOX_SITE("mox_attribute_parse");
    site.rule("must hold at least one \"attribute\" element, each with a non-empty name");
    return makeHandle<MOX::ATTR::IAttribute>(
        out, site, [&] { return MOX::Attributes::parseAttribute(requireText(xml, "xml", site)); });
}

int mox_attribute_marshal(mox_handle attribute, char** xml)
{
    const Site site = MOX_SITE("mox_attribute_marshal");
    reset(xml);
    return guarded(site, [&] {
        char** target = requireOut(xml, "xml", site);
        handOut(MOX::Attributes::marshal(objectOf<IAttribute>(attribute, site)), target);
    });
}

int mox_attribute_add_value(mox_handle attribute, const char* value)
{
    const Site site = MOX_SITE("mox_attribute_add_value");
    return change<IAttribute>(attribute, site, [&](IAttribute& a) { a.addValue(requireText(value, "value", site)); });
}

int mox_attribute_name(mox_handle attribute, char** out)
{
    const Site site = MOX_SITE("mox_attribute_name");
    return readText<IAttribute>(attribute, out, site, [](const IAttribute& a) { return a.getName(); });
}

int mox_attribute_format(mox_handle attribute, char** out)
{
    const Site site = MOX_SITE("mox_attribute_format");
    return readText<IAttribute>(attribute, out, site, [](const IAttribute& a) { return a.getFormat(); });
}

int mox_attribute_scope(mox_handle attribute, char** out)
{
    const Site site = MOX_SITE("mox_attribute_scope");
    return readText<IAttribute>(attribute, out, site, [&](const IAttribute& a) {
        const auto name = a.getQualifiedName();
        if (name.isNull())
            MOX::EXCEPTIONS::raise(MOX::EXCEPTIONS::ErrorCode::NullPointer, site);
        return name->getScope();
    });
}

int mox_attribute_qualified_name(mox_handle attribute, mox_handle* out)
{
    const Site site = MOX_SITE("mox_attribute_qualified_name");
    return makeHandle<MOX::ATTR::IQualifiedName>(out, site, [&] {
        const auto name = objectOf<IAttribute>(attribute, site)->getQualifiedName();
        if (name.isNull())
            MOX::EXCEPTIONS::raise(MOX::EXCEPTIONS::ErrorCode::NullPointer, site);
        return name;
    });
}

int mox_attribute_value_count(mox_handle attribute, size_t* out)
{
    const Site site = MOX_SITE("mox_attribute_value_count");
    return readValue<IAttribute>(attribute, out, site, [](const IAttribute& a) { return a.getValueCount(); });
}

int mox_attribute_value(mox_handle attribute, size_t index, char** out)
{
    const Site site = MOX_SITE("mox_attribute_value");
    return readText<IAttribute>(attribute, out, site, [&](const IAttribute& a) {
        return a.getValue(requireIndex(index, a.getValueCount(), site));
    });
}

int mox_attributes_create(mox_handle* out)
{
    const Site site = MOX_SITE("mox_attributes_create");
    return makeHandle<AttributeListObject>(out, site, [] { return holding(AttributeList()); });
}

int mox_attributes_parse(const char* document, mox_handle* out)
{
    const Site site = MOX_SITE("mox_attributes_parse");
    site.rule("every attribute must have a non-empty name");
    return makeHandle<AttributeListObject>(
        out, site, [&] { return holding(MOX::Attributes::unmarshal(requireText(document, "document", site))); });
}

int mox_attributes_marshal(mox_handle list, char** document)
{
    const Site site = MOX_SITE("mox_attributes_marshal");
    return readText<AttributeListObject>(list, document, site, [](const AttributeListObject& l) { return l.toString(); });
}

int mox_attributes_count(mox_handle list, size_t* count)
{
    const Site site = MOX_SITE("mox_attributes_count");
    return readValue<AttributeListObject>(list, count, site, [](AttributeListObject& l) { return l.value().size(); });
}

int mox_attributes_add(mox_handle list, mox_handle attribute)
{
    const Site site = MOX_SITE("mox_attributes_add");
    return change<AttributeListObject>(
        list, site, [&](AttributeListObject& l) { l.value().push_back(objectOf<IAttribute>(attribute, site)); });
}

int mox_attributes_get(mox_handle list, size_t index, mox_handle* out)
{
    const Site site = MOX_SITE("mox_attributes_get");
    return makeHandle<MOX::ATTR::IAttribute>(out, site, [&] {
        AttributeList& held = objectOf<AttributeListObject>(list, site)->value();
        return held[requireIndex(index, held.size(), site)];
    });
}

int mox_attributes_find(mox_handle list, const char* name, mox_handle* out)
{
    const Site site = MOX_SITE("mox_attributes_find");
    reset(out);
    return guarded(site, [&] {
        mox_handle* target = requireOut(out, "out", site);
        const std::string wanted = requireText(name, "name", site);
        const auto found = MOX::Attributes::findAttribute(wanted, objectOf<AttributeListObject>(list, site)->value());
        if (!found.isNull())
            handOut<MOX::ATTR::IAttribute>(found, target);
    });
}

int mox_attribute_values(mox_handle attribute, char** texts, size_t* count, size_t* bytes)
{
    const Site site = MOX_SITE("mox_attribute_values");
    return readTexts<IAttribute>(attribute, texts, count, bytes, site, [](const IAttribute& a, TextBlock& block) {
        for (const std::string& value : a.getValues())
            block.add(value);
    });
}

int mox_attributes_to_array(mox_handle list, mox_handle** handles, size_t* count)
{
    const Site site = MOX_SITE("mox_attributes_to_array");
    return readHandles<IAttribute, AttributeListObject>(
        list, handles, count, site, [](AttributeListObject& l) -> const AttributeList& { return l.value(); });
}

int mox_attributes_texts(mox_handle list, char** texts, size_t* count, size_t* bytes)
{
    const Site site = MOX_SITE("mox_attributes_texts");
    return readTexts<AttributeListObject>(
        list, texts, count, bytes, site,
        [](AttributeListObject& l, TextBlock& block) { addAttributes(l.value(), block); });
}

int mox_attributes_read(const char* document, char** texts, size_t* count, size_t* bytes)
{
    const Site site = MOX_SITE("mox_attributes_read");
    site.rule("every attribute must have a non-empty name");
    return handOutTexts(texts, count, bytes, site, [&](TextBlock& block) {
        addAttributes(MOX::Attributes::unmarshal(requireText(document, "document", site)), block);
    });
}

} // extern "C"
