// SPDX-License-Identifier: MIT
#include "services/serialization/manager/impl/ParserAdapter.h"

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

// Equality of a described name and a name from expat, inline and without measuring the
// name from expat: the first differing byte (its terminator included) ends the loop, so
// most mismatches cost one comparison.
inline bool sameName(const std::string& described, const char* name) noexcept
{
    const char* expected = described.data();
    const std::size_t size = described.size();
    for (std::size_t i = 0; i < size; ++i)
        if (expected[i] != name[i])
            return false;
    return name[size] == '\0';
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

// Each decode reserves its own text buffer, of this size. It is beyond the allocator's
// per-thread caches on purpose: with glibc such a request first merges the small blocks
// freed since the last one (typically a previous result's), so that the result being
// built gets contiguous memory instead of those scattered blocks, fetching each of which
// cost a cache miss (a third of the time of reading 100k identities).
constexpr std::size_t kTextReserve = 4096;

// The element readers of the runtime read under the feeder's own defaults: they must
// be the documents' defaults.
static_assert(DecodeLimits{}.maxDepth == RT::XmlFeeder::Limits{}.maxDepth &&
                  DecodeLimits{}.maxTextBytes == RT::XmlFeeder::Limits{}.maxTextBytes &&
                  DecodeLimits{}.maxAttributes == RT::XmlFeeder::Limits{}.maxAttributes,
              "the runtime's element readers and the documents share one set of limits");

// The shared feeder limits for a document's limits.
RT::XmlFeeder::Limits feederLimits(const DecodeLimits& limits) noexcept
{
    RT::XmlFeeder::Limits result;
    result.maxDepth = limits.maxDepth;
    result.maxTextBytes = limits.maxTextBytes;
    result.maxAttributes = limits.maxAttributes;
    return result;
}

} // namespace

ParserAdapter::ParserAdapter(std::istream& input, const DecodeLimits& limits)
    : ParserAdapter(nullptr, 0, limits)
{
    m_input = &input;
}

ParserAdapter::ParserAdapter(const char* data, std::size_t size, const DecodeLimits& limits)
    : m_feeder(new RT::XmlFeeder(*this, feederLimits(limits))), m_data(data != nullptr ? data : ""),
      m_size(size), m_limits(limits)
{
}

ParserAdapter::~ParserAdapter() = default;

int ParserAdapter::run(ErrorRecord& errors, const std::string& rootName, const XBType& type, void* object)
{
    if (!initialised()) {
        if (!errors.failed())
            errors.record(XB_NOT_INITIALISED);
        return errors.status();
    }
    m_errors = &errors;
    m_rootName = &rootName;
    m_rootType = &type;
    m_rootObject = object;
    m_skipLevel = 0;
    m_text.reserve(kTextReserve);

    recordOutcome(m_input != nullptr ? m_feeder->feedStream(*m_input) : m_feeder->feedText(m_data, m_size, true));

    m_feeder.reset(); // one decode per buffer
    m_errors = nullptr;
    m_frames.clear();
    std::string().swap(m_text);
    return errors.failed() ? errors.status() : XB_OK;
}

void ParserAdapter::recordOutcome(RT::XmlFeeder::Outcome outcome)
{
    using Outcome = RT::XmlFeeder::Outcome;
    switch (outcome) {
    case Outcome::Syntax: m_errors->record(XB_XML_SYNTAX, {m_feeder->errorText()}); break;
    case Outcome::Forbidden: m_errors->record(XB_FORBIDDEN_MARKUP, {m_feeder->errorText()}); break;
    case Outcome::Limit:
        m_errors->record(XB_LIMIT_EXCEEDED, {m_feeder->limitName(), std::to_string(m_feeder->limitValue())});
        break;
    case Outcome::ReadFailed: m_errors->record(XB_READ_FAILED); break;
    case Outcome::NoParser: m_errors->record(XB_NOT_INITIALISED); break;
    default: break; // complete, or stopped after recording enough errors
    }
}

void ParserAdapter::onStart(const char* name, const char** attributes)
{
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
        // A streamed item whose reset keeps its object (see resetItem) hands it on: an
        // object of the alternative's class serves again, and one of another class waits
        // among the spares for its next turn, so alternating items allocate nothing.
        if (!choice.u || &choice.u->xbType() != &alternative.typeOf()) {
            std::unique_ptr<XBObject> previous = std::move(choice.u);
            for (auto& spare : m_spares)
                if (spare && &spare->xbType() == &alternative.typeOf()) {
                    choice.u = std::move(spare);
                    break;
                }
            if (!choice.u)
                choice.u.reset(alternative.make());
            if (previous)
                keepSpare(std::move(previous));
        }
        choice.t = static_cast<int>(number);
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
            m_skipLevel = m_feeder->depth();
        return;
    }
    m_frames.push_back(Frame{childType, child});
    readAttributes(*childType, child, attributes);
    if (childType->hasText())
        m_text.clear();
}

void ParserAdapter::keepSpare(std::unique_ptr<XBObject> object)
{
    for (auto& spare : m_spares)
        if (!spare) {
            spare = std::move(object);
            return;
        }
    m_spares.push_back(std::move(object));
}

void ParserAdapter::readAttributes(const XBType& type, void* object, const char** attributes)
{
    const auto& declared = type.attributes();
    std::uint64_t seen = 0;
    std::size_t next = 0;
    for (std::size_t i = 0; attributes[i] != nullptr && m_skipLevel >= 0; i += 2) {
        const char* name = attributes[i];
        const char* value = attributes[i + 1];
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
        if (!declared[index].read(object, value, std::strlen(value)))
            record(XB_INVALID_VALUE, {type.typeName(), name});
    }
    for (std::size_t index = 0; index < declared.size() && m_skipLevel >= 0; ++index)
        if (declared[index].required && (seen & (std::uint64_t(1) << index)) == 0)
            record(XB_MISSING_ATTRIBUTE, {type.typeName(), declared[index].name});
}

void ParserAdapter::onEnd()
{
    const int depth = m_feeder->depth();
    if (m_skipLevel > 0) {
        if (depth == m_skipLevel)
            m_skipLevel = 0; // the skipped element ends
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
    if (depth == 1)
        m_feeder->stopAtRootEnd(); // whatever follows is not read
}

void ParserAdapter::onText(const char* text, int length)
{
    if (m_skipLevel != 0 || m_frames.empty() || !m_frames.back().type->hasText())
        return; // text inside containers is ignored
    const std::size_t size = static_cast<std::size_t>(length);
    if (m_text.size() + size > m_limits.maxTextBytes) {
        m_feeder->refuse("text", m_limits.maxTextBytes);
        return;
    }
    m_text.append(text, size);
}

void ParserAdapter::record(int status, std::vector<std::string> parameters)
{
    m_errors->record(status, std::move(parameters));
    if (m_errors->count() >= m_limits.maxErrors && m_skipLevel >= 0) {
        m_skipLevel = -1;
        m_feeder->abort();
    }
}

} // namespace XB
} // namespace MOX
