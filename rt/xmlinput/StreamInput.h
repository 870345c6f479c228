// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <istream>
#include <string>

namespace MOX {
namespace RT {

/// Reads a std::istream for the XML feeder so that nothing after a document is ever
/// lost, whatever the stream buffer can do.
///
/// It reads through the stream buffer directly and never further than the buffer holds
/// (it waits for input only when the buffer holds nothing), so that the bytes read after
/// a document can normally be put back into the buffer. What the buffer refuses to take
/// back is kept with the stream itself (an ios_base storage slot freed with the stream)
/// and handed out first by the next StreamInput over the same stream. If even that
/// fails, the next StreamInput reports a read failure instead of a wrong document.
///
/// Any failure of the stream or its buffer (a state bit, an exception of the buffer,
/// with or without exceptions() set) is a read failure: the stream is left bad and no
/// exception escapes.
class StreamInput {
public:
    /// Takes what an earlier reader kept with `input`.
    explicit StreamInput(std::istream& input) noexcept;
    StreamInput(const StreamInput&) = delete;
    StreamInput& operator=(const StreamInput&) = delete;

    /// False when the stream had failed before, or when an earlier reader's rest was lost.
    bool usable() const noexcept { return m_usable; }
    /// True when an earlier reader stopped after a document of this stream (so that white
    /// space before the next one separates documents).
    bool follows() const noexcept { return m_follows; }
    /// Reads at most `max` bytes into `into`: the kept rest first, then what the buffer
    /// holds (waiting for input only when it holds nothing). 0 at the end of the input;
    /// -1 when the stream or its buffer failed (the stream is then bad).
    long read(char* into, std::size_t max) noexcept;
    /// Gives back `size` bytes that were read after a document and belong to whatever
    /// follows: into the stream buffer as far as it takes them, the rest kept with the
    /// stream; the next reader knows that it follows a document.
    void giveBack(const char* rest, std::size_t size) noexcept;

private:
    void fail() noexcept;
    // Sets `state` without throwing the stream's exception; clears eofbit (bytes went back).
    void setState(std::ios_base::iostate state) noexcept;
    void clearEnd() noexcept;
    void keep(const char* rest, std::size_t size) noexcept;
    void markLost() noexcept;

    std::istream& m_input;
    std::string m_kept;
    std::size_t m_keptRead = 0;
    bool m_usable = true;
    bool m_follows = false;
};

} // namespace RT
} // namespace MOX
