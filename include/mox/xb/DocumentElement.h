// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The root element of a document and its top document object.
#include <string>

#include <mox/rt/Export.h>

namespace MOX {
namespace XB {

class DecodeBuffer;
class EncodeBuffer;
class XBObject;

/// Binds the name of a document's root element to its top document object (referred
/// to, not owned). One subclass per document, for example `identities_CC`.
class MOX_API DocumentElement {
public:
    /// `rootName` empty: the decoder accepts any root element name.
    DocumentElement(std::string rootName, XBObject& top);
    virtual ~DocumentElement();
    DocumentElement(const DocumentElement&) = delete;
    DocumentElement& operator=(const DocumentElement&) = delete;

    /// The root element's name ("" accepts any when decoding).
    const std::string& rootName() const noexcept { return m_rootName; }
    /// The top document object, which the root element's content fills or comes from.
    XBObject& top() const noexcept { return m_top; }

    /// Writes the whole document (declaration, root element, content) into `buffer`.
    /// Returns 0 or the first recorded status. A root name that is not an XML name
    /// (XmlUtils::IsName) throws InvalidArgumentException (-1006) before anything is written.
    virtual int encode(EncodeBuffer& buffer);
    /// Fills the top object from `buffer`. Returns 0 or the first recorded status.
    virtual int decode(DecodeBuffer& buffer);

private:
    std::string m_rootName;
    XBObject& m_top;
};

} // namespace XB
} // namespace MOX
