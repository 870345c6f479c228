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
#include <utility>

#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/AttributesSchema.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBinderManager.h>

#include "services/serialization/XBinder/AttributeStreaming.h"

MOX_SOURCE_FILE("data/common/impl/AttributeMarshaller")

namespace MOX {
namespace Attributes {

using ATTR::IAttribute;
using RT::SmartPointer;
using XB::XBinderManager;

namespace {

std::atomic<XBinderManager*> s_manager{nullptr};

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
            self.list.push_back(XB::takeAttribute(item));
        } catch (...) {
            self.error = std::current_exception();
        }
    }
};

// Fills the encoder's reused item with attribute `index` of the list (the context).
void putItem(const void* list, std::size_t index, XB::xbattribute& item)
{
    XB::putAttribute(item, (*static_cast<const AttributeList*>(list))[index]);
}

} // namespace

std::string marshal(const AttributeList& list)
{
    XBinderManager& manager = XBinderManager::instance(s_manager);
    XB::EncodeBuffer buffer;
    XB::xbattributes_writer top(list.size(), &putItem, &list);
    XB::attributes_CC element(top);
    return manager.encode(element, buffer);
}

AttributeList unmarshal(const std::string& text)
{
    XBinderManager& manager = XBinderManager::instance(s_manager);
    XB::DecodeBuffer buffer = manager.makeDecodeBuffer(text);
    Collector collector;
    XB::xbattributes_reader top(&Collector::take, &collector);
    const std::unique_ptr<XB::attributes_CC> element(new (std::nothrow) XB::attributes_CC(top));
    XBinderManager::requireElement(element.get(), MOX_SITE("MOX::Attributes::unmarshal"));
    manager.decode(*element, buffer);
    top.finish();
    if (collector.error)
        std::rethrow_exception(collector.error);
    return std::move(collector.list);
}

std::string marshal(const SmartPointer<IAttribute>& attribute)
{
    return RT::XmlUtils::GetElement("attribute", marshal(AttributeList{attribute}));
}

SmartPointer<IAttribute> parseAttribute(const std::string& text)
{
    if (text.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::Attributes::parseAttribute"));
    const AttributeList list = unmarshal(RT::XmlUtils::ToElement("attributes", text));
    if (list.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::Attributes::parseAttribute"));
    return list.front();
}

} // namespace Attributes
} // namespace MOX
