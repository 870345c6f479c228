// SPDX-License-Identifier: MIT
#include <mox/xb/XBinderManager.h>
#include <mox/rt/Raise.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/Tracer.h>
#include <mox/xb/DocumentElement.h>
#include <mox/xb/EncodeBuffer.h>

MOX_SOURCE_FILE("services/serialization/manager/XBinderManager")

namespace MOX {
namespace XB {

using EXCEPTIONS::ErrorCode;
using EXCEPTIONS::SerializationException;

XBinderManager& XBinderManager::instance(std::atomic<XBinderManager*>& slot)
{
    XBinderManager* current = slot.load(std::memory_order_acquire);
    if (current != nullptr)
        return *current;
    // Two first callers may race; the loser drops its instance (they hold no data).
    auto* made = new XBinderManager();
    if (slot.compare_exchange_strong(current, made, std::memory_order_acq_rel, std::memory_order_acquire))
        return *made;
    delete made;
    return *current;
}

std::string XBinderManager::encode(DocumentElement& element, EncodeBuffer& buffer)
{
    RT::Tracer trace("XBinderManager::encode", false);
    const int status = element.encode(buffer);
    if (status == XB_OK && !buffer.errors().failed())
        return buffer.takeText();
    const std::string info = buffer.errorInfo();
    trace.printf("Encoding failed: %s", info.c_str());
    EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::Marshal, MOX_SITE("MOX::XB::XBinderManager::encode"), info);
}

int XBinderManager::decode(DocumentElement& element, DecodeBuffer& buffer)
{
    RT::Tracer trace("XBinderManager::decode", false);
    const int status = element.decode(buffer);
    if (status == XB_OK && !buffer.errors().failed())
        return XB_OK;
    const std::string detail = "Decoding failed - info: \"" + buffer.errorInfo() + "\"";
    trace.printf("Deoding failed: %s", detail.c_str());
    EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::Unmarshal, MOX_SITE("MOX::XB::XBinderManager::decode"), detail);
}

namespace {

// Setup errors are traced here and show in the following decode.
DecodeBuffer traced(DecodeBuffer buffer)
{
    if (buffer.errors().failed()) {
        RT::Tracer trace("XBinderManager::makeDecodeBuffer", false);
        trace.printf("%s", buffer.errorInfo().c_str());
    }
    return buffer;
}

} // namespace

DecodeBuffer XBinderManager::makeDecodeBuffer(const std::string& text)
{
    return traced(DecodeBuffer(text));
}

DecodeBuffer XBinderManager::makeDecodeBuffer(std::istream& input)
{
    return traced(DecodeBuffer(input));
}

void XBinderManager::requireElement(const DocumentElement* element, const EXCEPTIONS::SourceSite& site)
{
    if (element == nullptr)
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::CreateUnmarshaller, site);
}

} // namespace XB
} // namespace MOX
