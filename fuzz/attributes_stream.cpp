// SPDX-License-Identifier: MIT
// Attributes::unmarshal from a stream that hands the text over in fuzzed chunk sizes:
// the result, or the failure, is the text form's.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <streambuf>
#include <string>

#include <mox/attr/Attributes.h>
#include <mox/rt/Exceptions.h>

#include "AttributeFuzzing.h"
#include "FuzzCheck.h"

namespace {

// Gives the text in pieces whose sizes come from `sizes` (1 to 256 bytes each).
class ChunkedBuffer : public std::streambuf {
public:
    ChunkedBuffer(std::string text, std::string sizes) : m_text(std::move(text)), m_sizes(std::move(sizes)) {}

protected:
    int_type underflow() override
    {
        if (m_pos >= m_text.size())
            return traits_type::eof();
        const unsigned char size = m_sizes.empty() ? 7 : static_cast<unsigned char>(m_sizes[m_next++ % m_sizes.size()]);
        const std::size_t n = std::min<std::size_t>(std::size_t(size) + 1, m_text.size() - m_pos);
        char* begin = &m_text[m_pos];
        setg(begin, begin, begin + n);
        m_pos += n;
        return traits_type::to_int_type(*begin);
    }

private:
    std::string m_text;
    std::string m_sizes;
    std::size_t m_pos = 0;
    std::size_t m_next = 0;
};

std::string outcome(const MOX::Attributes::AttributeList& list)
{
    return MOX::Attributes::marshal(list);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace A = MOX::Attributes;
    // The first 8 bytes choose the chunk sizes; the rest is the document.
    const std::size_t split = size < 8 ? size : 8;
    const std::string sizes(reinterpret_cast<const char*>(data), split);
    const std::string text(reinterpret_cast<const char*>(data) + split, size - split);
    std::string fromText, fromStream;
    try {
        fromText = outcome(A::unmarshal(text));
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        fromText = std::to_string(e.getCode()) + e.getDetail();
    }
    ChunkedBuffer buffer(text, sizes);
    std::istream in(&buffer);
    try {
        fromStream = outcome(A::unmarshal(in));
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        fromStream = std::to_string(e.getCode()) + e.getDetail();
    }
    // A text with a NUL byte ends there for the text form only; expat refuses it in a stream.
    if (text.find('\0') == std::string::npos)
        FUZZ_CHECK(fromText == fromStream);
    return 0;
}
