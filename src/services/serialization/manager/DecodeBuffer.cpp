// SPDX-License-Identifier: MIT
#include <mox/xb/DecodeBuffer.h>

#include <atomic>
#include <cstring>
#include <mutex>

#include "services/serialization/manager/XBType.h"
#include "services/serialization/manager/impl/ParserAdapter.h"

namespace MOX {
namespace XB {

namespace {

std::mutex s_limitsMutex;
DecodeLimits s_limits;

} // namespace

DecodeLimits DecodeLimits::defaults() noexcept
{
    std::lock_guard<std::mutex> lock(s_limitsMutex);
    return s_limits;
}

void DecodeLimits::setDefaults(const DecodeLimits& limits) noexcept
{
    std::lock_guard<std::mutex> lock(s_limitsMutex);
    s_limits = limits;
}

DecodeBuffer::DecodeBuffer(const std::string& text, const DecodeLimits& limits)
    : DecodeBuffer(text.c_str(), std::strlen(text.c_str()), limits)
{
}

DecodeBuffer::DecodeBuffer(const char* data, std::size_t length, const DecodeLimits& limits)
    : m_adapter(new ParserAdapter(data, length, limits))
{
    if (!m_adapter->initialised())
        errors().record(XB_NOT_INITIALISED);
}

DecodeBuffer::DecodeBuffer(std::istream& input, const DecodeLimits& limits)
    : m_adapter(new ParserAdapter(input, limits))
{
    if (!m_adapter->initialised())
        errors().record(XB_NOT_INITIALISED);
}

DecodeBuffer::DecodeBuffer(DecodeBuffer&& other) noexcept = default;
DecodeBuffer& DecodeBuffer::operator=(DecodeBuffer&& other) noexcept = default;
DecodeBuffer::~DecodeBuffer() = default;

int DecodeBuffer::decodeDocument(const std::string& rootName, XBObject& top)
{
    if (!m_adapter) {
        if (!errors().failed())
            errors().record(XB_NOT_INITIALISED);
        return errors().status();
    }
    const XBType& type = top.xbType();
    return m_adapter->run(errors(), rootName, type, type.objectOf(top));
}

bool DecodeBuffer::isInitialised() const noexcept
{
    return m_adapter && m_adapter->initialised();
}

const DecodeLimits& DecodeBuffer::limits() const noexcept
{
    static const DecodeLimits defaults;
    return m_adapter ? m_adapter->limits() : defaults;
}

const char* DecodeBuffer::data() const noexcept
{
    return m_adapter ? m_adapter->data() : "";
}

std::size_t DecodeBuffer::size() const noexcept
{
    return m_adapter ? m_adapter->size() : 0;
}

} // namespace XB
} // namespace MOX
