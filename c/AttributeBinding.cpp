// Attribute lists in the C binding.
#include "Binding.h"

#include <mox/attr/Attributes.h>

using MOX::Attributes::AttributeList;
using namespace moxc;

namespace {

constexpr const char kFile[] = "c/AttributeBinding";

// An attribute list is a vector, not an object: this holder lets a handle stand for one.
// Its text form is the attributes document.
class AttributeListObject : public MOX::Object {
public:
    explicit AttributeListObject(AttributeList list) : m_list(std::move(list)) {}
    std::string toString() const override { return MOX::Attributes::marshal(m_list); }
    const AttributeList& list() const noexcept { return m_list; }

private:
    const AttributeList m_list;
};

} // namespace

extern "C" {

int mox_attributes_parse(const char* document, mox_handle* out)
{
    reset(out);
    return guarded([&] {
        constexpr const char* fn = "mox_attributes_parse";
        mox_handle* target = requireOut(out, kFile, fn);
        MOX::RT::SmartPointer<AttributeListObject> holder(
            new AttributeListObject(MOX::Attributes::unmarshal(requireText(document, kFile, fn))));
        handOut(holder, kAttributeListClass, target);
    });
}

int mox_attributes_marshal(mox_handle list, char** document)
{
    reset(document);
    return guarded([&] {
        constexpr const char* fn = "mox_attributes_marshal";
        char** target = requireOut(document, kFile, fn);
        handOut(MOX::Attributes::marshal(objectOf<AttributeListObject>(list, kFile, fn)->list()), target);
    });
}

int mox_attributes_count(mox_handle list, size_t* count)
{
    if (count != nullptr)
        *count = 0;
    return guarded([&] {
        constexpr const char* fn = "mox_attributes_count";
        size_t* target = requireOut(count, kFile, fn);
        *target = objectOf<AttributeListObject>(list, kFile, fn)->list().size();
    });
}

} // extern "C"
