// SPDX-License-Identifier: MIT
// Date-time reading on arbitrary text (through createDateTime(0)->unmarshal). Checks:
// the field scanner returns exactly what sscanf returns; a failed read leaves the time
// alone; a read time writes like gmtime_r does and, from 1968 to 2100-02-28, reads back.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <mox/time.h>

#include "data/time/DateTimeImpl.h"
#include "data/time/impl/UtcText.h"

namespace {

using MOX::TIME::impl::UtcFields;

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

bool sameFields(const UtcFields& a, const UtcFields& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second && a.fraction == b.fraction;
}

// The date and time of day gmtime_r gives for the second at or before `time`.
bool sameCalendar(long long time, const std::string& text)
{
    long long seconds = time / 1000000;
    if (time % 1000000 < 0)
        --seconds;
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (gmtime_r(&t, &tm) == nullptr)
        return true;  // outside what the C library can say
    char expected[64];
    const long long year = static_cast<long long>(tm.tm_year) + 1900;
    std::snprintf(expected, sizeof expected, "%s%04lld-%02d-%02dT%02d:%02d:%02d", year < 0 ? "-" : "",
                  year < 0 ? -year : year, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text.compare(0, std::string(expected).size(), expected) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (int r = 0; r <= 2; ++r) {
        UtcFields expected{1, 2, 3, 4, 5, 6, 7};
        UtcFields actual = expected;
        if (sscanfUtc(text.c_str(), r, expected) != MOX::TIME::impl::scanUtc(text.c_str(), r, actual) ||
            !sameFields(expected, actual))
            std::abort();
    }

    const auto d = MOX::createDateTime(-42);
    try {
        d->unmarshal(text);
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException&) {
        if (d->getTime() != -42)
            std::abort();
        return 0;
    }
    const std::string written = d->marshal();
    if (!sameCalendar(d->getTime(), written))
        std::abort();
    // 1968-01-01 to 2100-03-01: the reading's day count agrees with the calendar.
    if (d->getTime() >= -63158400000000LL && d->getTime() < 4107542400000000LL) {
        const auto again = MOX::createDateTime(0);
        again->unmarshal(written);
        if (again->getTime() != d->getTime() || again->marshal() != written)
            std::abort();
    }
    return 0;
}
