// Date-time values: factories, the clock, seconds and microseconds, add, order.
#include <ctime>

#include <gtest/gtest.h>

#include <mox/time/IDateTime.h>

#include "data/time/DateTimeImpl.h"
#include "data/time/TimeOracle.h"

using MOX::RT::SmartPointer;
using MOX::TIME::DateTimeImpl;
using MOX::TIME::IDateTime;
using namespace timetest;

namespace {

int resolutionOf(const SmartPointer<IDateTime>& d) { return d.dynamicCast<DateTimeImpl>()->getResolution(); }

long long clockMilliseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

} // namespace

TEST(DateTimeValue, CreatedValuesSplitIntoSecondsAndMicroseconds)
{
    const SmartPointer<IDateTime> d = MOX::createDateTime(1500000);
    EXPECT_EQ(resolutionOf(d), 2);
    EXPECT_EQ(d->getTime(), 1500000);
    EXPECT_EQ(d->getSeconds(), 1);
    EXPECT_EQ(d->getMicroseconds(), 500000);
    EXPECT_EQ(d->marshal(), oracleText(1500000, 2));

    // Before the epoch both parts truncate toward zero.
    const SmartPointer<IDateTime> before = MOX::createDateTime(-1500000);
    EXPECT_EQ(before->getSeconds(), -1);
    EXPECT_EQ(before->getMicroseconds(), -500000);
    EXPECT_EQ(before->getSeconds() * kMicros + before->getMicroseconds(), -1500000);
    const SmartPointer<IDateTime> tiny = MOX::createDateTime(-1);
    EXPECT_EQ(tiny->getSeconds(), 0);
    EXPECT_EQ(tiny->getMicroseconds(), -1);

    // Each factory call makes a new object.
    EXPECT_FALSE(MOX::createDateTime(5).sharesWith(MOX::createDateTime(5)));
}

TEST(DateTimeValue, AddMovesTheTimeAndKeepsTheResolution)
{
    SmartPointer<IDateTime> d = MOX::createDateTime(0);
    d->unmarshal("2020-03-01T00:00:00Z");
    const long long start = d->getTime();
    d->add(-1000000);
    EXPECT_EQ(d->getTime(), start - kMicros);
    EXPECT_EQ(resolutionOf(d), 0);
    EXPECT_EQ(d->marshal(), oracleText(gregorianTime(2020, 2, 29, 23, 59, 59), 0));
    d->add(1000001);
    EXPECT_EQ(d->getTime(), start + 1);
    EXPECT_EQ(d->marshal(), oracleText(start, 0));
    EXPECT_EQ(d->toMicrosecondString(), oracleText(start + 1, 2));

    // Into negative times and back.
    SmartPointer<IDateTime> e = MOX::createDateTime(500);
    e->add(-1500);
    EXPECT_EQ(e->getTime(), -1000);
    EXPECT_EQ(e->getMicroseconds(), -1000);
    e->add(1000);
    EXPECT_EQ(e->getTime(), 0);
    EXPECT_EQ(resolutionOf(e), 2);
}

TEST(DateTimeValue, OrderIsByTimeAlone)
{
    SmartPointer<IDateTime> seconds = MOX::createDateTime(0);
    seconds->unmarshal("2020-01-01T00:00:00Z");
    SmartPointer<IDateTime> micro = MOX::createDateTime(seconds->getTime());
    ASSERT_NE(resolutionOf(seconds), resolutionOf(micro));
    EXPECT_FALSE(seconds->lessThan(*micro));
    EXPECT_FALSE(micro->lessThan(*seconds));
    EXPECT_TRUE(seconds == micro);

    const SmartPointer<IDateTime> early = MOX::createDateTime(-5);
    const SmartPointer<IDateTime> late = MOX::createDateTime(5);
    EXPECT_TRUE(early->lessThan(*late));
    EXPECT_FALSE(late->lessThan(*early));
}

TEST(DateTimeValue, CurrentTimeIsTheWallClockInWholeMilliseconds)
{
    for (int i = 0; i < 50; ++i) {
        const long long before = clockMilliseconds() * 1000;
        const SmartPointer<IDateTime> now = MOX::getCurrentTime();
        const long long after = clockMilliseconds() * 1000;
        EXPECT_EQ(now->getTime() % 1000, 0);
        EXPECT_GE(now->getTime(), before);
        EXPECT_LE(now->getTime(), after);
        EXPECT_EQ(resolutionOf(now), 2);
        EXPECT_EQ(now->marshal().substr(23, 4), "000Z");
    }
}
