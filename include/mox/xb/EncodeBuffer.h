// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The encode buffer documents are written into.
#include <cstddef>
#include <string>
#include <utility>

#include <mox/rt/Export.h>
#include <mox/xb/CodecBuffer.h>

namespace MOX {
namespace XB {

class XBObject;

/// A growing UTF-8 text buffer that document objects are written into.
///
/// Elements are written without white space between them, so that the content of an
/// element can be cut out of the text as it stands. A failed write records its error
/// (for example -9 for a choice without a valid alternative) and the text is then
/// incomplete.
class MOX_API EncodeBuffer : public CodecBuffer {
public:
    EncodeBuffer();
    ~EncodeBuffer() override;

    /// The text written so far.
    const std::string& text() const noexcept { return m_text; }
    /// Hands the text over, leaving the buffer empty (what `encode` returns).
    std::string takeText() noexcept { return std::move(m_text); }
    /// Reserves room for `bytes` of text (an estimate of the document's size).
    void reserve(std::size_t bytes) { m_text.reserve(bytes); }
    /// Discards the text and the errors.
    void reset();

    /// Writes the XML declaration (version 1.0, encoding UTF-8) and a line break.
    void writeDeclaration();
    /// Writes `object` as the element `name` in the shape its schema type gives (or
    /// only its content when `name` is empty). Returns the record's status: 0, or the
    /// status of the first error recorded so far.
    int writeElement(const std::string& name, const XBObject& object);

private:
    std::string m_text;
};

} // namespace XB
} // namespace MOX
