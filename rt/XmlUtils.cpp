// SPDX-License-Identifier: MIT
#include <mox/rt/XmlUtils.h>
#include <mox/rt/Raise.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

#include <expat.h>

MOX_SOURCE_FILE("rt/XmlUtils")

namespace MOX {
namespace RT {

namespace {

// The readers parse the fragment inside this wrapper element, so that several top-level
// elements (and text around them) form one well-formed document. The wrapper is depth 0
// and never reported, so a fragment element of the same name does no harm.
constexpr const char kOpen[] = "<mox-rt-fragment>";
constexpr const char kClose[] = "</mox-rt-fragment>";
constexpr std::size_t kOpenLength = sizeof kOpen - 1;

// XML_Parse takes an int length; larger texts are fed in pieces of this size.
constexpr std::size_t kChunk = std::size_t(1) << 30;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// How the writer treats each byte: copied as part of a run, replaced by a reference,
// refused, or the lead byte of a multi-byte UTF-8 sequence to check.
enum ByteClass : unsigned char { Plain, Reference, Refused, Lead };

struct ByteTable {
    ByteClass classes[2][256];
    constexpr ByteTable() : classes()
    {
        for (int attribute = 0; attribute < 2; ++attribute) {
            for (int c = 0; c < 256; ++c)
                classes[attribute][c] = c >= 0x80 ? Lead : (c < 0x20 ? Refused : Plain);
            for (unsigned char c : {'&', '<', '>', '\r'})
                classes[attribute][c] = Reference;
            // Attribute values are normalised on reading: these must go as references.
            for (unsigned char c : {'\t', '\n', '"'})
                classes[attribute][c] = attribute ? Reference : Plain;
        }
    }
};
constexpr ByteTable kBytes;

const char* referenceFor(unsigned char c) noexcept
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '\r': return "&#13;";
    case '"': return "&quot;";
    case '\t': return "&#9;";
    default: return "&#10;";
    }
}

// The length of the well-formed UTF-8 sequence at `text` that encodes a character XML
// 1.0 allows (at most `left` bytes are there, the first is not ASCII), its character in
// `code`; 0 when there is none.
std::size_t decodeXmlChar(const unsigned char* text, std::size_t left, unsigned long& code) noexcept
{
    const unsigned char lead = text[0];
    std::size_t length;
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

std::size_t xmlCharLength(const unsigned char* text, std::size_t left) noexcept
{
    unsigned long code;
    return decodeXmlChar(text, left, code);
}

bool inRange(unsigned long c, unsigned long low, unsigned long high) noexcept { return c >= low && c <= high; }

// NameStartChar of XML 1.0, fifth edition.
bool isNameStart(unsigned long c) noexcept
{
    if (c < 0x80)
        return inRange(c, 'a', 'z') || inRange(c, 'A', 'Z') || c == '_' || c == ':';
    return inRange(c, 0xC0, 0xD6) || inRange(c, 0xD8, 0xF6) || inRange(c, 0xF8, 0x2FF) ||
           inRange(c, 0x370, 0x37D) || inRange(c, 0x37F, 0x1FFF) || inRange(c, 0x200C, 0x200D) ||
           inRange(c, 0x2070, 0x218F) || inRange(c, 0x2C00, 0x2FEF) || inRange(c, 0x3001, 0xD7FF) ||
           inRange(c, 0xF900, 0xFDCF) || inRange(c, 0xFDF0, 0xFFFD) || inRange(c, 0x10000, 0xEFFFF);
}

// NameChar of XML 1.0, fifth edition.
bool isNameChar(unsigned long c) noexcept
{
    return isNameStart(c) || c == '-' || c == '.' || inRange(c, '0', '9') || c == 0xB7 ||
           inRange(c, 0x300, 0x36F) || inRange(c, 0x203F, 0x2040);
}

// True when expat reads `name` as an element name. Its character classes for names
// outside ASCII are those of earlier editions (narrower than the fifth edition's), and
// the platform's readers are expat: a name it would refuse is not written either.
bool readerTakesName(const std::string& name)
{
    XML_Parser parser = XML_ParserCreate("UTF-8");
    if (parser == nullptr)
        return false;
    const std::string element = '<' + name + "/>";
    const bool ok = XML_Parse(parser, element.data(), static_cast<int>(element.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return ok;
}

// Where the fragment proper starts: after a byte-order mark, white space and an XML
// declaration (which would not be allowed inside the wrapper). A text declaration
// that is not closed is left in place, so the parser reports it as an error.
std::size_t bodyStart(const std::string& text)
{
    std::size_t pos = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        pos = 3;
    std::size_t p = pos;
    while (p < text.size() && isSpace(text[p]))
        ++p;
    if (text.compare(p, 5, "<?xml") == 0 && p + 5 < text.size() &&
        (isSpace(text[p + 5]) || text[p + 5] == '?')) {
        const std::size_t close = text.find("?>", p + 5);
        if (close != std::string::npos)
            return close + 2;
    }
    return pos;
}

// Receives the elements of a fragment with their positions in the caller's text.
// Depth 1 is a top-level element of the fragment. Returning false stops the parse.
class ElementListener {
public:
    virtual ~ElementListener() = default;
    // `tagBegin`/`tagEnd`: the start tag's extent.
    virtual bool start(const char* name, const char** attributes, int depth, std::size_t tagBegin,
                       std::size_t tagEnd) = 0;
    // `tagBegin`/`tagEnd`: the end tag's extent (empty at the end of a self-closing tag).
    virtual bool end(int depth, std::size_t tagBegin, std::size_t tagEnd) = 0;
};

// One expat pass over a fragment, turning expat's byte indices into offsets of the text.
class FragmentParser {
public:
    FragmentParser(const std::string& text, ElementListener& listener)
        : m_text(text), m_listener(listener), m_body(bodyStart(text))
    {
    }

    // Parses the fragment; false when the parser met an error (see error()) before a
    // listener stopped it.
    bool run()
    {
        XML_Parser parser = XML_ParserCreate("UTF-8");
        if (parser == nullptr)
            throw std::bad_alloc();
        m_parser = parser;
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, &FragmentParser::onStart, &FragmentParser::onEnd);
        // No document types: nothing may declare or load entities.
        XML_SetStartDoctypeDeclHandler(parser, &FragmentParser::onDoctype);
        XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
        if (feed(kOpen, kOpenLength, false)) {
            bool ok = true;
            for (std::size_t pos = m_body; ok && pos < m_text.size(); pos += kChunk)
                ok = feed(m_text.data() + pos, std::min(kChunk, m_text.size() - pos), false);
            if (ok)
                feed(kClose, sizeof kClose - 1, true);
        }
        XML_ParserFree(parser);
        m_parser = nullptr;
        return m_error.empty();
    }

    // The parser's message with line and column; "" when the parse succeeded or a
    // listener stopped it.
    const std::string& error() const noexcept { return m_error; }

private:
    bool feed(const char* data, std::size_t length, bool final)
    {
        if (XML_Parse(m_parser, data, static_cast<int>(length), final) == XML_STATUS_OK)
            return true;
        if (m_doctype)
            m_error = "a document type declaration is not accepted";
        else if (!m_stopped)
            m_error = std::string(XML_ErrorString(XML_GetErrorCode(m_parser))) + ", line = " +
                      std::to_string(XML_GetCurrentLineNumber(m_parser)) + ", column = " +
                      std::to_string(XML_GetCurrentColumnNumber(m_parser));
        return false;
    }

    // Offset in the caller's text of expat's current event, clamped into the text.
    std::size_t offset(XML_Index index) const
    {
        const long long value = static_cast<long long>(index) - static_cast<long long>(kOpenLength) +
                                static_cast<long long>(m_body);
        if (value < static_cast<long long>(m_body))
            return m_body;
        return std::min(static_cast<std::size_t>(value), m_text.size());
    }

    void stop() { XML_StopParser(m_parser, XML_FALSE); }

    static void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        auto* self = static_cast<FragmentParser*>(data);
        const int depth = self->m_depth++;
        if (depth == 0 || self->m_stopped)
            return;
        const XML_Index index = XML_GetCurrentByteIndex(self->m_parser);
        const int count = XML_GetCurrentByteCount(self->m_parser);
        if (!self->m_listener.start(name, attributes, depth, self->offset(index), self->offset(index + count))) {
            self->m_stopped = true;
            self->stop();
        }
    }

    static void XMLCALL onEnd(void* data, const XML_Char*)
    {
        auto* self = static_cast<FragmentParser*>(data);
        const int depth = --self->m_depth;
        if (depth == 0 || self->m_stopped)
            return;
        const XML_Index index = XML_GetCurrentByteIndex(self->m_parser);
        const int count = XML_GetCurrentByteCount(self->m_parser);
        if (!self->m_listener.end(depth, self->offset(index), self->offset(index + count))) {
            self->m_stopped = true;
            self->stop();
        }
    }

    static void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int)
    {
        auto* self = static_cast<FragmentParser*>(data);
        self->m_doctype = true;
        self->stop();
    }

    const std::string& m_text;
    ElementListener& m_listener;
    std::size_t m_body;
    XML_Parser m_parser = nullptr;
    int m_depth = 0;
    bool m_stopped = false;
    bool m_doctype = false;
    std::string m_error;
};

// Raises -1056 for a fragment that is not well-formed.
[[noreturn]] void raiseMalformed(const std::string& error, const char* function)
{
    EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::Unmarshal, MOX_SITE(function), error);
}

// The extent of one element and of its content.
struct Span {
    std::size_t begin = 0;
    std::size_t contentBegin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
};

// Collects the outermost elements called `name`; the first only when `firstOnly`.
class ElementCollector : public ElementListener {
public:
    ElementCollector(const std::string& name, bool firstOnly) : m_name(name), m_firstOnly(firstOnly) {}

    bool start(const char* name, const char**, int depth, std::size_t tagBegin, std::size_t tagEnd) override
    {
        if (m_matchDepth == 0 && m_name == name) {
            m_matchDepth = depth;
            m_current.begin = tagBegin;
            m_current.contentBegin = tagEnd;
        }
        return true;
    }

    bool end(int depth, std::size_t tagBegin, std::size_t tagEnd) override
    {
        if (depth != m_matchDepth)
            return true;
        m_matchDepth = 0;
        m_current.contentEnd = std::max(tagBegin, m_current.contentBegin);
        m_current.end = std::max(tagEnd, m_current.contentEnd);
        found.push_back(m_current);
        return !m_firstOnly;
    }

    Vector<Span> found;

private:
    const std::string& m_name;
    bool m_firstOnly;
    int m_matchDepth = 0;
    Span m_current;
};

// Reads one attribute of the first element, then stops.
class AttributeReader : public ElementListener {
public:
    explicit AttributeReader(const std::string& name) : m_name(name) {}

    bool start(const char*, const char** attributes, int, std::size_t, std::size_t) override
    {
        for (const char** a = attributes; a && a[0]; a += 2)
            if (m_name == a[0]) {
                value = a[1];
                found = true;
                break;
            }
        return false;
    }

    bool end(int, std::size_t, std::size_t) override { return false; }

    bool found = false;
    std::string value;

private:
    const std::string& m_name;
};

// The matching elements; raises when the parser meets an error before the answer is
// complete (any error for all matches, an error before the first match for one).
Vector<Span> collect(const std::string& name, const std::string& text, bool firstOnly, const char* function)
{
    ElementCollector collector(name, firstOnly);
    if (name.empty())
        return {};
    FragmentParser parser(text, collector);
    if (!parser.run() && (!firstOnly || collector.found.empty()))
        raiseMalformed(parser.error(), function);
    return std::move(collector.found);
}

} // namespace

bool XmlUtils::IsName(const std::string& name, bool qualified) noexcept
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
    const std::size_t length = name.size();
    std::size_t colons = 0;
    bool ascii = true;
    for (std::size_t i = 0; i < length;) {
        unsigned long code = bytes[i];
        std::size_t n = 1;
        if (code >= 0x80) {
            n = decodeXmlChar(bytes + i, length - i, code);
            ascii = false;
        }
        if (n == 0 || !(i == 0 ? isNameStart(code) : isNameChar(code)))
            return false;
        colons += code == ':';
        i += n;
    }
    if (length == 0 || (qualified && (colons > 1 || name.front() == ':' || name.back() == ':')))
        return false;
    try {
        return ascii || readerTakesName(name);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void XmlUtils::RequireName(const std::string& name, const EXCEPTIONS::SourceSite& site)
{
    if (IsName(name))
        return;
    // The detail shows the name's first bytes in printable ASCII, whatever bytes it holds.
    std::string shown;
    for (const unsigned char c : name.substr(0, 64)) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        shown += c >= 0x20 && c < 0x7f && c != '\\' ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    if (name.size() > 64)
        shown += "...";
    EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, site, "not an XML name: \"" + shown + '"');
}

std::string XmlUtils::ToElement(const std::string& name, const std::string& content,
                                const Vector<std::string>& attributes)
{
    RequireName(name, MOX_SITE("MOX::RT::XmlUtils::ToElement"));
    std::string out;
    out.reserve(2 * name.size() + content.size() + 5);
    out += '<';
    out += name;
    for (const std::string& attribute : attributes) {
        out += ' ';
        out += attribute;
    }
    if (content.empty())
        return out += "/>";
    out += '>';
    out += content;
    out += "</";
    out += name;
    out += '>';
    return out;
}

std::string XmlUtils::ToAttribute(const std::string& name, const std::string& value)
{
    RequireName(name, MOX_SITE("MOX::RT::XmlUtils::ToAttribute"));
    return name + "=\"" + Escape(value, true) + '"';
}

std::string XmlUtils::Escape(const std::string& text, bool forAttribute)
{
    std::string out;
    out.reserve(text.size() + 16);
    if (!AppendEscaped(out, text.data(), text.size(), forAttribute))
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::Marshal, MOX_SITE("MOX::RT::XmlUtils::Escape"),
                          "text XML 1.0 cannot carry (not UTF-8, or a control or non-character)");
    return out;
}

bool XmlUtils::AppendEscaped(std::string& out, const char* text, std::size_t length, bool forAttribute)
{
    const ByteClass* classes = kBytes.classes[forAttribute ? 1 : 0];
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const std::size_t mark = out.size();
    std::size_t run = 0; // start of the pending run of bytes copied as they are
    for (std::size_t i = 0; i < length;) {
        switch (classes[bytes[i]]) {
        case Plain:
            ++i;
            break;
        case Lead: {
            const std::size_t n = xmlCharLength(bytes + i, length - i);
            if (n == 0) {
                out.resize(mark);
                return false;
            }
            i += n;
            break;
        }
        case Reference:
            out.append(text + run, i - run);
            out.append(referenceFor(bytes[i]));
            run = ++i;
            break;
        case Refused:
            out.resize(mark);
            return false;
        }
    }
    out.append(text + run, length - run);
    return true;
}

std::string XmlUtils::GetElement(const std::string& name, const std::string& text)
{
    const Vector<Span> found = collect(name, text, true, "MOX::RT::XmlUtils::GetElement");
    if (found.empty())
        return std::string();
    return text.substr(found.front().begin, found.front().end - found.front().begin);
}

std::string XmlUtils::GetAttributeValue(const std::string& name, const std::string& element,
                                        const std::string& defaultValue)
{
    AttributeReader reader(name);
    FragmentParser parser(element, reader);
    if (!parser.run())
        raiseMalformed(parser.error(), "MOX::RT::XmlUtils::GetAttributeValue");
    return reader.found ? reader.value : defaultValue;
}

std::string XmlUtils::GetElementValue(const std::string& name, const std::string& text)
{
    const Vector<Span> found = collect(name, text, true, "MOX::RT::XmlUtils::GetElementValue");
    if (found.empty())
        return std::string();
    return text.substr(found.front().contentBegin, found.front().contentEnd - found.front().contentBegin);
}

Vector<std::string> XmlUtils::getElements(const std::string& name, const std::string& text)
{
    Vector<std::string> result;
    for (const Span& span : collect(name, text, false, "MOX::RT::XmlUtils::getElements"))
        result.push_back(text.substr(span.begin, span.end - span.begin));
    return result;
}

bool XmlUtils::IsXML(const std::string& text) noexcept
{
    const std::size_t first = text.find_first_not_of(" \t\n\v\f\r");
    return first != std::string::npos && text[first] == '<';
}

} // namespace RT
} // namespace MOX
