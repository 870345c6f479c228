// SPDX-License-Identifier: MIT
#pragma once
// Independent references for the date-time tests: the C library's Gregorian calendar
// (gmtime_r, timegm, strftime, snprintf).
#include <cstdio>
#include <ctime>
#include <string>

namespace timetest {

constexpr long long kMicros = 1000000;

// The text a time gets from gmtime_r + strftime + the fraction's printf pattern, for
// years 1000 to 9999; outside those, the same fields written with at least four year
// digits. Times before the epoch use the second at or before them.
inline std::string oracleText(long long time, int resolution)
{
    long long seconds = time / kMicros;
    long long fraction = time % kMicros;
    if (fraction < 0) {
        fraction += kMicros;
        --seconds;
    }
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (gmtime_r(&t, &tm) == nullptr)
        return "gmtime_r failed";
    char date[64];
    const long long year = static_cast<long long>(tm.tm_year) + 1900;
    if (year >= 1000 && year <= 9999)
        std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &tm);
    else
        std::snprintf(date, sizeof date, "%s%04lld-%02d-%02dT%02d:%02d:%02d", year < 0 ? "-" : "",
                      year < 0 ? -year : year, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    char text[96];
    if (resolution == 0)
        std::snprintf(text, sizeof text, "%sZ", date);
    else if (resolution == 1)
        std::snprintf(text, sizeof text, "%s.%03lldZ", date, fraction / 1000);
    else
        std::snprintf(text, sizeof text, "%s.%06lldZ", date, fraction);
    return text;
}

// Microseconds of a Gregorian date and time (fields may run over, as timegm allows).
inline long long gregorianTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    return static_cast<long long>(timegm(&tm)) * kMicros;
}

// Century years that are not leap years in the Gregorian calendar but are in the
// library's reading, up to and including a date: each makes the reading one day later.
inline int skippedCenturyLeapDays(int year, int month)
{
    int count = 0;
    for (int c = 2100; c <= year; c += 100)
        if (c % 400 != 0 && (c < year || month >= 3))
            ++count;
    return count;
}

} // namespace timetest
