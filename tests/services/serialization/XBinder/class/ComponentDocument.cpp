#include "services/serialization/XBinder/class/ComponentDocument.h"

#include <atomic>

#include <mox/xb/EncodeBuffer.h>
#include "services/serialization/manager/XBType.h"
#include <mox/xb/XBinderManager.h>

namespace classdoc {

using namespace MOX::XB;

const XBType& xbcomponent::schema()
{
    static const XBType type = XBTypeBuilder<xbcomponent>::sequence("xbcomponent")
                                   .element<&xbcomponent::implementation>("implementation")
                                   .list<&xbcomponent::provides>("provides")
                                   .element<&xbcomponent::provider>("provider");
    return type;
}

namespace {
std::atomic<XBinderManager*> s_manager{nullptr};
} // namespace

std::string encode(xbcomponent& doc)
{
    EncodeBuffer buffer;
    component_CC element(doc);
    return XBinderManager::instance(s_manager).encode(element, buffer);
}

void decode(const std::string& text, xbcomponent& doc)
{
    XBinderManager& manager = XBinderManager::instance(s_manager);
    DecodeBuffer buffer = manager.makeDecodeBuffer(text);
    component_CC element(doc);
    manager.decode(element, buffer);
}

} // namespace classdoc
