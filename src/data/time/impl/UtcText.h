// SPDX-License-Identifier: MIT
#pragma once
// The date-time text form, written and read without the C library's calendar and
// scanf calls (which dominate the cost of a date-time's marshal and unmarshal), with
// exactly their results.
#include <cstddef>
#include <string>

namespace MOX {
namespace TIME {
namespace impl {

/// Resolutions of the text form.
enum Resolution : int { kSeconds = 0, kMilliseconds = 1, kMicroseconds = 2 };

/// Room for the longest text `formatUtc` writes (a year of seven characters, a
/// six-digit fraction), with a margin.
constexpr std::size_t kUtcTextCapacity = 40;

/// Writes the text form of `time` (microseconds since the epoch) at `resolution` into
/// `out` (at least kUtcTextCapacity bytes, no terminating NUL) and returns its length.
/// From 1970 on this is what gmtime_r, strftime("%Y-%m-%dT%H:%M:%S") and the fraction's
/// printf pattern give; for other times see IDateTime.
std::size_t formatUtc(long long time, int resolution, char* out) noexcept;
/// The same as a string.
std::string formatUtc(long long time, int resolution);

/// The fields of a text, as scanned.
struct UtcFields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    long long fraction = 0;  ///< as written: milliseconds at resolution 1, microseconds at 2
};

/// The scanf pattern of a resolution: "%4d-%02d-%02dT%02d:%02d:%02dZ", with
/// ".%03lld" (resolution 1) or ".%06lld" (resolution 2) before the Z.
const char* utcPattern(int resolution) noexcept;
/// The number of fields the pattern of `resolution` assigns: 6, or 7 with a fraction.
int utcFieldCount(int resolution) noexcept;

/// Scans `text` (up to its first NUL) as glibc's sscanf(text, utcPattern(resolution),
/// &year, &month, &day, &hour, &minute, &second[, &fraction]) does and returns what it
/// returns: EOF (-1) when the text ends before the first field, otherwise the number of
/// fields assigned (the first ones of `fields`; the others are left as they were).
int scanUtc(const char* text, int resolution, UtcFields& fields) noexcept;

/// Days from 1970-01-01 to the given date, counting every fourth year as a leap year
/// (no century rule) and taking `day` as it is, unchecked. `month` must be 1 to 12.
long long utcDays(int year, int month, int day) noexcept;
/// Microseconds since the epoch of scanned fields at `resolution` (the month 1 to 12).
long long utcTime(const UtcFields& fields, int resolution) noexcept;

} // namespace impl
} // namespace TIME
} // namespace MOX
