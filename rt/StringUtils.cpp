// SPDX-License-Identifier: MIT
#include <mox/rt/StringUtils.h>
#include <mox/rt/Raise.h>

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <system_error>

#include <mox/rt/Exceptions.h>

MOX_SOURCE_FILE("rt/StringUtils")

namespace MOX {
namespace RT {

namespace {

constexpr const char kWhiteSpace[] = " \t\n\v\f\r";

[[noreturn]] void throwNotANumber(const char* function)
{
    using namespace EXCEPTIONS;
    EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::NotAnInteger, MOX_SITE(function));
}

// Reads a whole decimal integer of type T from the trimmed text, or throws.
template <class T>
T readInteger(const std::string& text, const char* function)
{
    const std::string trimmed = StringUtils::Trim(text);
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    // from_chars takes '-' but not '+'; a '+' must be followed directly by a digit.
    if (first != last && *first == '+') {
        ++first;
        if (first == last || *first < '0' || *first > '9')
            throwNotANumber(function);
    }
    if (first == last)
        throwNotANumber(function);
    T value{};
    const std::from_chars_result r = std::from_chars(first, last, value, 10);
    if (r.ec != std::errc() || r.ptr != last)
        throwNotANumber(function);
    return value;
}

// The "C" locale, made once, so that reading never depends on the process locale.
locale_t cLocale()
{
    static const locale_t loc = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

double parseWith(const char* s, char** end, double*) { return ::strtod_l(s, end, cLocale()); }
float parseWith(const char* s, char** end, float*) { return ::strtof_l(s, end, cLocale()); }

// Reads a whole floating-point number of type T the way strtod does in the "C" locale.
// Overflow and underflow to zero are out of range; a subnormal result is accepted.
template <class T>
T readFloat(const std::string& text, const char* function)
{
    const std::string trimmed = StringUtils::Trim(text);
    if (trimmed.empty())
        throwNotANumber(function);
    const char* first = trimmed.c_str();
    const char* last = first + trimmed.size();
    char* end = nullptr;
    errno = 0;
    const T value = parseWith(first, &end, static_cast<T*>(nullptr));
    const int error = errno;
    if (end != last)  // also catches an embedded NUL
        throwNotANumber(function);
    if (error == ERANGE && (std::isinf(value) || value == T(0)))
        throwNotANumber(function);
    return value;
}

template <class T>
std::string integerText(T value)
{
    char buffer[std::numeric_limits<T>::digits10 + 3];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

template <class T>
std::string floatText(T value)
{
    // Shortest round-trip form; 64 bytes hold any float or double in that form.
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

} // namespace

bool StringUtils::StartsWith(const std::string& text, const std::string& prefix) noexcept
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool StringUtils::EndsWith(const std::string& text, const std::string& suffix) noexcept
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool StringUtils::Matches(const std::string& text, const std::string& pattern) noexcept
{
    // Greedy scan remembering only the last '*': on a mismatch the last star takes one
    // more character. Earlier stars never need to be revisited, so the work is bounded
    // by |text| * |pattern|.
    std::size_t t = 0, p = 0;
    std::size_t starP = std::string::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && pattern[p] == text[t]))) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string StringUtils::Trim(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

int StringUtils::AsInteger(const std::string& text)
{
    return readInteger<int>(text, "MOX::RT::StringUtils::AsInteger");
}

long StringUtils::AsLong(const std::string& text)
{
    return readInteger<long>(text, "MOX::RT::StringUtils::AsLong");
}

Int64 StringUtils::AsInt64(const std::string& text)
{
    return readInteger<Int64>(text, "MOX::RT::StringUtils::AsInt64");
}

float StringUtils::AsFloat(const std::string& text)
{
    return readFloat<float>(text, "MOX::RT::StringUtils::AsFloat");
}

double StringUtils::AsDouble(const std::string& text)
{
    return readFloat<double>(text, "MOX::RT::StringUtils::AsDouble");
}

std::string StringUtils::ToString(int value) { return integerText(value); }
std::string StringUtils::ToString(long value) { return integerText(value); }
std::string StringUtils::ToString(Int64 value) { return integerText(value); }
std::string StringUtils::ToString(unsigned int value) { return integerText(value); }
std::string StringUtils::ToString(unsigned long value) { return integerText(value); }
std::string StringUtils::ToString(float value) { return floatText(value); }
std::string StringUtils::ToString(double value) { return floatText(value); }

void StringUtils::shredString(std::string& text) noexcept
{
    if (text.empty())
        return;
    volatile char* bytes = &text[0];
    for (std::size_t i = 0; i < text.size(); ++i)
        bytes[i] = '\0';
    // Tells the compiler the bytes may be read afterwards by anyone.
    __asm__ __volatile__("" : : "r"(&text[0]) : "memory");
}

} // namespace RT
} // namespace MOX
