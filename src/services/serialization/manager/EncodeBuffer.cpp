// SPDX-License-Identifier: MIT
#include <mox/xb/EncodeBuffer.h>

#include <mox/xb/DecodeBuffer.h>
#include "services/serialization/manager/XBType.h"

namespace MOX {
namespace XB {

namespace {

// The length of an escaped value once read back: each reference stands for one byte.
std::size_t unescapedLength(const char* text, std::size_t length) noexcept
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < length; ++i, ++count)
        if (text[i] == '&')
            while (i < length && text[i] != ';')
                ++i;
    return count;
}

// The generic writer: walks a schema description over a described object.
class Writer {
public:
    Writer(std::string& out, ErrorRecord& errors) : m_out(out), m_errors(errors), m_limits(DecodeLimits::defaults()) {}

    void object(const std::string& name, const XBType& type, const void* object)
    {
        if (type.kind() == XBType::Kind::Choice) {
            choice(name, type, object);
            return;
        }
        if (name.empty()) {
            children(type, object);
            return;
        }
        if (!open(name))
            return;
        attributes(type, object);
        if (type.hasText()) {
            m_out += '>';
            const std::size_t mark = m_out.size();
            if (type.textWriter()(object, m_out, false) == XBType::Unwritable) {
                m_out.resize(mark);
                m_errors.record(XB_UNWRITABLE_TEXT, {type.typeName(), "#text"});
            }
            checkLength(mark);
            endTag(name);
        } else if (!type.children().empty()) {
            m_out += '>';
            children(type, object);
            endTag(name);
        } else {
            m_out.append("/>", 2);
            --m_depth;
        }
    }

private:
    void choice(const std::string& name, const XBType& type, const void* object)
    {
        const XBChoice& choice = type.choiceOf(object);
        const auto& alternatives = type.alternatives();
        // The chosen object must be of the alternative's class, not just non-null.
        if (choice.t < 1 || static_cast<std::size_t>(choice.t) > alternatives.size() || !choice.u ||
            &choice.u->xbType() != &alternatives[choice.t - 1].typeOf()) {
            m_errors.record(XB_INVALID_CHOICE, {std::to_string(choice.t)});
            return;
        }
        const XBType::Alternative& alternative = alternatives[choice.t - 1];
        const XBType& chosen = alternative.typeOf();
        if (!name.empty()) {
            if (!open(name))
                return;
            m_out += '>';
        }
        this->object(alternative.name, chosen, chosen.objectOf(*choice.u));
        if (!name.empty())
            endTag(name);
    }

    // Writes the start of the tag `name`, one level deeper; a depth the decoder would
    // refuse is not written.
    bool open(const std::string& name)
    {
        if (m_depth >= m_limits.maxDepth) {
            m_errors.record(XB_LIMIT_EXCEEDED, {"depth", std::to_string(m_limits.maxDepth)});
            return false;
        }
        ++m_depth;
        m_out += '<';
        m_out += name;
        return true;
    }

    void attributes(const XBType& type, const void* object)
    {
        std::size_t count = 0;
        for (const XBType::Attribute& attribute : type.attributes()) {
            const std::size_t mark = m_out.size();
            m_out += attribute.opening;
            const std::size_t valueStart = m_out.size();
            const int written = attribute.write(object, m_out, true);
            if (written == XBType::Written) {
                checkLength(valueStart);
                if (++count > m_limits.maxAttributes)
                    m_errors.record(XB_LIMIT_EXCEEDED, {"attributes", std::to_string(m_limits.maxAttributes)});
                m_out += '"';
                continue;
            }
            m_out.resize(mark); // absent: not written
            if (written == XBType::Unwritable)
                m_errors.record(XB_UNWRITABLE_TEXT, {type.typeName(), attribute.name});
        }
    }

    void children(const XBType& type, const void* object)
    {
        for (const XBType::Child& child : type.children()) {
            const XBType& childType = child.type();
            const std::size_t count = child.count(object);
            for (std::size_t i = 0; i < count; ++i) {
                const void* item = child.at(object, i);
                if (item != nullptr)
                    this->object(child.name, childType, item);
            }
        }
    }

    // A value the decoder would refuse as too long is not written either. The common
    // short value is decided here, inline; a long one is measured as the decoder reads it.
    void checkLength(std::size_t valueStart)
    {
        const std::size_t written = m_out.size() - valueStart;
        if (written > m_limits.maxTextBytes)
            checkLongValue(valueStart, written);
    }
    void checkLongValue(std::size_t valueStart, std::size_t written)
    {
        const std::size_t limit = m_limits.maxTextBytes;
        if (unescapedLength(m_out.data() + valueStart, written) > limit)
            m_errors.record(XB_LIMIT_EXCEEDED, {"text", std::to_string(limit)});
    }

    void endTag(const std::string& name)
    {
        --m_depth;
        m_out.append("</", 2);
        m_out += name;
        m_out += '>';
    }

    std::string& m_out;
    ErrorRecord& m_errors;
    const DecodeLimits m_limits; // what a reader accepts
    int m_depth = 0;             // elements open
};

} // namespace

EncodeBuffer::EncodeBuffer() = default;

EncodeBuffer::~EncodeBuffer() = default;

void EncodeBuffer::reset()
{
    m_text.clear();
    errors().clear();
}

void EncodeBuffer::writeDeclaration()
{
    m_text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
}

int EncodeBuffer::writeElement(const std::string& name, const XBObject& object)
{
    const XBType& type = object.xbType();
    Writer(m_text, errors()).object(name, type, type.objectOf(object));
    return errors().status();
}

} // namespace XB
} // namespace MOX
