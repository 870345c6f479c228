// SPDX-License-Identifier: MIT
// Writing and reading properties documents through the codec manager.
#include <mox/xb/PropertiesDocument.h>
#include <mox/rt/Raise.h>

#include <atomic>
#include <memory>

#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/AttributeConverter.h>
#include <mox/xb/XBinderManager.h>

#include "services/serialization/manager/DocumentCodec.h"

MOX_SOURCE_FILE("services/serialization/XBinder/PropertiesDocument")

namespace MOX {
namespace XB {

namespace {

std::atomic<XBinderManager*> s_manager{nullptr};

} // namespace

std::string marshalProperties(const I::IProperties& properties, const std::string& rootName)
{
    RT::XmlUtils::RequireName(rootName, MOX_SITE("MOX::XB::marshalProperties"));
    const std::unique_ptr<xb_properties> top(AttributeConverter::toXB(properties));
    return encodeDocument<properties_CC>(s_manager, *top, 0, rootName);
}

void unmarshalProperties(const std::string& text, const std::string& rootName, I::IProperties& properties)
{
    xb_properties top;
    // Roots are matched by local name, whatever their prefix: a root written as
    // "p:name" reads back under "p:name" (and "name").
    const std::string local = rootName.substr(rootName.find(':') + 1);
    decodeDocument<properties_CC>(s_manager, text, top, MOX_SITE("MOX::XB::unmarshalProperties"), local);
    AttributeConverter::toMOX(properties, top); // the decode throws before anything is set
}

} // namespace XB
} // namespace MOX
