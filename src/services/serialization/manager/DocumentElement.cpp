// SPDX-License-Identifier: MIT
#include <mox/xb/DocumentElement.h>
#include <mox/rt/Raise.h>

#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/rt/XmlUtils.h>
#include "services/serialization/manager/XBType.h"

MOX_SOURCE_FILE("services/serialization/manager/DocumentElement")

namespace MOX {
namespace XB {

DocumentElement::DocumentElement(std::string rootName, XBObject& top) : m_rootName(std::move(rootName)), m_top(top) {}

DocumentElement::~DocumentElement() = default;

int DocumentElement::encode(EncodeBuffer& buffer)
{
    RT::XmlUtils::RequireName(m_rootName, MOX_SITE("MOX::XB::DocumentElement::encode"));
    buffer.writeDeclaration();
    return buffer.writeElement(m_rootName, m_top);
}

int DocumentElement::decode(DecodeBuffer& buffer)
{
    return buffer.decodeDocument(m_rootName, m_top);
}

} // namespace XB
} // namespace MOX
