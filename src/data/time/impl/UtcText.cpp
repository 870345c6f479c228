// SPDX-License-Identifier: MIT
#include "data/time/impl/UtcText.h"

#include <cstdio>

namespace MOX {
namespace TIME {
namespace impl {

namespace {

constexpr long long kMicrosPerSecond = 1000000;
constexpr long long kSecondsPerDay = 86400;

// "00" to "99", so that two digits are one copy.
struct DigitPairs {
    char text[200];
    constexpr DigitPairs() : text()
    {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr DigitPairs kPairs;

inline char* put2(char* out, unsigned value) noexcept
{
    out[0] = kPairs.text[2 * value];
    out[1] = kPairs.text[2 * value + 1];
    return out + 2;
}

// `value` in exactly `digits` digits, zero-padded (value < 10^digits).
inline char* putFixed(char* out, unsigned long long value, int digits) noexcept
{
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    return out + digits;
}

// A year as %04lld would write it: at least four digits, a minus sign before negative
// years (only times long before the epoch have one).
inline char* putYear(char* out, long long year) noexcept
{
    unsigned long long magnitude;
    if (year < 0) {
        *out++ = '-';
        magnitude = static_cast<unsigned long long>(-year);
    } else {
        magnitude = static_cast<unsigned long long>(year);
    }
    if (magnitude < 10000)
        return putFixed(out, magnitude, 4);
    char digits[24];
    int n = 0;
    while (magnitude != 0) {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    while (n > 0)
        *out++ = digits[--n];
    return out;
}

// Gregorian date of a day count since 1970-01-01 (any sign), by whole 400-year eras.
inline void civilFromDays(long long days, long long& year, unsigned& month, unsigned& day) noexcept
{
    days += 719468;  // days from 0000-03-01 to 1970-01-01
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);                         // [0, 146096]
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;  // [0, 399]
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);     // [0, 365], from March
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;                                      // [0, 11], March = 0
    day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    year = static_cast<long long>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

inline bool isScanSpace(char c) noexcept
{
    // isspace in the "C" locale: space, \t, \n, \v, \f, \r.
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Result of one step of the scan.
enum Step { kStored, kMatchFailure, kInputFailure };

// A literal character of the pattern: must be the next character.
inline Step scanLiteral(const char*& p, char literal) noexcept
{
    if (*p == '\0')
        return kInputFailure;
    if (*p != literal)
        return kMatchFailure;
    ++p;
    return kStored;
}

// "%<width>d" / "%<width>lld": white space skipped (not counted in the width), then
// within `width` characters an optional sign and the decimal digits; at least one digit.
inline Step scanNumber(const char*& p, int width, long long& value) noexcept
{
    while (isScanSpace(*p))
        ++p;
    if (*p == '\0')
        return kInputFailure;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
        --width;
    }
    long long n = 0;
    int digits = 0;
    while (width > 0 && *p >= '0' && *p <= '9') {
        n = n * 10 + (*p - '0');
        ++p;
        --width;
        ++digits;
    }
    if (digits == 0)
        return kMatchFailure;
    value = negative ? -n : n;
    return kStored;
}

// Cumulative days at the start of each month of a common year.
constexpr int kMonthStart[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};

} // namespace

std::size_t formatUtc(long long time, int resolution, char* out) noexcept
{
    long long seconds = time / kMicrosPerSecond;
    long long fraction = time % kMicrosPerSecond;
    if (fraction < 0) {  // before the epoch: the second at or before the time
        fraction += kMicrosPerSecond;
        --seconds;
    }
    long long days = seconds / kSecondsPerDay;
    long long secondOfDay = seconds % kSecondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += kSecondsPerDay;
        --days;
    }
    long long year;
    unsigned month, day;
    civilFromDays(days, year, month, day);
    const unsigned sod = static_cast<unsigned>(secondOfDay);

    char* p = putYear(out, year);
    *p++ = '-';
    p = put2(p, month);
    *p++ = '-';
    p = put2(p, day);
    *p++ = 'T';
    p = put2(p, sod / 3600);
    *p++ = ':';
    p = put2(p, sod / 60 % 60);
    *p++ = ':';
    p = put2(p, sod % 60);
    if (resolution == kMilliseconds) {
        *p++ = '.';
        p = putFixed(p, static_cast<unsigned long long>(fraction / 1000), 3);
    } else if (resolution != kSeconds) {
        *p++ = '.';
        p = putFixed(p, static_cast<unsigned long long>(fraction), 6);
    }
    *p++ = 'Z';
    return static_cast<std::size_t>(p - out);
}

std::string formatUtc(long long time, int resolution)
{
    char text[kUtcTextCapacity];
    return std::string(text, formatUtc(time, resolution, text));
}

const char* utcPattern(int resolution) noexcept
{
    switch (resolution) {
    case kSeconds: return "%4d-%02d-%02dT%02d:%02d:%02dZ";
    case kMilliseconds: return "%4d-%02d-%02dT%02d:%02d:%02d.%03lldZ";
    default: return "%4d-%02d-%02dT%02d:%02d:%02d.%06lldZ";
    }
}

int utcFieldCount(int resolution) noexcept { return resolution == kSeconds ? 6 : 7; }

int scanUtc(const char* text, int resolution, UtcFields& fields) noexcept
{
    // The pattern, step by step: a literal character, or a field of a width.
    struct Directive {
        char literal;  // 0 for a field
        int width;
    };
    static constexpr Directive kDate[] = {{0, 4}, {'-', 0}, {0, 2}, {'-', 0}, {0, 2}, {'T', 0},
                                          {0, 2}, {':', 0}, {0, 2}, {':', 0}, {0, 2}};
    int* const targets[] = {&fields.year, &fields.month, &fields.day, &fields.hour, &fields.minute, &fields.second};

    const char* p = text;
    int done = 0;
    // End of text before the first field is EOF; every other failure returns the count.
    auto fail = [&done](Step step) { return step == kInputFailure && done == 0 ? EOF : done; };

    for (const Directive& d : kDate) {
        if (d.literal) {
            const Step s = scanLiteral(p, d.literal);
            if (s != kStored)
                return fail(s);
            continue;
        }
        long long value = 0;
        const Step s = scanNumber(p, d.width, value);
        if (s != kStored)
            return fail(s);
        *targets[done++] = static_cast<int>(value);  // at most four characters: no overflow
    }
    if (resolution != kSeconds) {
        Step s = scanLiteral(p, '.');
        if (s != kStored)
            return fail(s);
        long long value = 0;
        s = scanNumber(p, resolution == kMilliseconds ? 3 : 6, value);
        if (s != kStored)
            return fail(s);
        fields.fraction = value;
        ++done;
    }
    // The final Z decides nothing: a mismatch or the end of the text there leaves the
    // count as it is.
    return done;
}

long long utcDays(int year, int month, int day) noexcept
{
    const long long y = static_cast<long long>(year) - 1900;
    const int m = month - 1;
    // (y - 68) / 4 truncates toward zero, as the platform always did.
    long long days = kMonthStart[m] + static_cast<long long>(day) - 1 + (y - 70) * 365 + (y - 68) / 4;
    if (y % 4 == 0 && m < 2)
        --days;
    return days;
}

long long utcTime(const UtcFields& fields, int resolution) noexcept
{
    const long long days = utcDays(fields.year, fields.month, fields.day);
    const long long seconds = ((days * 24 + fields.hour) * 60 + fields.minute) * 60 + fields.second;
    long long fraction = 0;
    if (resolution == kMilliseconds)
        fraction = fields.fraction * 1000;
    else if (resolution != kSeconds)
        fraction = fields.fraction;
    return seconds * kMicrosPerSecond + fraction;
}

} // namespace impl
} // namespace TIME
} // namespace MOX
