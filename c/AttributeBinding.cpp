// Attribute lists in the C binding.
#include "Binding.h"

#include <mox/attr/Attributes.h>

MOX_SOURCE_FILE("c/AttributeBinding")

using MOX::Attributes::AttributeList;
using namespace moxc;

namespace {

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
        const Site site = MOX_SITE("mox_attributes_parse");
        mox_handle* target = requireOut(out, site);
        MOX::RT::SmartPointer<AttributeListObject> holder(
            new AttributeListObject(MOX::Attributes::unmarshal(requireText(document, site))));
        handOut(holder, kAttributeListClass, target);
    });
}

int mox_attributes_marshal(mox_handle list, char** document)
{
    reset(document);
    return guarded([&] {
        const Site site = MOX_SITE("mox_attributes_marshal");
        char** target = requireOut(document, site);
        handOut(MOX::Attributes::marshal(objectOf<AttributeListObject>(list, site)->list()), target);
    });
}

int mox_attributes_count(mox_handle list, size_t* count)
{
    if (count != nullptr)
        *count = 0;
    return guarded([&] {
        const Site site = MOX_SITE("mox_attributes_count");
        size_t* target = requireOut(count, site);
        *target = objectOf<AttributeListObject>(list, site)->list().size();
    });
}

} // extern "C"
