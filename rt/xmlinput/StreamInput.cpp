// SPDX-License-Identifier: MIT
#include "xmlinput/StreamInput.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace MOX {
namespace RT {

namespace {

using Traits = std::char_traits<char>;

// Flags in the stream's iword slot: the slot's callback is registered; an earlier
// reader's rest could not be kept; an earlier reader stopped after a document.
constexpr long kRegistered = 1;
constexpr long kLost = 2;
constexpr long kFollows = 4;

// The storage slot that keeps a rest with its stream: pword holds a std::string* (or null).
int slot() noexcept
{
    static const int index = std::ios_base::xalloc();
    return index;
}

// Frees the kept rest with its stream; a copy of the stream's format does not share it.
void onStreamEvent(std::ios_base::event event, std::ios_base& stream, int index)
{
    void*& kept = stream.pword(index);
    if (event == std::ios_base::erase_event)
        delete static_cast<std::string*>(kept);
    if (event != std::ios_base::imbue_event)
        kept = nullptr;
}

} // namespace

StreamInput::StreamInput(std::istream& input) noexcept : m_input(input)
{
    if (input.fail() || input.rdbuf() == nullptr) {
        fail();
        return;
    }
    try {
        long& flags = input.iword(slot());
        if (input.bad()) {
            m_usable = false;
            return;
        }
        if ((flags & kLost) != 0) {
            flags &= ~kLost;
            fail();
            return;
        }
        m_follows = (flags & kFollows) != 0;
        flags &= ~kFollows;
        if ((flags & kRegistered) != 0) {
            void*& kept = input.pword(slot());
            std::unique_ptr<std::string> rest(static_cast<std::string*>(kept));
            kept = nullptr;
            if (rest)
                m_kept.swap(*rest);
        }
    } catch (...) {
        fail(); // the slot could not be made: the stream is bad
    }
}

long StreamInput::read(char* into, std::size_t max) noexcept
{
    if (m_keptRead < m_kept.size()) {
        const std::size_t n = std::min(max, m_kept.size() - m_keptRead);
        std::memcpy(into, m_kept.data() + m_keptRead, n);
        m_keptRead += n;
        return static_cast<long>(n);
    }
    try {
        std::streambuf* buffer = m_input.rdbuf();
        if (buffer == nullptr) {
            fail();
            return -1;
        }
        // Waits only when the buffer holds nothing; then reads no further than it holds,
        // so that the bytes can go back.
        if (Traits::eq_int_type(buffer->sgetc(), Traits::eof())) {
            setState(std::ios_base::eofbit);
            return 0;
        }
        const std::streamsize held = buffer->in_avail();
        const auto want = static_cast<std::streamsize>(held > 0 ? std::min(max, static_cast<std::size_t>(held)) : 1);
        const std::streamsize got = buffer->sgetn(into, want);
        if (got > 0)
            return static_cast<long>(got);
    } catch (...) {
    }
    fail();
    return -1;
}

void StreamInput::giveBack(const char* rest, std::size_t size) noexcept
{
    try {
        m_input.iword(slot()) |= kFollows;
    } catch (...) {
        // without the flag, white space before the next document is a syntax error
    }
    if (m_keptRead < m_kept.size()) {
        // Unread kept bytes follow the rest: all of it stays kept, in order.
        try {
            std::string all(rest, size);
            all.append(m_kept, m_keptRead, std::string::npos);
            m_keptRead = m_kept.size();
            keep(all.data(), all.size());
        } catch (...) {
            markLost();
        }
        return;
    }
    std::size_t left = size;
    try {
        std::streambuf* buffer = m_input.rdbuf();
        while (left > 0 && !Traits::eq_int_type(buffer->sputbackc(rest[left - 1]), Traits::eof()))
            --left;
    } catch (...) {
        // what the buffer did not take is kept below
    }
    if (size > 0)
        clearEnd();
    if (left > 0)
        keep(rest, left);
}

void StreamInput::keep(const char* rest, std::size_t size) noexcept
{
    try {
        long& flags = m_input.iword(slot());
        if (m_input.bad())
            return; // the stream is bad: its next reader fails anyway
        if ((flags & kRegistered) == 0) {
            m_input.register_callback(&onStreamEvent, slot());
            m_input.iword(slot()) |= kRegistered;
        }
        auto kept = std::make_unique<std::string>(rest, size);
        m_input.pword(slot()) = kept.release();
    } catch (...) {
        markLost();
    }
}

void StreamInput::markLost() noexcept
{
    try {
        m_input.iword(slot()) |= kLost;
    } catch (...) {
        fail(); // not even the flag: the stream is left bad, so its next reader fails
    }
}

void StreamInput::fail() noexcept
{
    m_usable = false;
    setState(std::ios_base::badbit);
}

void StreamInput::setState(std::ios_base::iostate state) noexcept
{
    try {
        m_input.setstate(state);
    } catch (...) {
        // the state is set; the stream's own exception is not ours to throw
    }
}

void StreamInput::clearEnd() noexcept
{
    try {
        m_input.clear(m_input.rdstate() & ~std::ios_base::eofbit);
    } catch (...) {
        // only eofbit was cleared: a state that throws was there before
    }
}

} // namespace RT
} // namespace MOX
