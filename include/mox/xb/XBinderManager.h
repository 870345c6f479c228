// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The codec manager: encoding and decoding documents.
#include <atomic>
#include <iosfwd>
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/Raise.h>
#include <mox/xb/DecodeBuffer.h>

namespace MOX {
namespace XB {

class DocumentElement;
class EncodeBuffer;

/// The codec manager every marshal and unmarshal function passes through: it runs the
/// document element over a buffer and turns a failure into the platform's
/// SerializationException. It has no data; each marshalling unit keeps its own
/// lazily made instance (see `instance`).
class MOX_API XBinderManager {
public:
    /// The instance kept in `slot` (one static slot per marshalling unit), made on
    /// first use and never destroyed. Concurrent first calls agree on one instance.
    static XBinderManager& instance(std::atomic<XBinderManager*>& slot);

    /// Encodes `element` into `buffer` and returns the text. On failure throws
    /// SerializationException -1055 with the buffer's error info as detail.
    std::string encode(DocumentElement& element, EncodeBuffer& buffer);
    /// Decodes `element` from `buffer`; returns 0. On failure throws
    /// SerializationException -1056 with the detail
    /// `Decoding failed - info: "<error info>"`.
    int decode(DocumentElement& element, DecodeBuffer& buffer);
    /// A decode buffer over `text` up to its first NUL; `text` must outlive it. Setup
    /// errors are traced and show in the following decode.
    DecodeBuffer makeDecodeBuffer(const std::string& text);
    DecodeBuffer makeDecodeBuffer(std::string&&) = delete;
    /// A decode buffer that reads `input` incrementally (see DecodeBuffer); `input` must
    /// outlive it.
    DecodeBuffer makeDecodeBuffer(std::istream& input);

    /// Throws SerializationException -1057 ("Failed to created unmarshaller") located at
    /// `site` when `element` is null (a document element could not be made).
    static void requireElement(const DocumentElement* element, const EXCEPTIONS::SourceSite& site);
};

} // namespace XB
} // namespace MOX
