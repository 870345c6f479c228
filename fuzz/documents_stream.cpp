// SPDX-License-Identifier: MIT
// Attributes and identities documents read back to back from one stream until a read
// fails, from three kinds of stream: a string stream, a stream buffer that cannot seek
// and holds a fuzzed number of bytes at a time (as a pipe does), and one whose reads
// return fuzzed short counts. Each read must give what the text form gives for the same
// part of the input: the text from where the previous document's root ended (white space
// skipped) to the end. Where a root ends is found by expat directly.
//
// Input: byte 0 chooses the document kind of each read (bit i: identities for read i),
// byte 1 the buffer size of the holding buffer, bytes 2-9 the short-read sizes; the rest
// is the stream: documents with whatever the fuzzer puts between them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <sstream>
#include <streambuf>
#include <string>

#include <expat.h>

#include <mox/attr/Attributes.h>
#include <mox/authn.h>
#include <mox/rt/Exceptions.h>

#include "FuzzCheck.h"

namespace {

// Hands out `hold` bytes at a time; cannot seek, and can put back only within what it
// holds (the streambuf default).
class HoldingBuffer : public std::streambuf {
public:
    HoldingBuffer(const std::string& text, std::size_t hold) : m_text(text), m_hold(hold) {}

protected:
    int_type underflow() override
    {
        if (m_pos >= m_text.size())
            return traits_type::eof();
        const std::size_t n = std::min(m_hold, m_text.size() - m_pos);
        m_window.assign(m_text, m_pos, n);
        m_pos += n;
        setg(&m_window[0], &m_window[0], &m_window[0] + n);
        return traits_type::to_int_type(m_window[0]);
    }

private:
    const std::string& m_text;
    const std::size_t m_hold;
    std::size_t m_pos = 0;
    std::string m_window;
};

// Returns fewer bytes than asked, in fuzzed counts (never none before the end), from
// both xsgetn and underflow; cannot seek.
class ShortReadBuffer : public std::streambuf {
public:
    ShortReadBuffer(const std::string& text, std::string sizes) : m_text(text), m_sizes(std::move(sizes)) {}

protected:
    int_type underflow() override
    {
        if (m_pos >= m_text.size())
            return traits_type::eof();
        const std::size_t n = std::min(next(), m_text.size() - m_pos);
        m_window.assign(m_text, m_pos, n);
        m_pos += n;
        setg(&m_window[0], &m_window[0], &m_window[0] + n);
        return traits_type::to_int_type(m_window[0]);
    }

    std::streamsize xsgetn(char* out, std::streamsize count) override
    {
        if (count <= 0)
            return 0;
        const std::size_t want = static_cast<std::size_t>(count);
        if (gptr() < egptr()) { // what the window still holds comes first
            const std::size_t n = std::min<std::size_t>(want, static_cast<std::size_t>(egptr() - gptr()));
            std::copy_n(gptr(), n, out);
            gbump(static_cast<int>(n));
            return static_cast<std::streamsize>(n);
        }
        const std::size_t n = std::min({next(), want, m_text.size() - m_pos});
        std::copy_n(m_text.data() + m_pos, n, out);
        m_pos += n;
        return static_cast<std::streamsize>(n);
    }

private:
    std::size_t next()
    {
        const unsigned char size = static_cast<unsigned char>(m_sizes[m_next++ % m_sizes.size()]);
        return std::size_t(size) * 8 + 1;
    }

    const std::string& m_text;
    const std::string m_sizes;
    std::size_t m_pos = 0;
    std::size_t m_next = 0;
    std::string m_window;
};

// Where the root element of `text` ends, as expat reports it: the offset after its end
// tag, or npos when no root ends.
class RootEnd {
public:
    static std::size_t of(const std::string& text)
    {
        RootEnd self;
        self.m_parser = XML_ParserCreate(nullptr);
        XML_SetUserData(self.m_parser, &self);
        XML_SetElementHandler(self.m_parser, &RootEnd::start, &RootEnd::end);
        XML_Parse(self.m_parser, text.data(), static_cast<int>(text.size()), XML_TRUE);
        XML_ParserFree(self.m_parser);
        return self.m_end;
    }

private:
    static void XMLCALL start(void* data, const XML_Char*, const XML_Char**) { ++static_cast<RootEnd*>(data)->m_depth; }

    static void XMLCALL end(void* data, const XML_Char*)
    {
        auto* self = static_cast<RootEnd*>(data);
        if (--self->m_depth != 0)
            return;
        self->m_end = static_cast<std::size_t>(XML_GetCurrentByteIndex(self->m_parser) + XML_GetCurrentByteCount(self->m_parser));
        XML_StopParser(self->m_parser, XML_FALSE);
    }

    XML_Parser m_parser = nullptr;
    int m_depth = 0;
    std::size_t m_end = std::string::npos;
};

// One read's outcome as comparable text: the document rewritten, or the failure.
template <class Read>
std::string outcome(bool identities, Read& source)
{
    try {
        if (identities)
            return MOX::marshalIdentities(MOX::parseIdentities(source));
        return MOX::Attributes::marshal(MOX::Attributes::unmarshal(source));
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        fuzzcheck::expectCode(e, {-1056, -1055, -1006, 0});
        return "failed " + std::to_string(e.getCode()) + ": " + e.getDetail();
    }
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

constexpr int kReads = 4; // up to three documents, then a read at what follows

// Reads `stream` back to back; each outcome must be the text form's of the same part.
void readBackToBack(const char* source, std::istream& in, const std::string& stream, unsigned kinds)
{
    std::size_t pos = 0;
    for (int i = 0; i < kReads; ++i) {
        const bool identities = (kinds >> i) & 1u;
        std::string part = stream.substr(pos);
        const std::string expected = outcome(identities, part);
        const std::string got = outcome(identities, in);
        if (got != expected)
            std::fprintf(stderr, "%s, read %d at %zu: stream gave \"%s\", text form \"%s\"\n", source, i + 1, pos, got.c_str(),
                         expected.c_str());
        FUZZ_CHECK(got == expected);
        if (expected.compare(0, 7, "failed ") == 0)
            return; // what follows a failed read is not defined
        const std::size_t end = RootEnd::of(part);
        FUZZ_CHECK(end != std::string::npos); // a document was read: its root ended
        pos += end;
        while (pos < stream.size() && isSpace(stream[pos]))
            ++pos;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 10)
        return 0;
    const unsigned kinds = data[0];
    const std::size_t hold = std::size_t(data[1]) * 4 + 1;
    const std::string sizes(reinterpret_cast<const char*>(data) + 2, 8);
    std::string stream(reinterpret_cast<const char*>(data) + 10, size - 10);
    // The text form ends at a NUL byte, a stream does not: both must refuse the same byte.
    std::replace(stream.begin(), stream.end(), '\0', '\x01');

    std::istringstream text(stream);
    readBackToBack("string stream", text, stream, kinds);
    HoldingBuffer holding(stream, hold);
    std::istream pipe(&holding);
    readBackToBack("holding buffer", pipe, stream, kinds);
    ShortReadBuffer shortReads(stream, sizes);
    std::istream shortStream(&shortReads);
    readBackToBack("short reads", shortStream, stream, kinds);
    return 0;
}
