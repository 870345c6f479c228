// SPDX-License-Identifier: MIT
#include "xmlinput/XmlFeeder.h"
#include "xmlinput/StreamInput.h"
#include "xmlinput/XmlSpace.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <strings.h>
#include <sys/random.h>

namespace MOX {
namespace RT {

namespace {

// An in-memory text is handed to expat in pieces of this size, so that expat copies
// only a piece at a time into its buffer, never the whole text.
constexpr std::size_t kPiece = 64 * 1024;
// A stream is read in chunks of this size (or what its buffer holds, when less).
constexpr std::size_t kChunk = 2048;
// The longest piece handed to expat at once (its lengths are ints).
constexpr std::size_t kMaxPiece = std::size_t(1) << 30;

// Document text is UTF-8: the parser reads every input as UTF-8 (a UTF-8 byte-order
// mark is skipped) and a declaration naming another encoding is refused.
constexpr const char* kEncoding = "UTF-8";

// The number of white-space bytes that `text` starts with.
std::size_t skipSpace(const char* text, std::size_t size) noexcept
{
    std::size_t n = 0;
    while (n < size && isXmlSpace(text[n]))
        ++n;
    return n;
}

// A random hash salt for the thread's parsers, drawn once; 0 (expat then draws its own
// per parse) when no random bytes can be had.
unsigned long drawSalt() noexcept
{
    unsigned long salt = 0;
    if (getrandom(&salt, sizeof salt, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof salt))
        return 0;
    return salt;
}

// One parser kept per thread between feeds and reset for the next one, so that small
// inputs do not pay for making a parser (expat allocates its buffers and tables).
// Its hash salt is drawn once per thread: expat would otherwise draw one from the system
// for every document (a system call and an environment lookup), and a salt kept secret
// for the thread's life protects the hash tables as well.
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
        if (parser != nullptr && XML_ParserReset(parser, kEncoding) != XML_TRUE) {
            XML_ParserFree(parser);
            parser = nullptr;
        }
        if (parser == nullptr)
            parser = XML_ParserCreate(kEncoding);
        if (parser != nullptr && m_salt != 0)
            XML_SetHashSalt(parser, m_salt);
        return parser;
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
    unsigned long m_salt = drawSalt();
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
    XML_SetXmlDeclHandler(m_parser, &XmlFeeder::onDeclaration);
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
        // After a piece that ended inside a token, the next one is twice as long as that
        // token so far: expat scans an unfinished token again on every call, and so
        // scans each byte a bounded number of times.
        const std::size_t want = std::min(std::max(kPiece, 4 * m_quiet), kMaxPiece);
        const std::size_t piece = std::min(size, want);
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
    if (!active())
        return m_outcome;
    StreamInput source(input);
    if (!source.usable())
        return m_outcome = Outcome::ReadFailed;
    std::size_t fed = 0; // bytes fed before the current piece
    while (active()) {
        // One read normally (a complete document must not wait for more input); after a
        // piece that ended inside a token, twice as much as that token so far (see
        // feedText). The bytes go straight into the parser's buffer, where they stay
        // until the next piece, so that what follows the root can be given back.
        const std::size_t want = std::min(std::max(kChunk, 4 * m_quiet), kMaxPiece);
        auto* piece = static_cast<char*>(XML_GetBuffer(m_parser, static_cast<int>(want)));
        if (piece == nullptr)
            return m_outcome = Outcome::NoParser;
        bool end = false;
        const std::size_t got = gather(source, piece, want, m_quiet > 0, fed == 0 && source.follows(), end);
        if (got == kReadFailed)
            return m_outcome = Outcome::ReadFailed;
        finish(XML_ParseBuffer(m_parser, static_cast<int>(got), end ? XML_TRUE : XML_FALSE), end, got);
        if (m_rootEnded)
            giveBackRest(source, piece, got, m_rootEnd - fed);
        fed += got;
    }
    return m_outcome;
}

std::size_t XmlFeeder::gather(StreamInput& source, char* piece, std::size_t want, bool fill, bool separator, bool& end)
{
    std::size_t got = 0;
    while (!end && (got == 0 || (fill && got < want))) {
        const long n = source.read(piece + got, want - got);
        if (n < 0)
            return kReadFailed;
        end = n == 0;
        got += static_cast<std::size_t>(n);
        if (separator && got > 0) {
            // White space between a document and the next is not fed.
            const std::size_t space = skipSpace(piece, got);
            std::memmove(piece, piece + space, got - space);
            got -= space;
            separator = got == 0;
        }
    }
    return got;
}

void XmlFeeder::giveBackRest(StreamInput& source, const char* piece, std::size_t size, std::size_t rootEnd)
{
    // The root's end tag lies in this piece; white space right after it is dropped.
    const std::size_t from = std::min(rootEnd, size);
    const std::size_t rest = from + skipSpace(piece + from, size - from);
    source.giveBack(piece + rest, size - rest);
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
    // A value is never longer than the tag's bytes (references and normalisation only
    // shrink it), so only a tag longer than the limit needs its values measured.
    const bool measure = eventLength() > m_limits.maxTextBytes;
    for (std::size_t i = 0; attributes[i] != nullptr; i += 2) {
        if (i / 2 >= m_limits.maxAttributes) {
            refuse("attributes", m_limits.maxAttributes);
            return false;
        }
        if (measure && std::strlen(attributes[i + 1]) > m_limits.maxTextBytes) {
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
    feeder->m_run = 0;
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
    feeder->m_run = 0;
    feeder->m_events.onEnd();
    --feeder->m_depth;
}

void XMLCALL XmlFeeder::onText(void* self, const XML_Char* text, int length)
{
    auto* feeder = static_cast<XmlFeeder*>(self);
    feeder->m_event = true;
    if (!feeder->active())
        return;
    // Any run of text counts, also text that no reader keeps.
    feeder->m_run += static_cast<std::size_t>(length);
    if (feeder->m_run > feeder->m_limits.maxTextBytes)
        feeder->refuse("text", feeder->m_limits.maxTextBytes);
    else
        feeder->m_events.onText(text, length);
}

void XMLCALL XmlFeeder::onCDataStart(void* self)
{
    auto* feeder = static_cast<XmlFeeder*>(self);
    if (feeder->active())
        feeder->m_events.onCDataStart();
}

void XMLCALL XmlFeeder::onDeclaration(void* self, const XML_Char*, const XML_Char* encoding, int)
{
    auto* feeder = static_cast<XmlFeeder*>(self);
    if (encoding != nullptr && strcasecmp(encoding, kEncoding) != 0)
        feeder->forbid(std::string("encoding ") + encoding);
}

void XMLCALL XmlFeeder::onDoctype(void* self, const XML_Char* name, const XML_Char*, const XML_Char*, int)
{
    static_cast<XmlFeeder*>(self)->forbid(std::string("DOCTYPE ") + name);
}

void XmlFeeder::forbid(std::string found)
{
    if (!active())
        return;
    m_outcome = Outcome::Forbidden;
    m_errorText = std::move(found);
    XML_StopParser(m_parser, XML_FALSE);
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
