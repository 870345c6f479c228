// SPDX-License-Identifier: MIT
#include "xmlinput/XmlFeeder.h"

#include <cstdio>
#include <cstring>

namespace MOX {
namespace RT {

namespace {

// An in-memory text is handed to expat in pieces of this size, so that expat copies
// only a piece at a time into its buffer, never the whole text.
constexpr std::size_t kPiece = 64 * 1024;
// A stream is read in chunks of this size into expat's own buffer.
constexpr std::size_t kChunk = 2048;

// One parser kept per thread between feeds and reset for the next one, so that small
// inputs do not pay for making a parser (expat allocates its buffers and tables).
class ParserCache {
public:
    ~ParserCache()
    {
        if (m_parser != nullptr)
            XML_ParserFree(m_parser);
    }
    // A parser without namespace processing, in its initial state; null when none can be made.
    XML_Parser take() noexcept
    {
        XML_Parser parser = m_parser;
        m_parser = nullptr;
        if (parser != nullptr && XML_ParserReset(parser, nullptr) == XML_TRUE)
            return parser;
        if (parser != nullptr)
            XML_ParserFree(parser);
        return XML_ParserCreate(nullptr);
    }
    // Keeps `parser` for the thread's next feed (frees it when one is kept already).
    void give(XML_Parser parser) noexcept
    {
        if (m_parser == nullptr)
            m_parser = parser;
        else
            XML_ParserFree(parser);
    }

private:
    XML_Parser m_parser = nullptr;
};

thread_local ParserCache t_parsers;

} // namespace

XmlFeeder::XmlFeeder(Events& events, const Limits& limits) : m_events(events), m_limits(limits)
{
    // No namespace processing: names arrive as written, prefixes included.
    m_parser = t_parsers.take();
    if (m_parser == nullptr) {
        m_outcome = Outcome::NoParser;
        return;
    }
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, &XmlFeeder::onStart, &XmlFeeder::onEnd);
    XML_SetCharacterDataHandler(m_parser, &XmlFeeder::onText);
    XML_SetCdataSectionHandler(m_parser, &XmlFeeder::onCDataStart, nullptr);
    // No document type declarations: nothing can declare entities or load a DTD.
    // expat's billion-laughs protection stays at its defaults.
    XML_SetStartDoctypeDeclHandler(m_parser, &XmlFeeder::onDoctype);
    XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

XmlFeeder::~XmlFeeder()
{
    if (m_parser != nullptr)
        t_parsers.give(m_parser);
}

XmlFeeder::Outcome XmlFeeder::feedText(const char* data, std::size_t size, bool final)
{
    for (bool more = true; more && active();) {
        const std::size_t piece = size < kPiece ? size : kPiece;
        more = piece < size;
        const XML_Status status = XML_Parse(m_parser, data, static_cast<int>(piece), final && !more ? XML_TRUE : XML_FALSE);
        data += piece;
        size -= piece;
        finish(status, final && !more, piece);
    }
    return m_outcome;
}

XmlFeeder::Outcome XmlFeeder::feedStream(std::istream& input)
{
    char chunk[kChunk];
    std::size_t total = 0;
    while (active()) {
        input.read(chunk, kChunk);
        const std::size_t got = static_cast<std::size_t>(input.gcount());
        if (input.bad()) {
            m_outcome = Outcome::ReadFailed;
            break;
        }
        const bool last = got == 0;
        XML_Status status;
        if (last) {
            // The final read of 0 bytes: expat is told that the input ends.
            status = XML_Parse(m_parser, chunk, 0, XML_TRUE);
        } else {
            void* buffer = XML_GetBuffer(m_parser, static_cast<int>(got));
            if (buffer == nullptr) {
                m_outcome = Outcome::NoParser;
                break;
            }
            std::memcpy(buffer, chunk, got);
            status = XML_ParseBuffer(m_parser, static_cast<int>(got), XML_FALSE);
        }
        total += got;
        finish(status, last, got);
        if (m_rootEnded)
            keepRest(input, chunk, got, total - got);
    }
    return m_outcome;
}

void XmlFeeder::finish(XML_Status status, bool final, std::size_t fed)
{
    if (!active())
        return; // stopped by a handler: the outcome is set
    if (status == XML_STATUS_ERROR)
        syntaxError();
    else if (final)
        m_outcome = Outcome::Complete;
    else
        quietTooLong(fed);
}

bool XmlFeeder::quietTooLong(std::size_t fed) noexcept
{
    m_quiet = m_event ? 0 : m_quiet + fed;
    m_event = false;
    if (m_quiet <= m_limits.maxTextBytes)
        return false;
    refuse("text", m_limits.maxTextBytes);
    return true;
}

void XmlFeeder::keepRest(std::istream& input, const char* chunk, std::size_t size, std::size_t chunkStart)
{
    std::size_t from = m_rootEnd > chunkStart ? m_rootEnd - chunkStart : 0;
    while (from < size && (chunk[from] == ' ' || chunk[from] == '\t' || chunk[from] == '\n' || chunk[from] == '\r'))
        ++from;
    if (from >= size)
        return;
    const auto back = static_cast<std::streamoff>(size - from);
    input.clear();
    if (input.seekg(-back, std::ios_base::cur))
        return;
    input.clear();
    std::streambuf* buffer = input.rdbuf();
    for (std::size_t i = size; i > from; --i)
        if (buffer == nullptr || buffer->sputbackc(chunk[i - 1]) == std::char_traits<char>::eof())
            return;
}

void XmlFeeder::stopAtRootEnd() noexcept
{
    m_rootEnded = true;
    m_outcome = Outcome::Complete;
    m_rootEnd = eventOffset() + eventLength();
    XML_StopParser(m_parser, XML_TRUE);
}

void XmlFeeder::abort() noexcept
{
    if (!active())
        return;
    m_outcome = Outcome::Stopped;
    XML_StopParser(m_parser, XML_FALSE);
}

void XmlFeeder::refuse(const char* limit, std::size_t value) noexcept
{
    if (!active())
        return;
    m_outcome = Outcome::Limit;
    m_limitName = limit;
    m_limitValue = value;
    XML_StopParser(m_parser, XML_FALSE);
}

std::size_t XmlFeeder::eventOffset() const noexcept
{
    return static_cast<std::size_t>(XML_GetCurrentByteIndex(m_parser));
}

std::size_t XmlFeeder::eventLength() const noexcept
{
    return static_cast<std::size_t>(XML_GetCurrentByteCount(m_parser));
}

std::string XmlFeeder::message() const
{
    switch (m_outcome) {
    case Outcome::Syntax: return m_errorText;
    case Outcome::Forbidden: return "forbidden markup: " + m_errorText;
    case Outcome::Limit:
        return std::string("document limit exceeded: ") + m_limitName + " (maximum " + std::to_string(m_limitValue) + ")";
    case Outcome::ReadFailed: return "input stream read failed";
    case Outcome::NoParser: return "no XML parser could be made";
    default: return std::string();
    }
}

bool XmlFeeder::checkAttributes(const char** attributes) noexcept
{
    for (std::size_t i = 0; attributes[i] != nullptr; i += 2) {
        if (i / 2 >= m_limits.maxAttributes) {
            refuse("attributes", m_limits.maxAttributes);
            return false;
        }
        if (std::strlen(attributes[i + 1]) > m_limits.maxTextBytes) {
            refuse("text", m_limits.maxTextBytes);
            return false;
        }
    }
    return true;
}

void XMLCALL XmlFeeder::onStart(void* self, const XML_Char* name, const XML_Char** attributes)
{
    auto* feeder = static_cast<XmlFeeder*>(self);
    feeder->m_event = true;
    if (!feeder->active())
        return;
    if (++feeder->m_depth > feeder->m_limits.maxDepth) {
        feeder->refuse("depth", static_cast<std::size_t>(feeder->m_limits.maxDepth));
        return;
    }
    if (feeder->checkAttributes(attributes))
        feeder->m_events.onStart(name, attributes);
}

void XMLCALL XmlFeeder::onEnd(void* self, const XML_Char*)
{
    auto* feeder = static_cast<XmlFeeder*>(self);
    if (!feeder->active())
        return;
    feeder->m_events.onEnd();
    --feeder->m_depth;
}

void XMLCALL XmlFeeder::onText(void* self, const XML_Char* text, int length)
{
    auto* feeder = static_cast<XmlFeeder*>(self);
    feeder->m_event = true;
    if (feeder->active())
        feeder->m_events.onText(text, length);
}

void XMLCALL XmlFeeder::onCDataStart(void* self)
{
    auto* feeder = static_cast<XmlFeeder*>(self);
    if (feeder->active())
        feeder->m_events.onCDataStart();
}

void XMLCALL XmlFeeder::onDoctype(void* self, const XML_Char* name, const XML_Char*, const XML_Char*, int)
{
    auto* feeder = static_cast<XmlFeeder*>(self);
    if (!feeder->active())
        return;
    feeder->m_outcome = Outcome::Forbidden;
    feeder->m_errorText = std::string("DOCTYPE ") + name;
    XML_StopParser(feeder->m_parser, XML_FALSE);
}

void XmlFeeder::syntaxError()
{
    // XML_ERROR_ABORTED is a stop of our own, whose outcome is already set.
    if (XML_GetErrorCode(m_parser) == XML_ERROR_ABORTED)
        return;
    const char* message = XML_ErrorString(XML_GetErrorCode(m_parser));
    if (message == nullptr)
        message = "unknown XML error";
    if (std::strlen(message) > 255) {
        m_errorText = message; // the bare error string when it alone does not fit
    } else {
        char buffer[256];
        std::snprintf(buffer, sizeof buffer, "%s, line = %i, column = %i", message,
                      static_cast<int>(XML_GetCurrentLineNumber(m_parser)),
                      static_cast<int>(XML_GetCurrentColumnNumber(m_parser)));
        m_errorText = buffer;
    }
    m_outcome = Outcome::Syntax;
}

} // namespace RT
} // namespace MOX
