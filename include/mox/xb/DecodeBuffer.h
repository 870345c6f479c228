// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The decode buffer and the document limits.
#include <cstddef>
#include <iosfwd>
#include <memory>
#include <string>

#include <mox/rt/Export.h>
#include <mox/xb/CodecBuffer.h>

namespace MOX {
namespace XB {

class XBObject;
class ParserAdapter;

/// The one set of document limits. The decoder refuses input beyond them (it records
/// XB_LIMIT_EXCEEDED and stops the parse) and the writer refuses to write what the
/// decoder would refuse under the same limits: an element nested too deep, an element
/// with too many attributes, a value too long (XB_LIMIT_EXCEEDED, so marshalling fails
/// with -1055). So every document written can be read back. The process-wide defaults
/// apply to every marshal and unmarshal function; a caller may change them with
/// `setDefaults`.
struct MOX_API DecodeLimits {
    /// Deepest element nesting accepted (the root is at depth 1).
    int maxDepth = 256;
    /// Errors recorded before the decoder gives up.
    std::size_t maxErrors = 100;
    /// Longest value, in bytes after unescaping, of one element text or one attribute.
    /// Input that holds no complete markup for longer than this (an endless attribute
    /// value, comment or tag) is refused as soon as that much has been read.
    std::size_t maxTextBytes = 16u * 1024u * 1024u;
    /// Most attributes on one element.
    std::size_t maxAttributes = 64;

    /// The limits in force for the marshal and unmarshal functions (a copy).
    static DecodeLimits defaults() noexcept;
    /// Replaces the process-wide limits; thread safe, affects documents started after it.
    static void setDefaults(const DecodeLimits& limits) noexcept;
};

/// The input of one decode (an in-memory text or a stream) together with the decoding
/// state and the error record.
///
/// The buffer refers to the caller's text or stream, which must outlive it. The expat
/// parser is made when the buffer is made (its failure is recorded as
/// XB_NOT_INITIALISED) and is used up by one decode: a second decode over the same
/// buffer fails the same way.
///
/// A stream is read in chunks of at most 2048 bytes (no more than its buffer holds),
/// the end of the input marked final; any failure of the stream or its buffer ends the
/// decode with XB_READ_FAILED. Parsing stops when the root element ends: whatever the
/// stream holds after it, from its first byte that is not white space, is left for a
/// following decode of the same stream (put back into the stream buffer, or kept with
/// the stream where the buffer cannot take it back; see Attributes::unmarshal). A piece
/// that ends inside an unfinished token is followed by a longer one, so that decoding
/// time stays in line with the input's size. An in-memory text is handed to the parser
/// in pieces so that the parser never holds a copy of all of it; results and errors are
/// those of one whole-text parse.
class MOX_API DecodeBuffer : public CodecBuffer {
public:
    /// A buffer over the bytes of `text` up to its first NUL character.
    explicit DecodeBuffer(const std::string& text, const DecodeLimits& limits = DecodeLimits::defaults());
    /// The text may go away before the buffer: refused.
    explicit DecodeBuffer(std::string&&, const DecodeLimits& = DecodeLimits::defaults()) = delete;
    /// A buffer over `length` bytes at `data` (NUL bytes included, expat rejects them).
    DecodeBuffer(const char* data, std::size_t length, const DecodeLimits& limits = DecodeLimits::defaults());
    /// A buffer that reads `input` from its current position.
    explicit DecodeBuffer(std::istream& input, const DecodeLimits& limits = DecodeLimits::defaults());
    /// Takes over the input, parser and error record of `other`, which is left without a
    /// parser (a decode over it fails as XB_NOT_INITIALISED).
    DecodeBuffer(DecodeBuffer&& other) noexcept;
    /// Takes over the input, parser and error record of `other`, as the move constructor.
    DecodeBuffer& operator=(DecodeBuffer&& other) noexcept;
    ~DecodeBuffer() override;

    /// Parses the whole input, filling `top` as the document's root element; `rootName`
    /// is the expected local name of the root ("" accepts any). Returns 0 or the first
    /// recorded error's status.
    int decodeDocument(const std::string& rootName, XBObject& top);

    /// False when the parser could not be made or was used up by a decode.
    bool isInitialised() const noexcept;
    /// Number of recorded errors.
    std::size_t errorCount() const noexcept { return errors().count(); }
    /// The limits this buffer decodes under (the built-in ones once moved from).
    const DecodeLimits& limits() const noexcept;
    /// The input bytes of an in-memory buffer ("" for a stream).
    const char* data() const noexcept;
    /// The number of input bytes of an in-memory buffer (0 for a stream).
    std::size_t size() const noexcept;

private:
    std::unique_ptr<ParserAdapter> m_adapter;
};

} // namespace XB
} // namespace MOX
