// SPDX-License-Identifier: MIT
// The stream reader under the XML readers: bytes read after a document go back into the
// stream buffer or are kept with the stream, whatever the buffer does with a put-back and
// whatever fails meanwhile; a reader after a failure fails instead of misreading.
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "xmlinput/StreamInput.h"

using MOX::RT::StreamInput;

namespace {

// A device handing out one byte per refill, so that only the last byte read can go back:
// a put-back beyond it is refused, or throws; with `broken` every refill throws.
class Device : public std::streambuf {
public:
    Device(std::string text, bool throws, bool broken = false) : m_text(std::move(text)), m_throws(throws), m_broken(broken) {}

protected:
    int_type underflow() override
    {
        if (m_broken)
            throw std::runtime_error("device gone");
        if (m_next == m_text.size())
            return traits_type::eof();
        char* begin = &m_text[m_next];
        ++m_next;
        setg(begin, begin, &m_text[0] + m_next);
        return traits_type::to_int_type(*begin);
    }
    int_type pbackfail(int_type) override
    {
        if (m_throws)
            throw std::runtime_error("no put-back");
        return traits_type::eof();
    }

private:
    std::string m_text;
    bool m_throws, m_broken;
    std::size_t m_next = 0;
};

// Reads `count` bytes (all by default), one at a time; "!" marks a failed read.
std::string take(StreamInput& input, std::size_t count = SIZE_MAX)
{
    std::string out;
    for (char c; out.size() < count; out += c)
        if (const long n = input.read(&c, 1); n <= 0)
            return n < 0 ? out + "!" : out;
    return out;
}

// What follows the document: longer than a string holds without allocating.
const std::string kRest = "rest of the stream, after <a/>", kText = "<a/>" + kRest;

// A first reader reads everything and gives back kRest, as if its document ended at
// "<a/>"; a second takes one byte of that and gives it back again, before the rest it
// did not read; `failing` (0 or 1) names the give-back whose n-th allocation
// fails (`*failed` tells whether it did). What a third reader reads: kRest, or "!" when
// the rest could not be kept.
std::string afterGivingBack(std::streambuf& buffer, int failing = -1, long n = 0, bool* failed = nullptr)
{
    std::istream in(&buffer);
    for (int reader = 0; reader < 2; ++reader) {
        StreamInput input(in);
        if (!input.usable())
            return in.bad() ? "!" : "unusable but not bad";
        EXPECT_EQ(input.follows(), reader == 1);
        take(input, reader == 0 ? kText.size() : 1);
        moxtest::failIn = reader == failing ? n : 0;
        input.giveBack(kRest.data(), reader == 0 ? kRest.size() : 1);
        if (reader == failing)
            *failed = moxtest::failIn.exchange(0) == 0;
        // Neither a change of locale nor a copy of the format takes the kept rest away.
        in.imbue(std::locale::classic());
        std::istream copy(nullptr);
        copy.copyfmt(in);
    }
    StreamInput last(in);
    const std::string rest = last.usable() ? take(last) : "!";
    EXPECT_TRUE(rest != "!" || in.bad()) << rest;
    return rest;
}

} // namespace

TEST(StreamInput, WhatFollowsADocumentIsReadNextWhateverThePutBackDoes)
{
    std::stringbuf takesBack(kText);
    Device refuses(kText, false), throws(kText, true);
    for (std::streambuf* buffer : std::initializer_list<std::streambuf*>{&takesBack, &refuses, &throws})
        EXPECT_EQ(afterGivingBack(*buffer), kRest);
}

TEST(StreamInput, ARestThatCannotBeKeptFailsTheNextReaderInstead)
{
    for (int failing = 0; failing < 2; ++failing) {
        bool failed = true;
        for (long n = 1; failed; ++n) {
            Device device(kText, false);
            const std::string rest = afterGivingBack(device, failing, n, &failed);
            EXPECT_TRUE(rest == kRest || rest == "!") << failing << " " << n << ": " << rest;
        }
    }
}

TEST(StreamInput, FailedStreamsAndBuffersAreReadFailures)
{
    std::istream none(nullptr);
    EXPECT_FALSE(StreamInput(none).usable());
    // A buffer that throws, on a stream that throws on badbit: nothing escapes, the stream
    // is left bad and its next reader fails at once.
    Device broken(kText, false, true);
    std::istream in(&broken);
    in.exceptions(std::ios::badbit);
    StreamInput input(in);
    EXPECT_EQ(take(input), "!");
    input.giveBack("x", 1);
    EXPECT_TRUE(in.bad());
    EXPECT_FALSE(StreamInput(in).usable());
    // A buffer taken away between reads.
    std::stringbuf text(kText);
    std::istream moved(&text);
    StreamInput reader(moved);
    moved.rdbuf(nullptr);
    EXPECT_EQ(take(reader), "!");
}
