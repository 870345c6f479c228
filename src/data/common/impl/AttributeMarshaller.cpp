// SPDX-License-Identifier: MIT
// The attributes document: writing lists and single attributes, reading them back.
//
// Both directions stream: writing fills one reused document object per attribute just
// before it is written, and reading turns each "attribute" into an attribute as soon as
// it has been decoded, so a large list is never held twice (once as document objects,
// once as attributes). The observable results are those of converting the whole list
// first and decoding the whole document first: a decoding error anywhere wins over a
// conversion error, and a failure returns no list.
#include <mox/attr/Attributes.h>
#include <mox/rt/Raise.h>

#include <atomic>
#include <memory>
#include <string_view>
#include <typeinfo>
#include <utility>
#include <vector>

#include <mox/rt/Check.h>
#include <mox/rt/Exceptions.h>
#include <mox/xb/AttributeConverter.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/AttributesSchema.h>
#include <mox/xb/XBinderManager.h>

#include "data/attribute/AttributeImpl.h"
#include "data/attribute/QualifiedNameImpl.h"
#include "services/serialization/XBinder/AttributeDescription.h"
#include "services/serialization/manager/DocumentCodec.h"

MOX_SOURCE_FILE("data/common/impl/AttributeMarshaller")

namespace MOX {
namespace XB {

constexpr char kListType[] = "xbattributes";
constexpr char kItemElement[] = "attribute";

// The root's content as a streamed list of the document's own items, read item by item
// into attributes, never held whole. Described with the element and type names of
// xbattributes, so it reads and fails alike.
using xbattributes_stream = XBStreamedList<xbattribute, kListType, kItemElement>;

// One "attribute" written straight from an attribute's own texts, which it points to
// (null: absent), so that writing a list copies none of its texts; described as
// xbattribute is (copying the texts into the document's own item class costs the writer
// 15 to 40%).
class xbattribute_ref : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    const std::string* name = nullptr;
    const std::string* type = nullptr;
    const std::string* scope = nullptr;
    const std::vector<std::string_view>* value_list = nullptr;
};

const XBType& xbattribute_ref::schema()
{
    static const XBType type = describeAttribute<xbattribute_ref>();
    return type;
}

// The root's content written as a streamed list of xbattribute_ref.
using xbattributes_out = XBStreamedList<xbattribute_ref, kListType, kItemElement>;

// Empties `item` for the next "attribute", keeping the room of its value list.
void resetItem(xbattribute& item)
{
    item.name.clear();
    item.type.reset();
    item.scope.reset();
    item.value_list.clear();
}

} // namespace XB

namespace Attributes {

using ATTR::IAttribute;
using RT::SmartPointer;
using XB::XBinderManager;

namespace {

std::atomic<XBinderManager*> s_manager{nullptr};

// A new attribute made from `item` as AttributeConverter::toMOX makes it (an empty name
// throws the same exception): the name's texts are taken from the item, the values are
// packed into the attribute's own block (the item keeps its texts' room for the next one).
SmartPointer<IAttribute> takeAttribute(XB::xbattribute& item)
{
    if (item.name.empty())
        return XB::AttributeConverter::toMOX(item); // the factory's refusal, as the converter raises it
    std::string format;
    std::string scope;
    if (item.type) {
        format = std::move(*item.type);
        scope = std::move(item.scope).value_or(std::string());
    }
    if (format.empty())
        format = ATTR::QualifiedNameImpl::defaultFormat();
    return ATTR::AttributeImpl::create(
        ATTR::QualifiedNameImpl::create(std::move(item.name), std::move(format), std::move(scope)), item.value_list);
}

// Appends the attribute of each item, in document order.
void addAttribute(AttributeList& list, XB::xbattribute& item) { list.push_back(takeAttribute(item)); }

// The attribute as this library's own class, or null: a type comparison, cheaper than a
// cast through the virtual bases.
const ATTR::AttributeImpl* ownOf(const IAttribute* attribute) noexcept
{
    return attribute != nullptr && typeid(*attribute) == typeid(ATTR::AttributeImpl)
               ? static_cast<const ATTR::AttributeImpl*>(attribute)
               : nullptr;
}

// What the writer reads the attributes from: the list, the current attribute's values
// as views, and room for the name and values of an attribute of another implementation,
// which gives them only as copies.
struct Source {
    const AttributeList& list;
    SmartPointer<ATTR::IQualifiedName> name;
    Vector<std::string> values;
    std::vector<std::string_view> views;

    // Points `item` at the texts of attribute `index`, as AttributeConverter::toXB fills a
    // new document object. A null attribute or qualified name throws NullPointerException.
    static void fill(void* context, std::size_t index, XB::xbattribute_ref& item)
    {
        auto& self = *static_cast<Source*>(context);
        const IAttribute& attribute = RT::checkDeref(self.list[index]);
        const ATTR::AttributeImpl* own = ownOf(&attribute);
        if (own == nullptr) {
            self.name = attribute.getQualifiedName();
            self.values = attribute.getValues();
        }
        const ATTR::IQualifiedName& name = RT::checkDeref(own ? own->name() : self.name);
        item.name = &name.getName();
        item.type = name.getFormat().empty() ? nullptr : &name.getFormat();
        item.scope = name.getScope().empty() ? nullptr : &name.getScope();
        self.views.clear();
        if (own != nullptr)
            for (std::size_t index = 0; index < own->valueCount(); ++index)
                self.views.push_back(own->valueAt(index));
        else
            self.views.assign(self.values.begin(), self.values.end());
        item.value_list = &self.views;
    }

    // About how long the document will be, so that its text grows at most once or twice.
    std::size_t estimate() const
    {
        std::size_t bytes = 64;
        for (const SmartPointer<IAttribute>& attribute : list) {
            bytes += 64;
            if (const ATTR::AttributeImpl* own = ownOf(attribute.get()))
                for (std::size_t index = 0; index < own->valueCount(); ++index)
                    bytes += own->valueAt(index).size() + 16;
        }
        return bytes + bytes / 8;
    }
};

} // namespace

std::string marshal(const AttributeList& list)
{
    Source source{list, {}, {}, {}};
    XB::xbattributes_out top(list.size(), &Source::fill, &source);
    return XB::encodeDocument<XB::attributes_CC>(s_manager, top, source.estimate());
}

AttributeList unmarshal(const std::string& text)
{
    return XB::decodeStreamed<XB::attributes_CC, XB::xbattributes_stream>(
        s_manager, text, MOX_SITE("MOX::Attributes::unmarshal"), &addAttribute);
}

AttributeList unmarshal(std::istream& input)
{
    return XB::decodeStreamed<XB::attributes_CC, XB::xbattributes_stream>(
        s_manager, input, MOX_SITE("MOX::Attributes::unmarshal"), &addAttribute);
}

std::string marshal(const SmartPointer<IAttribute>& attribute)
{
    return RT::XmlUtils::GetElement("attribute", marshal(AttributeList{attribute}));
}

SmartPointer<IAttribute> parseAttribute(const std::string& text)
{
    if (text.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::Attributes::parseAttribute"));
    const AttributeList list = unmarshal(RT::XmlUtils::Enclose("attributes", text));
    if (list.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::Attributes::parseAttribute"));
    return list.front();
}

} // namespace Attributes
} // namespace MOX
