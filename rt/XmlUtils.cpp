// SPDX-License-Identifier: MIT
#include <mox/rt/XmlUtils.h>
#include <mox/rt/Raise.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include <expat.h>

#include "xmlinput/XmlFeeder.h"
#include "xmlinput/XmlSpace.h"

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

constexpr const char kBom[] = "\xEF\xBB\xBF";

bool startsWith(const std::string& text, std::size_t pos, const char* prefix)
{
    return text.compare(pos, std::strlen(prefix), prefix) == 0;
}

// Where the fragment proper starts: after its prolog, the leading byte-order marks and
// an XML declaration right after them. The prolog goes to the parser before the wrapper
// element, as at the start of a document, so that the parser treats it as it treats a
// document's (one mark is skipped, a second refused, the declaration honoured). A
// declaration anywhere else (after white space, or not closed) stays in the fragment,
// where the parser refuses it.
std::size_t bodyStart(const std::string& text)
{
    std::size_t pos = 0;
    while (startsWith(text, pos, kBom))
        pos += 3;
    if (startsWith(text, pos, "<?xml") && pos + 5 < text.size() && (isXmlSpace(text[pos + 5]) || text[pos + 5] == '?')) {
        const std::size_t close = text.find("?>", pos + 5);
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

// One pass of the shared feeder over a fragment, turning the feeder's offsets into
// offsets of the caller's text.
class FragmentParser : private XmlFeeder::Events {
public:
    FragmentParser(const std::string& text, ElementListener& listener)
        : m_text(text), m_listener(listener), m_body(bodyStart(text)), m_feeder(*this, fragmentLimits())
    {
    }

    // Parses the fragment; false when the feed failed (see error()) before a listener
    // stopped it.
    bool run()
    {
        const auto open = XmlFeeder::Outcome::Open;
        if (m_feeder.feedText(m_text.data(), m_body, false) == open && m_feeder.feedText(kOpen, kOpenLength, false) == open &&
            m_feeder.feedText(m_text.data() + m_body, m_text.size() - m_body, false) == open)
            m_feeder.feedText(kClose, sizeof kClose - 1, true);
        if (!m_stopped)
            m_error = m_feeder.message();
        return m_error.empty();
    }

    // The feeder's wording of the failure; "" when the parse succeeded or a listener
    // stopped it.
    const std::string& error() const noexcept { return m_error; }

private:
    // The documents' limits, one level deeper for the wrapper element.
    static XmlFeeder::Limits fragmentLimits() noexcept
    {
        XmlFeeder::Limits limits;
        ++limits.maxDepth;
        return limits;
    }

    // Offset in the caller's text of the feeder's offset `index` (the wrapper's start tag
    // follows the prolog), clamped into the text.
    std::size_t offset(std::size_t index) const
    {
        if (index <= m_body)
            return index;
        if (index < m_body + kOpenLength)
            return m_body;
        return std::min(index - kOpenLength, m_text.size());
    }

    void onStart(const char* name, const char** attributes) override
    {
        const int depth = m_feeder.depth() - 1; // the wrapper is not reported
        if (depth == 0)
            return;
        const std::size_t index = m_feeder.eventOffset();
        if (!m_listener.start(name, attributes, depth, offset(index), offset(index + m_feeder.eventLength())))
            stop();
    }

    void onEnd() override
    {
        const int depth = m_feeder.depth() - 1;
        if (depth == 0)
            return;
        const std::size_t index = m_feeder.eventOffset();
        if (!m_listener.end(depth, offset(index), offset(index + m_feeder.eventLength())))
            stop();
    }

    void onText(const char*, int) override {}

    void stop()
    {
        m_stopped = true;
        m_feeder.abort();
    }

    const std::string& m_text;
    ElementListener& m_listener;
    std::size_t m_body;
    XmlFeeder m_feeder;
    bool m_stopped = false;
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
    if (attributes.size() > XmlFeeder::Limits().maxAttributes)
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::Marshal, MOX_SITE("MOX::RT::XmlUtils::ToElement"),
                          "more attributes than a reader accepts on one element");
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
    if (value.size() > XmlFeeder::Limits().maxTextBytes)
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::Marshal, MOX_SITE("MOX::RT::XmlUtils::ToAttribute"),
                          "a value longer than a reader accepts");
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

std::string XmlUtils::Enclose(const std::string& name, const std::string& fragment)
{
    const std::size_t body = bodyStart(fragment);
    return fragment.substr(0, body) + ToElement(name, fragment.substr(body));
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
    std::size_t first = 0;
    while (startsWith(text, first, kBom))
        first += 3;
    first = text.find_first_not_of(" \t\n\v\f\r", first);
    return first != std::string::npos && text[first] == '<';
}

} // namespace RT
} // namespace MOX
