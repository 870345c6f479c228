// SPDX-License-Identifier: MIT
// StringUtils number readers and glob matching, checked against simple references.
// Input: a selector byte, then the text (for Matches: text and pattern split at the first
// NUL byte).
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include <mox/rt/Exceptions.h>
#include <mox/rt/StringUtils.h>

using MOX::RT::StringUtils;

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// Reference integer reader: optional sign, digits only, in range of [lo, hi].
bool referenceInteger(const std::string& text, long long lo, long long hi, long long& out)
{
    const std::string t = StringUtils::Trim(text);
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    if (i == t.size())
        return false;
    for (std::size_t k = i; k < t.size(); ++k)
        if (t[k] < '0' || t[k] > '9')
            return false;
    errno = 0;
    const long long v = std::strtoll(t.c_str(), nullptr, 10);
    if (errno == ERANGE || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

template <class T, class Read>
void checkInteger(const std::string& text, Read read)
{
    long long expected = 0;
    const bool valid = referenceInteger(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), expected);
    try {
        const T v = read(text);
        check(valid && v == expected);
        check(read(StringUtils::ToString(v)) == v);
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        check(!valid && e.getCode() == -1009);
    }
}

template <class T, class Read>
void checkFloat(const std::string& text, Read read)
{
    try {
        const T v = read(text);
        const T back = read(StringUtils::ToString(v));
        check(std::isnan(v) ? std::isnan(back) : back == v && std::signbit(back) == std::signbit(v));
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        check(e.getCode() == -1009);
    }
}

// Reference glob matcher by dynamic programming.
bool referenceMatch(const std::string& t, const std::string& p)
{
    std::vector<std::vector<char>> m(p.size() + 1, std::vector<char>(t.size() + 1, 0));
    m[0][0] = 1;
    for (std::size_t i = 1; i <= p.size(); ++i) {
        for (std::size_t j = 0; j <= t.size(); ++j) {
            if (p[i - 1] == '*')
                m[i][j] = m[i - 1][j] || (j > 0 && m[i][j - 1]);
            else
                m[i][j] = j > 0 && m[i - 1][j - 1] && (p[i - 1] == '?' || p[i - 1] == t[j - 1]);
        }
    }
    return m[p.size()][t.size()];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 4096)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 6) {
    case 0: checkInteger<int>(text, [](const std::string& s) { return StringUtils::AsInteger(s); }); break;
    case 1: checkInteger<long>(text, [](const std::string& s) { return StringUtils::AsLong(s); }); break;
    case 2: checkInteger<MOX::Int64>(text, [](const std::string& s) { return StringUtils::AsInt64(s); }); break;
    case 3: checkFloat<float>(text, [](const std::string& s) { return StringUtils::AsFloat(s); }); break;
    case 4: checkFloat<double>(text, [](const std::string& s) { return StringUtils::AsDouble(s); }); break;
    default: {
        const std::size_t nul = text.find('\0');
        const std::string t = text.substr(0, nul);
        const std::string p = nul == std::string::npos ? std::string() : text.substr(nul + 1);
        check(StringUtils::Matches(t, p) == referenceMatch(t, p));
        break;
    }
    }
    return 0;
}
