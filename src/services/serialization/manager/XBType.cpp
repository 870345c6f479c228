#include <mox/xb/XBType.h>

#include <cstring>
#include <stdexcept>

namespace MOX {
namespace XB {

namespace {

bool isXmlSpace(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int writeTextItem(const void* object, std::string& out, bool attribute)
{
    const std::string& text = *static_cast<const std::string*>(object);
    return appendEscaped(out, text.data(), text.size(), attribute) ? XBType::Written : XBType::Unwritable;
}

bool readTextItem(void* object, const char* text, std::size_t length)
{
    static_cast<std::string*>(object)->assign(text, length);
    return true;
}

// The length of the well-formed UTF-8 sequence at `text` that encodes a character XML
// 1.0 allows (at most `left` bytes are there); 0 when there is none. Only called for
// bytes of 0x80 and above.
std::size_t xmlCharLength(const unsigned char* text, std::size_t left) noexcept
{
    const unsigned char lead = text[0];
    std::size_t length;
    unsigned long code;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((text[i] & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (text[i] & 0x3Fu);
    }
    // Overlong forms, surrogates, U+FFFE/U+FFFF and beyond U+10FFFF are refused.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF)
        return 0;
    return length;
}

// The entity or character reference for a byte that needs one, else null.
const char* escapeFor(unsigned char c, bool attribute) noexcept
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '\r': return "&#13;";
    case '"': return attribute ? "&quot;" : nullptr;
    case '\t': return attribute ? "&#9;" : nullptr;
    case '\n': return attribute ? "&#10;" : nullptr;
    default: return nullptr;
    }
}

} // namespace

bool appendEscaped(std::string& out, const char* text, std::size_t length, bool attribute)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t run = 0; // start of the pending run of bytes that need no escaping
    for (std::size_t i = 0; i < length;) {
        const unsigned char c = bytes[i];
        if (c >= 0x80) {
            const std::size_t n = xmlCharLength(bytes + i, length - i);
            if (n == 0)
                return false;
            i += n;
            continue;
        }
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
            return false;
        const char* ref = escapeFor(c, attribute);
        ++i;
        if (ref == nullptr)
            continue;
        out.append(text + run, i - 1 - run);
        out.append(ref);
        run = i;
    }
    out.append(text + run, length - run);
    return true;
}

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

XBType XBType::textItem(std::string typeName)
{
    XBType type(Kind::Sequence, std::move(typeName));
    type.setText(&writeTextItem, &readTextItem);
    return type;
}

void XBType::addAttribute(Attribute attribute)
{
    // The decoder keeps the attributes it has seen in one 64-bit mask.
    if (m_attributes.size() >= 64)
        throw std::logic_error("XBType " + m_typeName + ": more than 64 attributes");
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
