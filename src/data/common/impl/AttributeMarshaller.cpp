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
#include <exception>
#include <memory>
#include <new>
#include <typeinfo>
#include <utility>

#include <mox/rt/Check.h>
#include <mox/rt/Exceptions.h>
#include <mox/xb/AttributeConverter.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/AttributesSchema.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBinderManager.h>

#include "data/attribute/AttributeImpl.h"
#include "data/attribute/QualifiedNameImpl.h"
#include "services/serialization/XBinder/AttributeStreaming.h"

MOX_SOURCE_FILE("data/common/impl/AttributeMarshaller")

namespace MOX {
namespace Attributes {

using ATTR::IAttribute;
using RT::SmartPointer;
using XB::XBinderManager;

namespace {

std::atomic<XBinderManager*> s_manager{nullptr};

// A new attribute made from `item` as AttributeConverter::toMOX makes it (an empty name
// throws the same exception), taking the item's texts instead of copying them.
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
    const SmartPointer<ATTR::IQualifiedName> name =
        RT::makeShared<ATTR::QualifiedNameImpl>(std::move(item.name), std::move(format), std::move(scope));
    // The values go into a list of their exact size (the item's list keeps its room for
    // the next attribute), so a large result holds no spare room.
    Vector<std::string> values;
    values.reserve(item.value_list.size());
    for (std::string& value : item.value_list)
        values.push_back(std::move(value));
    return RT::makeShared<ATTR::AttributeImpl>(name, std::move(values));
}

// Collects the attributes of a document being decoded. A conversion error (an empty
// "name") is kept, not thrown, because the sink runs inside the parser; it is raised
// once the whole document has decoded.
struct Collector {
    AttributeList list;
    std::exception_ptr error;

    static void take(void* context, XB::xbattribute& item) noexcept
    {
        auto& self = *static_cast<Collector*>(context);
        if (self.error)
            return;
        try {
            self.list.push_back(takeAttribute(item));
        } catch (...) {
            self.error = std::current_exception();
        }
    }
};

// The attribute as this library's own class, or null: a type comparison, cheaper than a
// cast through the virtual bases.
const ATTR::AttributeImpl* ownOf(const IAttribute* attribute) noexcept
{
    return attribute != nullptr && typeid(*attribute) == typeid(ATTR::AttributeImpl)
               ? static_cast<const ATTR::AttributeImpl*>(attribute)
               : nullptr;
}

// What the writer reads the attributes from: the list, and room for the name and values
// of an attribute of another implementation, which gives them only as copies.
struct Source {
    const AttributeList& list;
    SmartPointer<ATTR::IQualifiedName> name;
    Vector<std::string> values;

    // Points `item` at the texts of attribute `index`, as AttributeConverter::toXB fills a
    // new document object. A null attribute or qualified name throws NullPointerException.
    static void fill(const void* context, std::size_t index, XB::xbattribute_ref& item)
    {
        auto& self = *const_cast<Source*>(static_cast<const Source*>(context));
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
        item.value_list = own ? &own->values() : &self.values;
    }

    // About how long the document will be, so that its text grows at most once or twice.
    std::size_t estimate() const
    {
        std::size_t bytes = 64;
        for (const SmartPointer<IAttribute>& attribute : list) {
            bytes += 64;
            if (const ATTR::AttributeImpl* own = ownOf(attribute.get()))
                for (const std::string& value : own->values())
                    bytes += value.size() + 16;
        }
        return bytes + bytes / 8;
    }
};

} // namespace

std::string marshal(const AttributeList& list)
{
    XBinderManager& manager = XBinderManager::instance(s_manager);
    XB::EncodeBuffer buffer;
    Source source{list, {}, {}};
    buffer.reserve(source.estimate());
    XB::xbattributes_out top(list.size(), &Source::fill, &source);
    XB::attributes_CC element(top);
    return manager.encode(element, buffer);
}

namespace {

AttributeList decode(XBinderManager& manager, XB::DecodeBuffer& buffer)
{
    Collector collector;
    XB::xbattributes_stream top(&Collector::take, &collector);
    const std::unique_ptr<XB::attributes_CC> element(new (std::nothrow) XB::attributes_CC(top));
    XBinderManager::requireElement(element.get(), MOX_SITE("MOX::Attributes::unmarshal"));
    manager.decode(*element, buffer);
    top.finish();
    if (collector.error)
        std::rethrow_exception(collector.error);
    return std::move(collector.list);
}

} // namespace

AttributeList unmarshal(const std::string& text)
{
    XBinderManager& manager = XBinderManager::instance(s_manager);
    XB::DecodeBuffer buffer = manager.makeDecodeBuffer(text);
    return decode(manager, buffer);
}

AttributeList unmarshal(std::istream& input)
{
    XBinderManager& manager = XBinderManager::instance(s_manager);
    XB::DecodeBuffer buffer = manager.makeDecodeBuffer(input);
    return decode(manager, buffer);
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
