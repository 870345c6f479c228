#include <mox/rt/XmlUtils.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include <expat.h>

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

    void run()
    {
        XML_Parser parser = XML_ParserCreate("UTF-8");
        if (parser == nullptr)
            return;
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
    }

private:
    bool feed(const char* data, std::size_t length, bool final)
    {
        return XML_Parse(m_parser, data, static_cast<int>(length), final) == XML_STATUS_OK;
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
        self->m_stopped = true;
        self->stop();
    }

    const std::string& m_text;
    ElementListener& m_listener;
    std::size_t m_body;
    XML_Parser m_parser = nullptr;
    int m_depth = 0;
    bool m_stopped = false;
};

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

Vector<Span> collect(const std::string& name, const std::string& text, bool firstOnly)
{
    ElementCollector collector(name, firstOnly);
    if (!name.empty())
        FragmentParser(text, collector).run();
    return std::move(collector.found);
}

} // namespace

std::string XmlUtils::ToElement(const std::string& name, const std::string& content,
                                const Vector<std::string>& attributes)
{
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
    return name + "=\"" + Escape(value, true) + '"';
}

std::string XmlUtils::Escape(const std::string& text, bool forAttribute)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const char* reference = nullptr;
        switch (c) {
        case '&': reference = "&amp;"; break;
        case '<': reference = "&lt;"; break;
        case '>': reference = "&gt;"; break;
        // Attribute values are normalised on reading: quotes would end the value and
        // raw white space would turn into spaces, so they go as references.
        case '"': reference = forAttribute ? "&quot;" : nullptr; break;
        case '\t': reference = forAttribute ? "&#9;" : nullptr; break;
        case '\n': reference = forAttribute ? "&#10;" : nullptr; break;
        case '\r': reference = forAttribute ? "&#13;" : nullptr; break;
        default: break;
        }
        if (reference)
            out += reference;
        else
            out += c;
    }
    return out;
}

std::string XmlUtils::GetElement(const std::string& name, const std::string& text)
{
    const Vector<Span> found = collect(name, text, true);
    if (found.empty())
        return std::string();
    return text.substr(found.front().begin, found.front().end - found.front().begin);
}

std::string XmlUtils::GetAttributeValue(const std::string& name, const std::string& element,
                                        const std::string& defaultValue)
{
    AttributeReader reader(name);
    FragmentParser(element, reader).run();
    return reader.found ? reader.value : defaultValue;
}

std::string XmlUtils::GetElementValue(const std::string& name, const std::string& text)
{
    const Vector<Span> found = collect(name, text, true);
    if (found.empty())
        return std::string();
    return text.substr(found.front().contentBegin, found.front().contentEnd - found.front().contentBegin);
}

Vector<std::string> XmlUtils::getElements(const std::string& name, const std::string& text)
{
    Vector<std::string> result;
    for (const Span& span : collect(name, text, false))
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
