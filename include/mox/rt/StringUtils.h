// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// String and number conversions.
#include <string>

#include <mox/rt/Export.h>

namespace MOX {

/// The platform's signed 64-bit integer. It is `long long` so that its overloads stay
/// distinct from `long` on LP64 systems, where both are 64 bits wide.
using Int64 = long long;

namespace RT {

/// String helpers of the runtime. All comparisons are byte-wise and case-sensitive.
///
/// The number readers accept optional surrounding white space and a whole decimal
/// number of the type (a leading '+' or '-' allowed; for the floating-point readers any
/// form `strtod` reads, including exponents, "inf" and "nan"). Anything else, an empty
/// text, trailing junk or a value out of the type's range throws
/// `InvalidArgumentException` with code -1009 and the function name
/// ("MOX::RT::StringUtils::AsInteger", ...). `long` is the platform's native long
/// (64 bits on LP64 Linux).
class MOX_RT_API StringUtils {
public:
    /// True when `text` begins with `prefix`.
    static bool StartsWith(const std::string& text, const std::string& prefix) noexcept;
    /// True when `text` ends with `suffix`.
    static bool EndsWith(const std::string& text, const std::string& suffix) noexcept;
    /// Glob match of the whole `text` against `pattern`: '*' matches any run of
    /// characters (also none), '?' exactly one character, any other character itself.
    /// Runs in O(|text| * |pattern|) at worst, never exponentially.
    static bool Matches(const std::string& text, const std::string& pattern) noexcept;
    /// `text` without leading and trailing white space (space, `\t`, `\n`, `\v`, `\f`, `\r`).
    static std::string Trim(const std::string& text);

    /// Reads an `int`; see the class description for what is rejected.
    static int AsInteger(const std::string& text);
    /// Reads a `long`.
    static long AsLong(const std::string& text);
    /// Reads a 64-bit integer.
    static Int64 AsInt64(const std::string& text);
    /// Reads a `float` (out of float range: -1009).
    static float AsFloat(const std::string& text);
    /// Reads a `double` (out of double range: -1009).
    static double AsDouble(const std::string& text);

    /// Decimal text of an int.
    static std::string ToString(int value);
    /// Decimal text of a long.
    static std::string ToString(long value);
    /// Decimal text of a 64-bit integer.
    static std::string ToString(Int64 value);
    /// Decimal text of an unsigned int.
    static std::string ToString(unsigned int value);
    /// Decimal text of an unsigned long.
    static std::string ToString(unsigned long value);
    /// The shortest text that AsFloat reads back to exactly `value`.
    static std::string ToString(float value);
    /// The shortest text that AsDouble reads back to exactly `value`.
    static std::string ToString(double value);

    /// Overwrites every byte of `text` with zeros through a volatile access the optimiser
    /// cannot remove; the length is unchanged.
    static void shredString(std::string& text) noexcept;
};

} // namespace RT
} // namespace MOX
