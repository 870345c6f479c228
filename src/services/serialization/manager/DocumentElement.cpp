#include <mox/xb/DocumentElement.h>

#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBType.h>

namespace MOX {
namespace XB {

DocumentElement::DocumentElement(std::string rootName, XBObject& top) : m_rootName(std::move(rootName)), m_top(top) {}

DocumentElement::~DocumentElement() = default;

int DocumentElement::encode(CodecBuffer& buffer)
{
    if (buffer.kind() != CodecBuffer::Kind::Encode) {
        buffer.errors().record(XB_NOT_DECODE_BUFFER);
        return buffer.errors().status();
    }
    auto& out = static_cast<EncodeBuffer&>(buffer);
    out.writeDeclaration();
    return out.writeElement(m_rootName, m_top);
}

int DocumentElement::decode(CodecBuffer& buffer)
{
    if (buffer.kind() != CodecBuffer::Kind::Decode) {
        buffer.errors().record(XB_NOT_DECODE_BUFFER);
        return buffer.errors().status();
    }
    const XBType& type = m_top.xbType();
    return static_cast<DecodeBuffer&>(buffer).decodeDocument(m_rootName, type, type.objectOf(m_top));
}

} // namespace XB
} // namespace MOX
