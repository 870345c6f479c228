// SPDX-License-Identifier: MIT
#include "services/serialization/manager/XBType.h"
#include "services/serialization/manager/FieldCodec.h"
#include "xmlinput/XmlSpace.h"

#include <cstring>
#include <stdexcept>

namespace MOX {
namespace XB {

namespace {

using RT::isXmlSpace;

} // namespace

bool parseInt32(const char* text, std::size_t length, std::int32_t& value) noexcept
{
    std::size_t begin = 0;
    std::size_t end = length;
    while (begin < end && isXmlSpace(text[begin]))
        ++begin;
    while (end > begin && isXmlSpace(text[end - 1]))
        --end;
    bool negative = false;
    if (begin < end && (text[begin] == '+' || text[begin] == '-')) {
        negative = text[begin] == '-';
        ++begin;
    }
    if (begin == end)
        return false;
    long long n = 0;
    const long long limit = negative ? 2147483648LL : 2147483647LL;
    for (std::size_t i = begin; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
        if (n > limit)
            return false;
    }
    value = static_cast<std::int32_t>(negative ? -n : n);
    return true;
}

XBType::XBType(Kind kind, std::string typeName) : m_kind(kind), m_typeName(std::move(typeName)) {}

XBType XBType::textItem(std::string typeName, WriteFn write, ReadFn read)
{
    XBType type(Kind::Sequence, std::move(typeName));
    type.setText(write, read);
    return type;
}

void XBType::addAttribute(Attribute attribute)
{
    // The decoder keeps the attributes it has seen in one 64-bit mask.
    if (m_attributes.size() >= 64)
        throw std::logic_error("XBType " + m_typeName + ": more than 64 attributes");
    attribute.opening = " " + attribute.name + "=\"";
    m_attributes.push_back(std::move(attribute));
}

void XBType::addChild(Child child)
{
    if (m_kind != Kind::Sequence)
        throw std::logic_error("XBType " + m_typeName + ": a choice type has alternatives, not children");
    m_children.push_back(std::move(child));
}

void XBType::addAlternative(Alternative alternative)
{
    if (m_kind != Kind::Choice)
        throw std::logic_error("XBType " + m_typeName + ": alternatives belong to choice types");
    m_alternatives.push_back(std::move(alternative));
}

void XBType::setText(WriteFn write, ReadFn read)
{
    m_textWrite = write;
    m_textRead = read;
}

void XBType::setCasts(void* (*objectOf)(XBObject*), XBChoice* (*choiceOf)(void*))
{
    m_objectOf = objectOf;
    m_choiceOf = choiceOf;
}

} // namespace XB
} // namespace MOX
