// SPDX-License-Identifier: MIT
#include <mox/xb/DocumentElement.h>

#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/EncodeBuffer.h>
#include "services/serialization/manager/XBType.h"

namespace MOX {
namespace XB {

DocumentElement::DocumentElement(std::string rootName, XBObject& top) : m_rootName(std::move(rootName)), m_top(top) {}

DocumentElement::~DocumentElement() = default;

int DocumentElement::encode(EncodeBuffer& buffer)
{
    buffer.writeDeclaration();
    return buffer.writeElement(m_rootName, m_top);
}

int DocumentElement::decode(DecodeBuffer& buffer)
{
    return buffer.decodeDocument(m_rootName, m_top);
}

} // namespace XB
} // namespace MOX
