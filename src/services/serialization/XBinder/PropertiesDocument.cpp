// SPDX-License-Identifier: MIT
// Writing and reading properties documents through the codec manager.
#include <mox/xb/PropertiesDocument.h>
#include <mox/rt/Raise.h>

#include <atomic>
#include <memory>
#include <new>

#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/AttributeConverter.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBinderManager.h>

MOX_SOURCE_FILE("services/serialization/XBinder/PropertiesDocument")

namespace MOX {
namespace XB {

namespace {

std::atomic<XBinderManager*> s_manager{nullptr};

} // namespace

std::string marshalProperties(const I::IProperties& properties, const std::string& rootName)
{
    RT::XmlUtils::RequireName(rootName, MOX_SITE("MOX::XB::marshalProperties"));
    XBinderManager& manager = XBinderManager::instance(s_manager);
    EncodeBuffer buffer;
    const std::unique_ptr<xb_properties> top(AttributeConverter::toXB(properties));
    properties_CC element(rootName, *top);
    return manager.encode(element, buffer);
}

void unmarshalProperties(const std::string& text, const std::string& rootName, I::IProperties& properties)
{
    XBinderManager& manager = XBinderManager::instance(s_manager);
    xb_properties top;
    DecodeBuffer buffer = manager.makeDecodeBuffer(text);
    // Roots are matched by local name, whatever their prefix: a root written as
    // "p:name" reads back under "p:name" (and "name").
    const std::string local = rootName.substr(rootName.find(':') + 1);
    const std::unique_ptr<properties_CC> element(new (std::nothrow) properties_CC(local, top));
    XBinderManager::requireElement(element.get(), MOX_SITE("MOX::XB::unmarshalProperties"));
    manager.decode(*element, buffer); // throws before anything is set
    AttributeConverter::toMOX(properties, top);
}

} // namespace XB
} // namespace MOX
