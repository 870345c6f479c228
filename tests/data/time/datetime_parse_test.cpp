// Reading the text form: the field scan's sscanf semantics, the resolution of a text,
// every rejection with its exception, trace line and the state it leaves.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/time/IDateTime.h>

#include "data/time/DateTimeImpl.h"
#include "data/time/TimeOracle.h"
#include "data/time/impl/UtcText.h"
#include "MoxTestSupport.h"

using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::TIME::DateTimeImpl;
using MOX::TIME::impl::UtcFields;
using namespace timetest;

namespace {

// The time and resolution a text reads to.
std::pair<long long, int> read(const std::string& text)
{
    DateTimeImpl d;
    d.unmarshal(text);
    return {d.getTime(), d.getResolution()};
}

// The real sscanf with the pattern of `resolution`.
int sscanfUtc(const char* text, int resolution, UtcFields& f)
{
    static const char* const patterns[] = {"%4d-%02d-%02dT%02d:%02d:%02dZ%lln", "%4d-%02d-%02dT%02d:%02d:%02d.%03lldZ",
                                           "%4d-%02d-%02dT%02d:%02d:%02d.%06lldZ"};
    long long unused = 0; // resolution 0 has no fraction: "%lln" assigns nothing that is counted
    return std::sscanf(text, patterns[resolution], &f.year, &f.month, &f.day, &f.hour, &f.minute, &f.second,
                       resolution == 0 ? &unused : &f.fraction);
}

std::string show(int n, const UtcFields& f)
{
    char s[160];
    std::snprintf(s, sizeof s, "%d (%d %d %d %d %d %d %lld)", n, f.year, f.month, f.day, f.hour, f.minute, f.second,
                  f.fraction);
    return s;
}

} // namespace

TEST(DateTimeParse, FractionsAreIntegersAndTheLengthSetsTheResolution)
{
    const long long noon = gregorianTime(2020, 6, 1, 12);
    // ".5" at millisecond resolution is 5 ms, not half a second; four digits or more are
    // microseconds; surrounding white space is accepted.
    const std::tuple<std::string, long long, int> rows[] = {
        {"2020-06-01T12:00:00.5Z", noon + 5000, 1}, {"2020-06-01T12:00:00.1234Z", noon + 1234, 2},
        {" \t2020-06-01T12:00:00.00005Z \n", noon + 5, 2}, {"2020-06-01T12:00:-7Z", noon - 7000000, 0},
        {"2020-05-32T12:00:00Z", noon, 0}}; // no field but the month is range-checked
    for (const auto& [text, time, resolution] : rows)
        EXPECT_EQ(read(text), std::make_pair(time, resolution)) << text;
}

TEST(DateTimeParse, RejectionsThrowAndKeepTheTime)
{
    struct Row {
        std::string text;
        int code;             // 0: the short form
        const char* function; // "getFormatResolution" rejects the shape, "utcToTime" the fields
        int resolution;       // after the failure: the shape check sets nothing, the scan sets it
    };
    const Row rows[] = {
        {"2020-01-01T00:00:00+01:00", -1075, "getFormatResolution", 2}, {"2020-01-01T00:00:00z", -1075, "getFormatResolution", 2},
        {"+2020-01-01T00:00:00Z", -1075, "getFormatResolution", 2},     {"", -1075, "getFormatResolution", 2},
        {"2020-01-01T00:00Z", -1075, "utcToTime", 0},                   {"2020-01-01T00:00:00.Z", -1075, "utcToTime", 1},
        {"2020/01/01T00:00:00.000000Z", -1075, "utcToTime", 2},        {std::string("\0 2020-01-01T00:00:00Z", 22), -1075, "utcToTime", 0},
        {"2020-00-01T00:00:00.000Z", 0, "utcToTime", 1},                {"2020-13-01T00:00:00Z", 0, "utcToTime", 0}};
    for (const Row& row : rows) {
        DateTimeImpl d(123456789);
        EXPECT_TRUE(moxtest::throwsMox<InvalidArgumentException>([&] { d.unmarshal(row.text); }, row.code,
                                                                 row.function, "data/time/DateTimeImpl"))
            << row.text;
        EXPECT_EQ(std::make_pair(d.getTime(), d.getResolution()), std::make_pair(123456789LL, row.resolution)) << row.text;
    }
}

TEST(DateTimeScanner, AgreesWithSscanfOnEdgeTexts)
{
    const char* const texts[] = {
        "", "\t\n", "-", "2020-", "2020-+", "2020-1-", "20201-01-01T00:00:00Z", "+999-+1-+1T+1:+1:+1.+1Z",
        "2020-01-01T00:00:00", "2020-01-01T00:00:00.-5Z", "2020-01-01T00:00:00.1234567Z", "2020-01-01T00:00:00. 5Z",
        " 2020 - 01-01T00:00:00Z", "9999-99-99T99:99:99.999999Z", "2020-\v1-\f1T\r1:\n1:\t1.  1Z",
        "2020-0x1-01T00:00:00Z", "2020-01-01T00:00:00.0000000000001Z", "1-2-3T4:5:6.7Z"};
    for (const char* t : texts)
        for (int r = 0; r <= 2; ++r) {
            // Both start from the same fields: those not assigned must be left alone by both.
            UtcFields expected{-7, -7, -7, -7, -7, -7, -7};
            UtcFields actual = expected;
            const int e = sscanfUtc(t, r, expected);
            EXPECT_EQ(show(MOX::TIME::impl::scanUtc(t, r, actual), actual), show(e, expected))
                << '"' << t << "\" at resolution " << r;
        }
}
