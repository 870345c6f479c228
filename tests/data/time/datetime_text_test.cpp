// Date-time values and their text form: writing against the C library's calendar, round
// trips at each resolution, the reading's missing century rule, times outside 1970..3000,
// seconds and microseconds, add, order and the clock.
#include <climits>
#include <ctime>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include <mox/time/IDateTime.h>

#include "data/time/DateTimeImpl.h"
#include "data/time/TimeOracle.h"
#include "data/time/impl/UtcText.h"

using MOX::RT::SmartPointer;
using MOX::TIME::DateTimeImpl;
using MOX::TIME::IDateTime;
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
            ASSERT_LE(n, sizeof text);
            ASSERT_EQ(std::string(text, n), oracleText(t, r)) << t << " at resolution " << r;
        }
        const SmartPointer<IDateTime> d = MOX::createDateTime(t);
        ASSERT_EQ(d->marshal(), oracleText(t, 2)) << t;
        ASSERT_EQ(d->toString(), d->marshal());
        ASSERT_EQ(d->toMillisecondString(), oracleText(t, 1)) << t;
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
    EXPECT_EQ(read("2000-03-01T00:00:00.250Z")->getTime(), 951868800250000LL);
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
    EXPECT_EQ(read("2100-03-01T00:00:00Z")->marshal(), oracleText(gregorianTime(2100, 3, 2), 0));
    EXPECT_EQ(read("2100-02-29T00:00:00Z")->getTime(), gregorianTime(2100, 3, 1));
    EXPECT_EQ(read("2400-03-01T00:00:00Z")->getTime(), gregorianTime(2400, 3, 1) + 3 * kDay);
}

TEST(DateTimeValue, PartsTruncateTowardZeroAddKeepsTheResolutionAndTheClockIsInMilliseconds)
{
    for (const auto& [time, seconds, micros] : std::vector<std::tuple<long long, long long, long long>>{
             {1500000, 1, 500000}, {-1500000, -1, -500000}, {-1, 0, -1}}) {
        const SmartPointer<IDateTime> d = MOX::createDateTime(time);
        EXPECT_EQ(std::make_pair(d->getSeconds(), d->getMicroseconds()), std::make_pair(seconds, micros)) << time;
    }
    SmartPointer<IDateTime> d = read("2020-03-01T00:00:00Z");
    const long long start = d->getTime();
    d->add(-1000000);
    EXPECT_EQ(d->marshal(), "2020-02-29T23:59:59Z");
    d->add(1000001);
    EXPECT_EQ(d->getTime(), start + 1);
    EXPECT_EQ(d->marshal(), oracleText(start, 0));
    // The order is by time alone, whatever the resolutions.
    EXPECT_TRUE(read("2020-03-01T00:00:00Z") == MOX::createDateTime(start));
    EXPECT_TRUE(MOX::createDateTime(-5)->lessThan(*MOX::createDateTime(5)));

    timespec before{}, after{};
    clock_gettime(CLOCK_REALTIME, &before);
    const SmartPointer<IDateTime> now = MOX::getCurrentTime();
    clock_gettime(CLOCK_REALTIME, &after);
    EXPECT_EQ(now->getTime() % 1000, 0);
    EXPECT_GE(now->getTime(), (before.tv_sec * 1000LL + before.tv_nsec / 1000000) * 1000);
    EXPECT_LE(now->getTime(), (after.tv_sec * 1000LL + after.tv_nsec / 1000000) * 1000);
    EXPECT_EQ(resolutionOf(now), 2);
}
