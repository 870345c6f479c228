#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include <mox/rt/StringUtils.h>

#include "MoxTestSupport.h"

using MOX::Int64;
using MOX::RT::StringUtils;

namespace {

// Each text must make `read` throw the -1009 argument error of `function`.
void expectRejected(const std::function<void(const std::string&)>& read, const std::vector<std::string>& texts,
                    const std::string& function)
{
    for (const std::string& text : texts)
        EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(
            [&] { read(text); }, -1009, ("MOX::RT::StringUtils::" + function).c_str()))
            << '"' << text << '"';
}

} // namespace

TEST(StringUtils, AffixesTrimAndGlobMatching)
{
    const struct { std::string text, affix; bool starts, ends; } affixes[] = {
        {"abc", "", true, true}, {"abc", "ab", true, false}, {"abc", "abcd", false, false},
        {std::string("a\0b", 3), std::string("\0b", 2), false, true}};
    for (const auto& r : affixes)
        EXPECT_EQ(StringUtils::StartsWith(r.text, r.affix) + 2 * StringUtils::EndsWith(r.text, r.affix),
                  r.starts + 2 * r.ends) << r.text << " / " << r.affix;
    EXPECT_EQ(StringUtils::Trim(std::string(" \t\n\v\f\r a\0b \r\n", 13)), std::string("a\0b", 3));

    const struct { const char *text, *pattern; bool match; } globs[] = {
        {"", "***", true},    {"", "?", false},       {"abc", "ABC", false},  {"abc", "ab", false},
        {"ac", "a?c", false}, {"abcbc", "*bc", true}, {"xabcabd", "*ab?", true},
        {"mississippi", "m*iss*ppi", true}, {"mississippi", "m*iss*ppx", false}, {"a", "?*?", false}};
    for (const auto& r : globs)
        EXPECT_EQ(StringUtils::Matches(r.text, r.pattern), r.match) << r.text << " ~ " << r.pattern;
    // Exponential with naive backtracking.
    std::string pattern;
    for (int i = 0; i < 40; ++i)
        pattern += "*a";
    EXPECT_FALSE(StringUtils::Matches(std::string(4000, 'a'), pattern + "b"));
}

TEST(StringUtils, IntegersLimitsAndRejections)
{
    EXPECT_EQ(StringUtils::AsInteger(std::to_string(INT_MIN)), INT_MIN);
    EXPECT_EQ(StringUtils::AsInteger("\t-0012\n"), -12);
    EXPECT_EQ(StringUtils::AsLong(std::to_string(LONG_MIN)), LONG_MIN);
    EXPECT_EQ(StringUtils::AsInt64(StringUtils::ToString(LLONG_MAX)), LLONG_MAX);
    expectRejected([](const std::string& s) { StringUtils::AsInteger(s); },
                   {"2147483648", "-2147483649", "7x", "", "   ", "+", "+-5", "- 5", "5 5", "0x10", "1e3", "\xd9\xa3",
                    std::string("5\0", 2)},
                   "AsInteger");
    expectRejected([](const std::string& s) { StringUtils::AsLong(s); }, {"9223372036854775808"}, "AsLong");
    expectRejected([](const std::string& s) { StringUtils::AsInt64(s); }, {"-9223372036854775809", ""}, "AsInt64");
}

TEST(StringUtils, FloatsRoundTripShortestAndRejections)
{
    for (double v : {-0.0, 0.1, 1.0 / 3.0, -2.5e-300, DBL_MAX, std::numeric_limits<double>::denorm_min(),
                     std::nextafter(1.0, 2.0)}) {
        const std::string text = StringUtils::ToString(v);
        EXPECT_EQ(StringUtils::AsDouble(text), v) << text;
        EXPECT_EQ(std::signbit(StringUtils::AsDouble(text)), std::signbit(v)) << text;
    }
    for (float v : {0.1f, FLT_MAX, std::numeric_limits<float>::denorm_min()})
        EXPECT_EQ(StringUtils::AsFloat(StringUtils::ToString(v)), v) << v;
    EXPECT_EQ(StringUtils::ToString(0.1) + StringUtils::ToString(0.1f), "0.10.1");
    EXPECT_EQ(StringUtils::AsDouble(" -inf "), -std::numeric_limits<double>::infinity());
    expectRejected([](const std::string& s) { StringUtils::AsDouble(s); },
                   {"", "1.5x", "1,5", "1e", "1e999", "1e-999", "1.0 2", std::string("1\0", 2)}, "AsDouble");
    expectRejected([](const std::string& s) { StringUtils::AsFloat(s); }, {"1e39", "1e-50"}, "AsFloat");
}

TEST(StringUtils, FloatsIgnoreProcessLocale)
{
    // Builds a decimal-comma locale into a private directory when the system has none.
    char dir[] = "/tmp/mox-locale-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string remove = std::string("rm -rf ") + dir;
    if (std::system((std::string("localedef -i de_DE -f UTF-8 ") + dir + "/de_DE.UTF-8 >/dev/null 2>&1").c_str()) != 0) {
        std::system(remove.c_str());
        GTEST_SKIP() << "localedef cannot build a decimal-comma locale here";
    }
    ::setenv("LOCPATH", dir, 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    ASSERT_EQ(std::string(::localeconv()->decimal_point), ",");
    EXPECT_EQ(StringUtils::AsDouble("1.5") + StringUtils::AsFloat(" 2.25 "), 3.75);
    EXPECT_EQ(StringUtils::ToString(1.5) + StringUtils::ToString(2.25f), "1.52.25");
    EXPECT_THROW(StringUtils::AsDouble("1,5"), MOX::EXCEPTIONS::InvalidArgumentException);
    std::setlocale(LC_ALL, "C");
    std::system(remove.c_str());
}
