// SPDX-License-Identifier: MIT
#include "services/serialization/manager/impl/ParserAdapter.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "services/serialization/manager/XBType.h"

namespace MOX {
namespace XB {

namespace {

// The name without its prefix (the part after the first colon).
const char* localName(const char* name) noexcept
{
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

// Equality of a described name and a name from expat, without measuring either first.
bool sameName(const std::string& described, const char* name) noexcept
{
    return std::strcmp(described.c_str(), name) == 0;
}

// xsi: attributes and namespace declarations are accepted on every element and ignored.
bool isIgnoredAttribute(const char* name) noexcept
{
    if (name[0] != 'x')
        return false; // the common case, decided without a library call
    if (std::strncmp(name, "xsi:", 4) == 0)
        return true;
    return std::strncmp(name, "xmlns", 5) == 0 && (name[5] == '\0' || name[5] == ':');
}

// An in-memory text is handed to expat in pieces of this size, so that expat copies
// only a piece at a time into its buffer, never the whole text.
constexpr std::size_t kPiece = 64 * 1024;
// A stream is read in chunks of this size into expat's own buffer.
constexpr std::size_t kChunk = 2048;

constexpr std::size_t kTextReserve = 1024;

// One parser kept per thread between decodes and reset for the next one, so that small
// documents do not pay for making a parser (expat allocates its buffers and tables).
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
    // Keeps `parser` for the thread's next decode (frees it when one is kept already).
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

ParserAdapter::ParserAdapter(std::istream& input, const DecodeLimits& limits)
    : ParserAdapter(nullptr, 0, limits)
{
    m_input = &input;
}

ParserAdapter::ParserAdapter(const char* data, std::size_t size, const DecodeLimits& limits)
    : m_data(data != nullptr ? data : ""), m_size(size), m_limits(limits)
{
    // No namespace processing: names arrive as written, prefixes included.
    m_parser = t_parsers.take();
    if (m_parser == nullptr)
        return;
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, &onStart, &onEnd);
    XML_SetCharacterDataHandler(m_parser, &onCharacters);
    XML_SetCdataSectionHandler(m_parser, &onCDataStart, &onCDataEnd);
    // No document type declarations: nothing can declare entities or load a DTD.
    // expat's billion-laughs protection stays at its defaults.
    XML_SetStartDoctypeDeclHandler(m_parser, &onDoctype);
    XML_SetParamEntityParsing(m_parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

ParserAdapter::~ParserAdapter()
{
    if (m_parser != nullptr)
        t_parsers.give(m_parser);
}

int ParserAdapter::run(ErrorRecord& errors, const std::string& rootName, const XBType& type, void* object)
{
    if (m_parser == nullptr) {
        if (!errors.failed())
            errors.record(XB_NOT_INITIALISED);
        return errors.status();
    }
    m_errors = &errors;
    m_rootName = &rootName;
    m_rootType = &type;
    m_rootObject = object;
    m_depth = 0;
    m_skipLevel = 0;
    m_finished = false;
    m_text.reserve(kTextReserve);

    const XML_Status status = m_input != nullptr ? parseStream() : parseMemory();

    // XML_ERROR_ABORTED is our own stop after a fatal error, already recorded.
    if (status == XML_STATUS_ERROR && XML_GetErrorCode(m_parser) != XML_ERROR_ABORTED)
        syntaxError();

    t_parsers.give(m_parser);
    m_parser = nullptr;
    m_errors = nullptr;
    m_frames.clear();
    m_text.clear();
    m_text.shrink_to_fit();
    return errors.failed() ? errors.status() : XB_OK;
}

XML_Status ParserAdapter::parseMemory()
{
    const char* next = m_data;
    std::size_t left = m_size;
    XML_Status status;
    std::size_t piece;
    do {
        piece = left < kPiece ? left : kPiece;
        status = XML_Parse(m_parser, next, static_cast<int>(piece), piece == left ? XML_TRUE : XML_FALSE);
        next += piece;
        left -= piece;
    } while (status == XML_STATUS_OK && left > 0 && !quietTooLong(piece));
    return status;
}

XML_Status ParserAdapter::parseStream()
{
    char chunk[kChunk];
    std::size_t total = 0;
    XML_Status status = XML_STATUS_OK;
    for (bool last = false; status == XML_STATUS_OK && !last;) {
        m_input->read(chunk, kChunk);
        const std::size_t got = static_cast<std::size_t>(m_input->gcount());
        if (m_input->bad()) {
            fatal(XB_READ_FAILED, {});
            return XML_STATUS_ERROR;
        }
        last = got == 0;
        if (!last) {
            void* buffer = XML_GetBuffer(m_parser, static_cast<int>(got));
            if (buffer == nullptr) {
                fatal(XB_NOT_INITIALISED, {});
                return XML_STATUS_ERROR;
            }
            std::memcpy(buffer, chunk, got);
        }
        // The final read of 0 bytes: expat is told that the input ends.
        status = last ? XML_Parse(m_parser, chunk, 0, XML_TRUE) : XML_ParseBuffer(m_parser, static_cast<int>(got), XML_FALSE);
        total += got;
        if (m_finished)
            keepRest(chunk, got, total - got);
        else if (status == XML_STATUS_OK && quietTooLong(got))
            break;
    }
    return status;
}

bool ParserAdapter::quietTooLong(std::size_t fed) noexcept
{
    m_quiet = m_event ? 0 : m_quiet + fed;
    m_event = false;
    if (m_quiet <= m_limits.maxTextBytes)
        return false;
    fatal(XB_LIMIT_EXCEEDED, {"text", std::to_string(m_limits.maxTextBytes)});
    return true;
}

void ParserAdapter::keepRest(const char* chunk, std::size_t size, std::size_t chunkStart)
{
    std::size_t from = m_rootEnd > chunkStart ? m_rootEnd - chunkStart : 0;
    while (from < size && (chunk[from] == ' ' || chunk[from] == '\t' || chunk[from] == '\n' || chunk[from] == '\r'))
        ++from;
    if (from >= size)
        return;
    const auto back = static_cast<std::streamoff>(size - from);
    m_input->clear();
    if (m_input->seekg(-back, std::ios_base::cur))
        return;
    m_input->clear();
    std::streambuf* buffer = m_input->rdbuf();
    for (std::size_t i = size; i > from; --i)
        if (buffer == nullptr || buffer->sputbackc(chunk[i - 1]) == std::char_traits<char>::eof())
            return;
}

bool ParserAdapter::active() const noexcept
{
    // Only this adapter stops the parser, and each stop first sets one of these two, so
    // they say all that expat's parsing status would (without a call per event).
    return !m_finished && m_skipLevel >= 0;
}

void XMLCALL ParserAdapter::onStart(void* self, const XML_Char* name, const XML_Char** attributes)
{
    auto* adapter = static_cast<ParserAdapter*>(self);
    adapter->m_event = true;
    if (adapter->active())
        adapter->startElement(name, attributes);
}

void XMLCALL ParserAdapter::onEnd(void* self, const XML_Char*)
{
    auto* adapter = static_cast<ParserAdapter*>(self);
    if (adapter->active())
        adapter->endElement();
}

void XMLCALL ParserAdapter::onCharacters(void* self, const XML_Char* text, int length)
{
    auto* adapter = static_cast<ParserAdapter*>(self);
    adapter->m_event = true;
    if (adapter->active())
        adapter->characters(text, length);
}

void XMLCALL ParserAdapter::onCDataStart(void* self)
{
    auto* adapter = static_cast<ParserAdapter*>(self);
    if (adapter->active())
        adapter->m_inCData = true;
}

void XMLCALL ParserAdapter::onCDataEnd(void*) {}

void XMLCALL ParserAdapter::onDoctype(void* self, const XML_Char* name, const XML_Char*, const XML_Char*, int)
{
    auto* adapter = static_cast<ParserAdapter*>(self);
    if (adapter->active())
        adapter->fatal(XB_FORBIDDEN_MARKUP, {std::string("DOCTYPE ") + name});
}

void ParserAdapter::startElement(const char* name, const char** attributes)
{
    ++m_depth;
    if (m_depth > m_limits.maxDepth) {
        fatal(XB_LIMIT_EXCEEDED, {"depth", std::to_string(m_limits.maxDepth)});
        return;
    }
    if (m_skipLevel > 0)
        return; // inside an element being skipped
    const char* local = localName(name);

    if (m_frames.empty()) {
        // The root: the only handler with an expected name; a mismatch is recorded and
        // decoding goes on.
        if (!m_rootName->empty() && !sameName(*m_rootName, local))
            record(XB_ELEMENT_MISMATCH, {*m_rootName, name});
        m_frames.push_back(Frame{m_rootType, m_rootObject});
        readAttributes(*m_rootType, m_rootObject, attributes);
        if (m_rootType->hasText())
            m_text.clear();
        return;
    }

    const Frame parent = m_frames.back();
    const XBType& type = *parent.type;
    const XBType* childType = nullptr;
    void* child = nullptr;

    // The number of the alternative of `choiceType` named `local`, or 0.
    auto findAlternative = [&](const XBType& choiceType) -> std::size_t {
        const auto& alternatives = choiceType.alternatives();
        for (std::size_t i = 0; i < alternatives.size(); ++i)
            if (sameName(alternatives[i].name, local))
                return i + 1;
        return 0;
    };
    // Chooses alternative `number` of `choiceType` in the choice `choiceObject`.
    auto choose = [&](const XBType& choiceType, void* choiceObject, std::size_t number) {
        const XBType::Alternative& alternative = choiceType.alternatives()[number - 1];
        XBChoice& choice = choiceType.choiceOf(choiceObject);
        choice.set(static_cast<int>(number), std::unique_ptr<XBObject>(alternative.make()));
        childType = &alternative.typeOf();
        child = childType->objectOf(*choice.u);
    };

    if (type.kind() == XBType::Kind::Choice) {
        // A choice with an element of its own holds exactly one alternative.
        if (type.choiceOf(parent.object).t == 0)
            if (const std::size_t number = findAlternative(type))
                choose(type, parent.object, number);
    } else if (!type.hasText()) {
        for (const XBType::Child& binding : type.children()) {
            if (binding.kind == XBType::ChildKind::Items) {
                const XBType& itemType = binding.type();
                const std::size_t number = findAlternative(itemType);
                if (number == 0)
                    continue;
                choose(itemType, binding.append(parent.object), number);
                break;
            }
            if (sameName(binding.name, local)) {
                child = binding.append(parent.object); // null: no second single child
                childType = child ? &binding.type() : nullptr;
                break;
            }
        }
    }

    if (child == nullptr) {
        // Unknown here (also any child of a text or attribute-only element): recorded
        // and skipped with its whole content.
        record(XB_UNEXPECTED_ELEMENT, {name});
        if (m_skipLevel == 0)
            m_skipLevel = m_depth;
        return;
    }
    m_frames.push_back(Frame{childType, child});
    readAttributes(*childType, child, attributes);
    if (childType->hasText())
        m_text.clear();
}

void ParserAdapter::readAttributes(const XBType& type, void* object, const char** attributes)
{
    const auto& declared = type.attributes();
    std::uint64_t seen = 0;
    std::size_t next = 0;
    for (std::size_t i = 0; attributes[i] != nullptr && m_skipLevel >= 0; i += 2) {
        const char* name = attributes[i];
        const char* value = attributes[i + 1];
        const std::size_t length = std::strlen(value);
        if (i / 2 >= m_limits.maxAttributes || length > m_limits.maxTextBytes) {
            if (i / 2 >= m_limits.maxAttributes)
                fatal(XB_LIMIT_EXCEEDED, {"attributes", std::to_string(m_limits.maxAttributes)});
            else
                fatal(XB_LIMIT_EXCEEDED, {"text", std::to_string(m_limits.maxTextBytes)});
            return;
        }
        if (isIgnoredAttribute(name))
            continue;
        // Writers put attributes in their declared order, so the search starts after the
        // previous match and usually ends at its first comparison.
        std::size_t index = declared.size();
        for (std::size_t tried = 0; tried < declared.size(); ++tried, ++next) {
            if (next == declared.size())
                next = 0;
            if (sameName(declared[next].name, name)) {
                index = next++;
                break;
            }
        }
        if (index == declared.size()) {
            record(XB_INVALID_ATTRIBUTE, {type.typeName(), name});
            continue;
        }
        seen |= std::uint64_t(1) << index;
        if (!declared[index].read(object, value, length))
            record(XB_INVALID_VALUE, {type.typeName(), name});
    }
    for (std::size_t index = 0; index < declared.size() && m_skipLevel >= 0; ++index)
        if (declared[index].required && (seen & (std::uint64_t(1) << index)) == 0)
            record(XB_MISSING_ATTRIBUTE, {type.typeName(), declared[index].name});
}

void ParserAdapter::endElement()
{
    if (m_skipLevel > 0) {
        if (m_depth == m_skipLevel)
            m_skipLevel = 0; // the skipped element ends
        --m_depth;
        return;
    }
    const Frame frame = m_frames.back();
    m_frames.pop_back();
    if (frame.type->hasText()) {
        // White space kept; an empty element gives the empty text.
        if (!frame.type->textReader()(frame.object, m_text.data(), m_text.size()))
            record(XB_INVALID_VALUE, {frame.type->typeName(), "#text"});
        m_text.clear();
    } else if (frame.type->kind() == XBType::Kind::Choice && frame.type->choiceOf(frame.object).t == 0) {
        // A choice element holds exactly one alternative; an empty one cannot be written back.
        record(XB_MISSING_ELEMENT, {frame.type->typeName()});
    }
    if (--m_depth == 0) {
        // The root ended: stop at once; whatever follows is not read.
        m_finished = true;
        m_rootEnd = static_cast<std::size_t>(XML_GetCurrentByteIndex(m_parser) + XML_GetCurrentByteCount(m_parser));
        XML_StopParser(m_parser, XML_TRUE);
    }
}

void ParserAdapter::characters(const char* text, int length)
{
    if (m_skipLevel != 0 || m_frames.empty() || !m_frames.back().type->hasText())
        return; // text inside containers is ignored
    const std::size_t size = static_cast<std::size_t>(length);
    if (m_text.size() + size > m_limits.maxTextBytes) {
        fatal(XB_LIMIT_EXCEEDED, {"text", std::to_string(m_limits.maxTextBytes)});
        return;
    }
    m_text.append(text, size);
}

void ParserAdapter::record(int status, std::vector<std::string> parameters)
{
    m_errors->record(status, std::move(parameters));
    if (m_errors->count() >= m_limits.maxErrors && m_skipLevel >= 0) {
        m_skipLevel = -1;
        XML_StopParser(m_parser, XML_FALSE);
    }
}

void ParserAdapter::fatal(int status, std::vector<std::string> parameters)
{
    m_errors->record(status, std::move(parameters));
    m_skipLevel = -1;
    XML_StopParser(m_parser, XML_FALSE);
}

void ParserAdapter::syntaxError()
{
    const char* message = XML_ErrorString(XML_GetErrorCode(m_parser));
    if (message == nullptr)
        message = "unknown XML error";
    std::string text;
    if (std::strlen(message) > 255) {
        text = message; // the bare error string when it alone does not fit
    } else {
        char buffer[256];
        std::snprintf(buffer, sizeof buffer, "%s, line = %i, column = %i", message,
                      static_cast<int>(XML_GetCurrentLineNumber(m_parser)),
                      static_cast<int>(XML_GetCurrentColumnNumber(m_parser)));
        text = buffer;
    }
    m_errors->record(XB_XML_SYNTAX, {std::move(text)});
}

} // namespace XB
} // namespace MOX
