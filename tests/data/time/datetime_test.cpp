// SPDX-License-Identifier: MIT
// Date-time values and their text form: writing against the C library's calendar, round
// trips at each resolution, the reading's missing century rule, the field scan against
// sscanf, every rejection and the state it leaves, add and order (the clock's
// millisecond steps are the Python package's test).
#include <climits>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include <mox/time/IDateTime.h>

#include "MoxTestSupport.h"
#include "data/time/DateTimeImpl.h"
#include "data/time/TimeOracle.h"
#include "data/time/impl/UtcText.h"

using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::RT::SmartPointer;
using MOX::TIME::DateTimeImpl;
using MOX::TIME::IDateTime;
using MOX::TIME::impl::UtcFields;
using MOX::TIME::impl::formatUtc;
using namespace timetest;

namespace {

const long long kDay = 86400 * kMicros;
const long long kEndOf3000 = gregorianTime(3001, 1, 1) - 1;

int resolutionOf(const SmartPointer<IDateTime>& d) { return d.dynamicCast<DateTimeImpl>()->getResolution(); }

SmartPointer<IDateTime> read(const std::string& text)
{
    SmartPointer<IDateTime> d = MOX::createDateTime(0);
    d->unmarshal(text);
    return d;
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

auto fieldsOf(int n, const UtcFields& f)
{
    return std::make_tuple(n, f.year, f.month, f.day, f.hour, f.minute, f.second, f.fraction);
}

} // namespace

TEST(DateTimeText, WritesWhatTheCalendarFunctionsWriteAtEachResolutionForAnyTime)
{
    std::mt19937_64 random(20260104);
    std::vector<long long> times = {0, 1, 999, 1000, 999999, 1000000, kDay - 1, kDay, -1, -999, -1000, -999999,
                                    -1000000, -1000001, -kDay, -kDay - 1, gregorianTime(2000, 2, 29, 23, 59, 59) + 999999,
                                    gregorianTime(2100, 2, 28, 12), gregorianTime(2100, 3, 1), kEndOf3000,
                                    kEndOf3000 + 1, gregorianTime(9999, 12, 31, 23, 59, 59) + 999999,
                                    gregorianTime(10000, 1, 1), 1000000000000000000LL, -1000000000000000000LL,
                                    LLONG_MAX, LLONG_MIN, LLONG_MIN + 1};
    std::uniform_int_distribution<long long> usual(0, kEndOf3000);
    std::uniform_int_distribution<long long> any(LLONG_MIN, LLONG_MAX);
    for (int i = 0; i < 20000; ++i)
        times.push_back(i % 4 ? usual(random) : any(random));
    for (long long t : times) {
        for (int r = 0; r <= 2; ++r) {
            char text[MOX::TIME::impl::kUtcTextCapacity];
            const std::size_t n = formatUtc(t, r, text);
            ASSERT_EQ(std::string(text, n), oracleText(t, r)) << t << " at resolution " << r;
        }
        const SmartPointer<IDateTime> d = MOX::createDateTime(t);
        ASSERT_EQ(d->marshal() + d->toString() + d->toMillisecondString(), oracleText(t, 2) + oracleText(t, 2) + oracleText(t, 1)) << t;
    }
}

TEST(DateTimeText, RoundTripsAtEachResolutionFrom1968UpToTheFirstCenturyYear)
{
    std::mt19937_64 random(7);
    std::uniform_int_distribution<long long> anyTime(gregorianTime(1968, 1, 1), gregorianTime(2100, 3, 1) - 1);
    for (int i = 0; i < 20000; ++i) {
        const long long t = anyTime(random);
        for (int r = 0; r <= 2; ++r) {
            const long long unit = r == 0 ? kMicros : r == 1 ? 1000 : 1; // the text keeps the unit at or before t
            const long long kept = t % unit < 0 ? t - t % unit - unit : t - t % unit;
            const std::string text = oracleText(t, r);
            const SmartPointer<IDateTime> d = read(text);
            ASSERT_EQ(d->getTime(), kept) << text;
            ASSERT_EQ(resolutionOf(d), r) << text;
            ASSERT_EQ(d->marshal(), text);
        }
    }
    // A 29th of February in a common year is the 1st of March.
    EXPECT_EQ(read("2021-02-29T00:00:00Z")->getTime(), gregorianTime(2021, 3, 1));
}

TEST(DateTimeText, ReadingHasNoCenturyRuleFrom2100On)
{
    // Every fourth year is a leap year when reading, so each Gregorian common century
    // year passed adds a day; writing stays Gregorian.
    std::mt19937_64 random(2100);
    std::uniform_int_distribution<long long> anyTime(gregorianTime(2099, 1, 1), kEndOf3000);
    for (int i = 0; i < 5000; ++i) {
        const long long t = anyTime(random) / kMicros * kMicros;
        const std::string text = oracleText(t, 0);
        const long long skipped = skippedCenturyLeapDays(std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)));
        ASSERT_EQ(read(text)->getTime(), t + skipped * kDay) << text;
    }
    EXPECT_EQ(read("2100-02-29T00:00:00Z")->getTime(), gregorianTime(2100, 3, 1));
    EXPECT_EQ(read("2400-03-01T00:00:00Z")->getTime(), gregorianTime(2400, 3, 1) + 3 * kDay);
}

TEST(DateTimeValue, PartsTruncateTowardZero)
{
    const SmartPointer<IDateTime> negative = MOX::createDateTime(-1500000);
    EXPECT_EQ(std::make_pair(negative->getSeconds(), negative->getMicroseconds()), std::make_pair(-1LL, -500000LL));
}

TEST(DateTimeValue, AddKeepsTheResolution)
{
    SmartPointer<IDateTime> d = read("2020-03-01T00:00:00Z");
    d->add(-1000000);
    EXPECT_EQ(d->marshal(), "2020-02-29T23:59:59Z");
}

TEST(DateTimeValue, ComparisonsGoByTimeAlone)
{
    const SmartPointer<IDateTime> d = read("2020-03-01T00:00:00Z"); // a resolution of seconds
    EXPECT_TRUE(MOX::createDateTime(d->getTime()) == d);
    EXPECT_TRUE(MOX::createDateTime(-5)->lessThan(*d));
}

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
        EXPECT_EQ(std::make_pair(read(text)->getTime(), resolutionOf(read(text))), std::make_pair(time, resolution)) << text;
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
        {"2020-01-01T00:00:00+01:00", -1075, "getFormatResolution", 2}, {"", -1075, "getFormatResolution", 2},
        {"2020-01-01T00:00Z", -1075, "utcToTime", 0},                   {"2020-01-01T00:00:00.Z", -1075, "utcToTime", 1},
        {std::string("\0 2020-01-01T00:00:00Z", 22), -1075, "utcToTime", 0}, {"2020-13-01T00:00:00Z", 0, "utcToTime", 0}};
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
        "", "\t\n", "2020-+", "2020-1-", "20201-01-01T00:00:00Z", "+999-+1-+1T+1:+1:+1.+1Z", "2020-01-01T00:00:00",
        "2020-01-01T00:00:00.-5Z", "2020-01-01T00:00:00.1234567Z", "2020-01-01T00:00:00. 5Z", " 2020 - 01-01T00:00:00Z",
        "9999-99-99T99:99:99.999999Z", "2020-\v1-\f1T\r1:\n1:\t1.  1Z", "2020-0x1-01T00:00:00Z", "1-2-3T4:5:6.7Z"};
    for (const char* t : texts)
        for (int r = 0; r <= 2; ++r) {
            // Both start from the same fields: those not assigned must be left alone by both.
            UtcFields expected{-7, -7, -7, -7, -7, -7, -7};
            UtcFields actual = expected;
            const int e = sscanfUtc(t, r, expected);
            EXPECT_EQ(fieldsOf(MOX::TIME::impl::scanUtc(t, r, actual), actual), fieldsOf(e, expected))
                << '"' << t << "\" at resolution " << r;
        }
}
