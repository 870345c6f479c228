// The text form: writing against the C library's calendar, round trips at each
// resolution, the reading's missing century rule, and times outside 1970..3000.
#include <climits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include <mox/time/IDateTime.h>

#include "data/time/DateTimeImpl.h"
#include "data/time/TimeOracle.h"
#include "data/time/impl/UtcText.h"

using MOX::TIME::DateTimeImpl;
using MOX::TIME::IDateTime;
using MOX::TIME::impl::formatUtc;
using namespace timetest;

namespace {

const long long kDay = 86400 * kMicros;
const long long kEndOf3000 = gregorianTime(3001, 1, 1) - 1;
const long long kCenturyShift = gregorianTime(2100, 3, 1);

// The time a text of `resolution` keeps of `time`: the last whole second or
// millisecond at or before it.
long long truncated(long long time, int resolution)
{
    const long long unit = resolution == 0 ? kMicros : resolution == 1 ? 1000 : 1;
    const long long rest = time % unit;
    return rest < 0 ? time - rest - unit : time - rest;
}

int resolutionOf(const MOX::RT::SmartPointer<IDateTime>& d)
{
    return d.dynamicCast<DateTimeImpl>()->getResolution();
}

MOX::RT::SmartPointer<IDateTime> read(const std::string& text)
{
    MOX::RT::SmartPointer<IDateTime> d = MOX::createDateTime(0);
    d->unmarshal(text);
    return d;
}

} // namespace

TEST(DateTimeText, WritesWhatTheCalendarFunctionsWriteAtEachResolution)
{
    std::mt19937_64 random(20260104);
    std::uniform_int_distribution<long long> anyTime(0, kEndOf3000);
    std::vector<long long> times = {0, 1, 999, 1000, 999999, 1000000, kDay - 1, kDay,
                                    gregorianTime(2000, 2, 29, 23, 59, 59) + 999999,
                                    gregorianTime(2100, 2, 28, 12), gregorianTime(2100, 3, 1), kEndOf3000};
    for (int i = 0; i < 20000; ++i)
        times.push_back(anyTime(random));
    for (long long t : times) {
        for (int r = 0; r <= 2; ++r)
            ASSERT_EQ(formatUtc(t, r), oracleText(t, r)) << t << " at resolution " << r;
        const MOX::RT::SmartPointer<IDateTime> d = MOX::createDateTime(t);
        ASSERT_EQ(d->marshal(), oracleText(t, 2)) << t;
        ASSERT_EQ(d->toString(), d->marshal());
        ASSERT_EQ(d->toMillisecondString(), oracleText(t, 1)) << t;
        ASSERT_EQ(d->toMicrosecondString(), oracleText(t, 2)) << t;
    }
    EXPECT_EQ(formatUtc(0, 0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(formatUtc(1500000, 1), "1970-01-01T00:00:01.500Z");
    EXPECT_EQ(formatUtc(1500000, 2), "1970-01-01T00:00:01.500000Z");
}

TEST(DateTimeText, RoundTripsAtEachResolutionUpToTheFirstCenturyYear)
{
    std::mt19937_64 random(7);
    std::uniform_int_distribution<long long> anyTime(gregorianTime(1968, 1, 1), kCenturyShift - 1);
    for (int i = 0; i < 20000; ++i) {
        const long long t = anyTime(random);
        for (int r = 0; r <= 2; ++r) {
            const std::string text = oracleText(t, r);
            const MOX::RT::SmartPointer<IDateTime> d = read(text);
            ASSERT_EQ(d->getTime(), truncated(t, r)) << text;
            ASSERT_EQ(resolutionOf(d), r) << text;
            ASSERT_EQ(d->marshal(), text);
        }
    }

    const MOX::RT::SmartPointer<IDateTime> epoch = read("1970-01-01T00:00:00Z");
    EXPECT_EQ(epoch->getTime(), 0);
    EXPECT_EQ(resolutionOf(epoch), 0);
    EXPECT_EQ(epoch->marshal(), "1970-01-01T00:00:00Z");

    const MOX::RT::SmartPointer<IDateTime> quarter = read("2000-03-01T00:00:00.250Z");
    EXPECT_EQ(quarter->getTime(), 951868800250000LL);
    EXPECT_EQ(resolutionOf(quarter), 1);
    EXPECT_EQ(quarter->marshal(), "2000-03-01T00:00:00.250Z");

    const MOX::RT::SmartPointer<IDateTime> leap = read("2000-02-29T12:00:00.000001Z");
    EXPECT_EQ(resolutionOf(leap), 2);
    EXPECT_EQ(leap->getTime(), gregorianTime(2000, 2, 29, 12) + 1);
    EXPECT_EQ(leap->getTime() % kMicros, 1);
    EXPECT_EQ(leap->toMillisecondString(), "2000-02-29T12:00:00.000Z");
    EXPECT_EQ(leap->marshal(), "2000-02-29T12:00:00.000001Z");
}

TEST(DateTimeText, LeapDaysReadLikeTheCalendar)
{
    for (int year : {1972, 1996, 2000, 2004, 2020, 2024, 2096}) {
        const std::string text = std::to_string(year) + "-02-29T06:30:00Z";
        const MOX::RT::SmartPointer<IDateTime> d = read(text);
        EXPECT_EQ(d->getTime(), gregorianTime(year, 2, 29, 6, 30)) << text;
        EXPECT_EQ(d->marshal(), text);
        EXPECT_EQ(read(std::to_string(year) + "-03-01T00:00:00Z")->getTime() - kDay,
                  gregorianTime(year, 2, 29)) << year;
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
        const int year = std::stoi(text.substr(0, 4));
        const int month = std::stoi(text.substr(5, 2));
        ASSERT_EQ(read(text)->getTime(), t + skippedCenturyLeapDays(year, month) * kDay) << text;
    }
    EXPECT_EQ(read("2100-02-28T00:00:00Z")->getTime(), gregorianTime(2100, 2, 28));
    EXPECT_EQ(read("2100-03-01T00:00:00Z")->getTime(), gregorianTime(2100, 3, 1) + kDay);
    EXPECT_EQ(read("2100-03-01T00:00:00Z")->marshal(), oracleText(gregorianTime(2100, 3, 2), 0));
    EXPECT_EQ(read("2100-02-29T00:00:00Z")->getTime(), gregorianTime(2100, 3, 1));
    EXPECT_EQ(read("2400-03-01T00:00:00Z")->getTime(), gregorianTime(2400, 3, 1) + 3 * kDay);
}

TEST(DateTimeText, TimesOutsideTheCalendarRangeAreWrittenInTheSameShape)
{
    std::mt19937_64 random(1969);
    std::vector<long long> times = {-1, -999, -1000, -999999, -1000000, -1000001, -kDay, -kDay - 1,
                                    kEndOf3000 + 1, gregorianTime(9999, 12, 31, 23, 59, 59) + 999999,
                                    gregorianTime(10000, 1, 1), 1000000000000000000LL, LLONG_MAX,
                                    LLONG_MIN, LLONG_MIN + 1, -1000000000000000000LL};
    std::uniform_int_distribution<long long> anyTime(LLONG_MIN, LLONG_MAX);
    for (int i = 0; i < 5000; ++i)
        times.push_back(anyTime(random));
    for (long long t : times) {
        for (int r = 0; r <= 2; ++r) {
            char text[MOX::TIME::impl::kUtcTextCapacity];
            const std::size_t n = formatUtc(t, r, text);
            ASSERT_LE(n, sizeof text);
            ASSERT_EQ(std::string(text, n), oracleText(t, r)) << t << " at resolution " << r;
        }
    }
    EXPECT_EQ(MOX::createDateTime(-1)->marshal(), "1969-12-31T23:59:59.999999Z");
    // Before the epoch, back to 1968, the written text reads back to the same time.
    std::uniform_int_distribution<long long> early(gregorianTime(1968, 1, 1), -1);
    for (int i = 0; i < 2000; ++i) {
        const long long t = early(random);
        ASSERT_EQ(read(MOX::createDateTime(t)->marshal())->getTime(), t) << t;
    }
}
