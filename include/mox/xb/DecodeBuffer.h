#pragma once
#include <cstddef>
#include <memory>
#include <string>

#include <mox/rt/Export.h>
#include <mox/xb/CodecBuffer.h>

namespace MOX {
namespace XB {

class XBObject;
class XBType;
class ParserAdapter;

/// Bounds that protect the decoder from hostile input. Reaching one records
/// XB_LIMIT_EXCEEDED and stops the parse.
struct DecodeLimits {
    /// Deepest element nesting accepted (the root is at depth 1).
    int maxDepth = 256;
    /// Errors recorded before the decoder gives up.
    std::size_t maxErrors = 100;
    /// Longest text value collected for one simple-content element, in bytes.
    std::size_t maxTextBytes = 16u * 1024u * 1024u;
};

/// The input text of one decode together with the decoding state (depth, skip level,
/// error count, simple-content text accumulator, CDATA flag) and the error record.
///
/// The buffer refers to the caller's text, which must outlive it. The expat parser is
/// made when the buffer is made (its failure is recorded as XB_NOT_INITIALISED) and is
/// used up by one decode: a second decode over the same buffer fails the same way.
class MOX_API DecodeBuffer : public CodecBuffer {
public:
    /// A buffer over the bytes of `text` up to its first NUL character.
    explicit DecodeBuffer(const std::string& text, const DecodeLimits& limits = DecodeLimits());
    /// The text may go away before the buffer: refused.
    explicit DecodeBuffer(std::string&&, const DecodeLimits& = DecodeLimits()) = delete;
    /// A buffer over `length` bytes at `data` (NUL bytes included, expat rejects them).
    DecodeBuffer(const char* data, std::size_t length, const DecodeLimits& limits = DecodeLimits());
    DecodeBuffer(DecodeBuffer&& other) noexcept;
    DecodeBuffer& operator=(DecodeBuffer&& other) noexcept;
    ~DecodeBuffer() override;

    /// Parses the whole text, filling `top` (of type `type`, described object `object`)
    /// as the document's root element; `rootName` is the expected local name of the root
    /// ("" accepts any). Returns 0 or the first recorded error's status.
    int decodeDocument(const std::string& rootName, const XBType& type, void* object);

    /// False when the parser could not be made or was used up by a decode.
    bool isInitialised() const noexcept;
    /// Current element depth (0 outside the root).
    int depth() const noexcept;
    /// Depth of the element being skipped; 0 when none, negative after a fatal error.
    int skipLevel() const noexcept;
    /// True after a CDATA section started.
    bool inCData() const noexcept;
    /// Number of recorded errors.
    std::size_t errorCount() const noexcept { return errors().count(); }
    const DecodeLimits& limits() const noexcept;
    /// The input bytes.
    const char* data() const noexcept;
    std::size_t size() const noexcept;

private:
    std::unique_ptr<ParserAdapter> m_adapter;
};

} // namespace XB
} // namespace MOX
