// Reading the text form: the field scan's sscanf semantics, the resolution of a text,
// every rejection with its exception, trace line and the state it leaves.
#include <cstdio>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/time/IDateTime.h>

#include "data/time/DateTimeImpl.h"
#include "data/time/TimeOracle.h"
#include "data/time/impl/UtcText.h"

using MOX::EXCEPTIONS::ErrorCode;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::TIME::DateTimeImpl;
using MOX::TIME::impl::UtcFields;
using MOX::TIME::impl::scanUtc;
using namespace timetest;

namespace {

const char kResolutionScope[] = "MOX::TIME::DateTimeImpl::DateTimeImpl::getFormatResolution";
const char kScanScope[] = "MOX::TIME::DateTimeImpl::DateTimeImpl::utcToTime";

long long readTime(const std::string& text)
{
    DateTimeImpl d;
    d.unmarshal(text);
    return d.getTime();
}

int readResolution(const std::string& text)
{
    DateTimeImpl d;
    d.unmarshal(text);
    return d.getResolution();
}

// A date-time whose state a failed read must not (or only partly) change.
struct Probe {
    DateTimeImpl d{123456789};
    InvalidArgumentException caught;
    TraceRecorder trace;

    bool read(const std::string& text)
    {
        try {
            d.unmarshal(text);
        } catch (const InvalidArgumentException& e) {
            caught = e;
            return false;
        }
        return true;
    }
};

// The real sscanf with the pattern of `resolution`.
int sscanfUtc(const char* text, int resolution, UtcFields& f)
{
    switch (resolution) {
    case 0:
        return std::sscanf(text, "%4d-%02d-%02dT%02d:%02d:%02dZ", &f.year, &f.month, &f.day, &f.hour, &f.minute,
                           &f.second);
    case 1:
        return std::sscanf(text, "%4d-%02d-%02dT%02d:%02d:%02d.%03lldZ", &f.year, &f.month, &f.day, &f.hour,
                           &f.minute, &f.second, &f.fraction);
    default:
        return std::sscanf(text, "%4d-%02d-%02dT%02d:%02d:%02d.%06lldZ", &f.year, &f.month, &f.day, &f.hour,
                           &f.minute, &f.second, &f.fraction);
    }
}

// Scans `text` both ways from the same starting fields and compares the result and
// every field (those not assigned must be left alone by both).
::testing::AssertionResult scansLikeSscanf(const std::string& text, int resolution)
{
    const UtcFields start{-7, -7, -7, -7, -7, -7, -7};
    UtcFields expected = start;
    UtcFields actual = start;
    const int e = sscanfUtc(text.c_str(), resolution, expected);
    const int a = scanUtc(text.c_str(), resolution, actual);
    auto show = [](int n, const UtcFields& f) {
        char s[160];
        std::snprintf(s, sizeof s, "%d (%d %d %d %d %d %d %lld)", n, f.year, f.month, f.day, f.hour, f.minute,
                      f.second, f.fraction);
        return std::string(s);
    };
    if (show(e, expected) == show(a, actual))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\" at resolution " << resolution << ": sscanf "
                                         << show(e, expected) << ", scanner " << show(a, actual);
}

} // namespace

TEST(DateTimeParse, FieldWidthsAreMaximaAndFractionsAreIntegers)
{
    EXPECT_EQ(readTime("2026-1-4T5:3:7Z"), gregorianTime(2026, 1, 4, 5, 3, 7));
    EXPECT_EQ(readTime("2026-01-04T05:03:07Z"), gregorianTime(2026, 1, 4, 5, 3, 7));
    // Each field skips white space and takes a sign, as a scanf field does ('+' never
    // gets that far: a text holding one is rejected first).
    EXPECT_EQ(readTime("2026- 1-\t4T 5: 3: 7Z"), gregorianTime(2026, 1, 4, 5, 3, 7));
    EXPECT_EQ(readTime("2026-01-04T05:03:-7Z"), gregorianTime(2026, 1, 4, 5, 3) - 7 * kMicros);
    // ".5" at millisecond resolution is 5 ms, not half a second.
    const long long base = gregorianTime(2020, 6, 1, 12);
    EXPECT_EQ(readTime("2020-06-01T12:00:00.5Z"), base + 5000);
    EXPECT_EQ(readTime("2020-06-01T12:00:00.50Z"), base + 50000);
    EXPECT_EQ(readTime("2020-06-01T12:00:00.500Z"), base + 500000);
    EXPECT_EQ(readTime("2020-06-01T12:00:00.1234Z"), base + 1234);
    EXPECT_EQ(readTime("2020-06-01T12:00:00.00005Z"), base + 5);
    // No field but the month is range-checked.
    EXPECT_EQ(readTime("2020-01-32T00:00:00Z"), readTime("2020-02-01T00:00:00Z"));
    EXPECT_EQ(readTime("2020-01-31T24:00:00Z"), gregorianTime(2020, 2, 1));
    EXPECT_EQ(readTime("2020-01-01T00:99:99Z"), gregorianTime(2020, 1, 1, 0, 99, 99));
    // Surrounding white space is accepted; what follows the last field is not examined.
    EXPECT_EQ(readTime(" \t2020-01-01T00:00:00Z \n"), gregorianTime(2020, 1, 1));
    EXPECT_EQ(readTime("2020-01-01T00:00:00 Z"), gregorianTime(2020, 1, 1));
    EXPECT_EQ(readTime("2020-01-01T00:00:00.5.Z"), gregorianTime(2020, 1, 1) + 5000);
}

TEST(DateTimeParse, ResolutionFollowsTheLengthOfTheFraction)
{
    EXPECT_EQ(readResolution("2020-01-01T00:00:00Z"), 0);
    EXPECT_EQ(readResolution("2020-01-01T00:00:00.1Z"), 1);
    EXPECT_EQ(readResolution("2020-01-01T00:00:00.12Z"), 1);
    EXPECT_EQ(readResolution("2020-01-01T00:00:00.123Z"), 1);
    EXPECT_EQ(readResolution("2020-01-01T00:00:00.1234Z"), 2);
    EXPECT_EQ(readResolution("2020-01-01T00:00:00.123456Z"), 2);
    EXPECT_EQ(readResolution("  2020-01-01T00:00:00.123Z  "), 1);
}

TEST(DateTimeParse, ShapeRejectionsLeaveTheObjectUnchanged)
{
    for (const std::string text : {"2020-01-01T00:00:00+01:00", "2020-01-01T00:00:00", "2020-01-01T00:00:00z",
                                   "+2020-01-01T00:00:00Z", "", "   ", "Z+"}) {
        Probe p;
        ASSERT_FALSE(p.read(text)) << text;
        EXPECT_EQ(p.caught.getCode(), -1075) << text;
        EXPECT_EQ(p.caught.getFacility(), "MOX");
        EXPECT_EQ(p.caught.getKey(), "code");
        EXPECT_EQ(p.caught.getMessage(), MOX::EXCEPTIONS::errorMessage(ErrorCode::InvalidInput));
        EXPECT_EQ(p.caught.getFile(), "data/time/DateTimeImpl");
        EXPECT_EQ(p.caught.getFunction(), "getFormatResolution");
        EXPECT_GT(p.caught.getLine(), 0);
        ASSERT_EQ(p.trace.lines.size(), 1u) << text;
        EXPECT_EQ(p.trace.lines[0].first, kResolutionScope);
        EXPECT_EQ(p.trace.lines[0].second, text + " is not a supported UTC date-time format");
        EXPECT_EQ(p.d.getTime(), 123456789);
        EXPECT_EQ(p.d.getResolution(), 2);
    }
}

TEST(DateTimeParse, ScanRejectionsKeepTheTimeButTakeTheResolution)
{
    struct Case {
        std::string text;
        int resolution;
    };
    const Case cases[] = {{"2020-01-01 00:00:00Z", 0},  {"2020-01-01T00:00Z", 0},
                          {"Z", 0},                     {"2020-01-01T00:00:00.Z", 1},
                          {"2020-01-01T00:00:00.xyZ", 1}, {"2020/01/01T00:00:00.000000Z", 2},
                          {std::string("\0 2020-01-01T00:00:00Z", 22), 0}};
    for (const Case& c : cases) {
        Probe p;
        ASSERT_FALSE(p.read(c.text)) << c.text;
        EXPECT_EQ(p.caught.getCode(), -1075) << c.text;
        EXPECT_EQ(p.caught.getFacility(), "MOX");
        EXPECT_EQ(p.caught.getMessage(), MOX::EXCEPTIONS::errorMessage(ErrorCode::InvalidInput));
        EXPECT_EQ(p.caught.getFile(), "data/time/DateTimeImpl");
        EXPECT_EQ(p.caught.getFunction(), "utcToTime");
        ASSERT_EQ(p.trace.lines.size(), 1u) << c.text;
        EXPECT_EQ(p.trace.lines[0].first, kScanScope);
        EXPECT_EQ(p.trace.lines[0].second, std::string(c.text.c_str()) + " is not a supoprted UTC date-time format");
        EXPECT_EQ(p.d.getTime(), 123456789) << c.text;
        EXPECT_EQ(p.d.getResolution(), c.resolution) << c.text;
    }
}

TEST(DateTimeParse, MonthsOutsideTheYearThrowTheShortForm)
{
    for (int month : {0, 13, -1, 99}) {
        char text[64];
        std::snprintf(text, sizeof text, "2020-%02d-01T00:00:00.000Z", month);
        Probe p;
        ASSERT_FALSE(p.read(text)) << text;
        EXPECT_TRUE(p.caught.isShortForm()) << text;
        EXPECT_EQ(p.caught.getCode(), 0);
        EXPECT_EQ(p.caught.getFacility(), "");
        EXPECT_EQ(p.caught.getMessage(), "");
        EXPECT_EQ(p.caught.getFile(), "data/time/DateTimeImpl");
        EXPECT_EQ(p.caught.getFunction(), "utcToTime");
        ASSERT_EQ(p.trace.lines.size(), 1u);
        EXPECT_EQ(p.trace.lines[0].first, kScanScope);
        EXPECT_EQ(p.trace.lines[0].second, "Illegal month value " + std::to_string(month) + " in UTC timestamp");
        EXPECT_EQ(p.d.getTime(), 123456789);
        EXPECT_EQ(p.d.getResolution(), 1);
    }
    // A good text after a failed one reads normally.
    Probe p;
    ASSERT_FALSE(p.read("2020-13-01T00:00:00Z"));
    ASSERT_TRUE(p.read("2020-12-01T00:00:00Z"));
    EXPECT_EQ(p.d.getTime(), gregorianTime(2020, 12, 1));
}

TEST(DateTimeScanner, AgreesWithSscanfOnEdgeTexts)
{
    const char* const texts[] = {
        "", " ", "\t\n", "+", "-", "x", "2020", "2020-", "2020-+", "2020--", "2020-1", "2020-1-",
        "20201-01-01T00:00:00Z", "+2020-01-01T00:00:00Z", "-999-01-01T00:00:00Z", "+999-+1-+1T+1:+1:+1.+1Z",
        "2020-01-01T00:00:00", "2020-01-01T00:00:00.", "2020-01-01T00:00:00.-5Z", "2020-01-01T00:00:00.+12345Z",
        "2020-01-01T00:00:00.1234567Z", "2020-01-01T00:00:00.-000001Z", "2020-01-01T00:00:00. 5Z",
        " 2020 - 01-01T00:00:00Z", "2020-01-01T00:00:00.123", "0000-00-00T00:00:00.000000Z",
        "9999-99-99T99:99:99.999999Z", "2020-\v1-\f1T\r1:\n1:\t1.  1Z", "2020-0x1-01T00:00:00Z", "\xff" "2020",
        "2020-01-01T00:00:00.0000000000001Z"};
    for (const char* t : texts)
        for (int r = 0; r <= 2; ++r)
            EXPECT_TRUE(scansLikeSscanf(t, r));
}

TEST(DateTimeScanner, AgreesWithSscanfOnGeneratedTexts)
{
    std::mt19937 random(424242);
    const std::string alphabet = " \t\n+-0123456789TZz:.x";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> coin(0, 3);
    const std::string seeds[] = {"2026-12-04T05:38:45Z", "2026-12-04T05:38:45.123Z", "2026-12-04T05:38:45.123456Z",
                                 "1-2-3T4:5:6.7Z"};
    for (int i = 0; i < 60000; ++i) {
        std::string text;
        if (coin(random) == 0) {
            std::uniform_int_distribution<int> length(0, 30);
            for (int n = length(random); n > 0; --n)
                text += alphabet[pick(random)];
        } else {
            text = seeds[static_cast<std::size_t>(i) % 4];
            std::uniform_int_distribution<int> edits(1, 4);
            for (int n = edits(random); n > 0; --n) {
                std::uniform_int_distribution<std::size_t> at(0, text.size());
                const std::size_t pos = at(random);
                switch (coin(random)) {
                case 0: text.insert(pos, 1, alphabet[pick(random)]); break;
                case 1: if (pos < text.size()) text.erase(pos, 1); break;
                default: if (pos < text.size()) text[pos] = alphabet[pick(random)]; break;
                }
            }
        }
        for (int r = 0; r <= 2; ++r)
            ASSERT_TRUE(scansLikeSscanf(text, r));
    }
}
