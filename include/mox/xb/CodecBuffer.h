// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The common part of the codec's encode and decode buffers.
#include <string>

#include <mox/rt/Export.h>
#include <mox/xb/ErrorRecord.h>

namespace MOX {
namespace XB {

/// Common part of encode and decode buffers: the error record that the document element
/// fills.
class MOX_API CodecBuffer {
public:
    virtual ~CodecBuffer();
    CodecBuffer(const CodecBuffer&) = delete;
    CodecBuffer& operator=(const CodecBuffer&) = delete;

    /// The errors recorded so far.
    ErrorRecord& errors() noexcept { return m_errors; }
    /// The errors recorded so far.
    const ErrorRecord& errors() const noexcept { return m_errors; }
    /// The rendered error record ("" when no error was recorded).
    std::string errorInfo() const { return m_errors.info(); }

protected:
    CodecBuffer() noexcept = default;
    /// Takes over the error record, for the moves of the derived buffers.
    CodecBuffer(CodecBuffer&&) noexcept = default;
    /// Takes over the error record, for the moves of the derived buffers.
    CodecBuffer& operator=(CodecBuffer&&) noexcept = default;

private:
    ErrorRecord m_errors;
};

} // namespace XB
} // namespace MOX
