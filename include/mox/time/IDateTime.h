// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// UTC date-times in microseconds and their factories.
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/Marshallable.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace TIME {

/// A point in time: microseconds since 1970-01-01T00:00:00Z, with the resolution in
/// which it is written as text.
///
/// Text form: a UTC timestamp such as 2026-12-04T05:38:45Z, with a fraction of three
/// (milliseconds) or six (microseconds) digits before the Z, as the resolution says.
/// New date-times have microsecond resolution; only `unmarshal` sets another one (the
/// one of the text it read).
///
/// Writing follows the Gregorian calendar. Reading counts every fourth year as a leap
/// year (there is no century rule), so from 2100-03-01 on a text reads as one day later
/// per century year that is not a leap year (2100, 2200, 2300, 2500, ...) than the time
/// it was written from. Texts from 1968-01-01 to 2100-02-28 round-trip exactly (before
/// 1968 the reading's leap-day count, truncated toward zero, is off by a day as well).
///
/// Reading takes each field as scanf's "%4d", "%02d" and "%03lld"/"%06lld" would: the
/// widths are maxima, leading white space and a sign are allowed within a field, and the
/// fraction is an integer (".5" at millisecond resolution is 5 ms). Only the month is
/// range-checked; a day such as 2020-01-32 runs on into the next month.
///
/// The text form is defined from 1970 to the end of 3000. Other times are written in the
/// same shape: a year after 9999 gets more digits, and a time before 1970 is written as
/// the Gregorian date and time of day at or before it with a non-negative fraction
/// (-1 microsecond is 1969-12-31T23:59:59.999999Z), years before 1000 padded to four
/// digits and years before year 0 with a minus sign.
class MOX_API IDateTime : public virtual Object, public virtual Marshallable {
public:
    ~IDateTime() override;

    /// Whole seconds since the epoch, truncated toward zero (so negative before 1970).
    virtual long long getSeconds() const = 0;
    /// The part of the time below `getSeconds()`, in microseconds: 0 to 999,999 from
    /// 1970 on, 0 to -999,999 before.
    virtual long long getMicroseconds() const = 0;
    /// Microseconds since 1970-01-01T00:00:00Z.
    virtual long long getTime() const = 0;
    /// Moves the time by `microseconds` (negative: back); the resolution is kept.
    virtual void add(long long microseconds) = 0;
    /// The text form with a three-digit fraction, whatever the resolution.
    virtual std::string toMillisecondString() const = 0;
    /// The text form with a six-digit fraction, whatever the resolution.
    virtual std::string toMicrosecondString() const = 0;
    /// Earlier time first; the resolutions play no part.
    virtual bool lessThan(const IDateTime& other) const = 0;
};

} // namespace TIME

/// The wall clock now, to the millisecond (the last three digits of the microsecond
/// value are 0), with microsecond resolution.
MOX_API RT::SmartPointer<TIME::IDateTime> getCurrentTime();

/// A date-time at `microseconds` since the epoch, with microsecond resolution. To read
/// a text, create one (for example at 0) and call `unmarshal`.
MOX_API RT::SmartPointer<TIME::IDateTime> createDateTime(long long microseconds);

} // namespace MOX
