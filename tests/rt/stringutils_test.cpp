#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/StringUtils.h>

using MOX::Int64;
using MOX::EXCEPTIONS::ErrorCode;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::RT::StringUtils;

namespace {

// Calls `read` on `text` and checks it throws the -1009 form naming `function`.
template <class F>
void expectRejected(F read, const std::string& text, const char* function)
{
    try {
        read(text);
        ADD_FAILURE() << "accepted \"" << text << "\"";
    } catch (const InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), -1009) << text;
        EXPECT_EQ(e.getMessage(), MOX::EXCEPTIONS::errorMessage(ErrorCode::NotAnInteger)) << text;
        EXPECT_EQ(e.getFacility(), "MOX");
        EXPECT_EQ(e.getFunction(), function) << text;
        EXPECT_GT(e.getLine(), 0);
    }
}

std::string plusOne(const std::string& decimal)
{
    // Adds one to a non-negative decimal text (or its magnitude after a '-').
    std::string s = decimal;
    std::size_t i = s.size();
    while (i > 0) {
        --i;
        if (s[i] == '-')
            break;
        if (s[i] != '9') {
            ++s[i];
            return s;
        }
        s[i] = '0';
    }
    s.insert(s[0] == '-' ? 1 : 0, "1");
    return s;
}

} // namespace

TEST(StringUtilsPrefixes, StartsAndEndsWith)
{
    EXPECT_TRUE(StringUtils::StartsWith("abc", ""));
    EXPECT_TRUE(StringUtils::StartsWith("abc", "ab"));
    EXPECT_TRUE(StringUtils::StartsWith("abc", "abc"));
    EXPECT_FALSE(StringUtils::StartsWith("abc", "abcd"));
    EXPECT_FALSE(StringUtils::StartsWith("abc", "Ab"));
    EXPECT_FALSE(StringUtils::StartsWith("", "a"));
    EXPECT_TRUE(StringUtils::EndsWith("abc", ""));
    EXPECT_TRUE(StringUtils::EndsWith("abc", "bc"));
    EXPECT_FALSE(StringUtils::EndsWith("abc", "zabc"));
    EXPECT_FALSE(StringUtils::EndsWith("abc", "bC"));
    EXPECT_TRUE(StringUtils::EndsWith(std::string("a\0b", 3), std::string("\0b", 2)));
}

TEST(StringUtilsTrim, RemovesOnlyOuterWhiteSpace)
{
    EXPECT_EQ(StringUtils::Trim(" \t\n\v\f\r a b \r\n"), "a b");
    EXPECT_EQ(StringUtils::Trim("   "), "");
    EXPECT_EQ(StringUtils::Trim(""), "");
    EXPECT_EQ(StringUtils::Trim("x"), "x");
    EXPECT_EQ(StringUtils::Trim(std::string("\0x", 2)), std::string("\0x", 2));
}

TEST(StringUtilsMatches, GlobCorners)
{
    EXPECT_TRUE(StringUtils::Matches("", ""));
    EXPECT_TRUE(StringUtils::Matches("", "*"));
    EXPECT_TRUE(StringUtils::Matches("", "***"));
    EXPECT_FALSE(StringUtils::Matches("", "?"));
    EXPECT_FALSE(StringUtils::Matches("a", ""));
    EXPECT_TRUE(StringUtils::Matches("abc", "abc"));
    EXPECT_FALSE(StringUtils::Matches("abc", "ABC"));
    EXPECT_FALSE(StringUtils::Matches("abc", "ab"));
    EXPECT_FALSE(StringUtils::Matches("ab", "abc"));
    EXPECT_TRUE(StringUtils::Matches("abc", "a?c"));
    EXPECT_FALSE(StringUtils::Matches("ac", "a?c"));
    EXPECT_TRUE(StringUtils::Matches("abc", "*"));
    EXPECT_TRUE(StringUtils::Matches("abc", "a*"));
    EXPECT_TRUE(StringUtils::Matches("abc", "*c"));
    EXPECT_TRUE(StringUtils::Matches("abc", "a*c"));
    EXPECT_TRUE(StringUtils::Matches("ac", "a*c"));
    EXPECT_FALSE(StringUtils::Matches("abd", "a*c"));
    EXPECT_TRUE(StringUtils::Matches("abcbc", "*bc"));
    EXPECT_TRUE(StringUtils::Matches("xabcabd", "*ab?"));
    EXPECT_TRUE(StringUtils::Matches("mississippi", "m*iss*ppi"));
    EXPECT_FALSE(StringUtils::Matches("mississippi", "m*iss*ppx"));
    EXPECT_TRUE(StringUtils::Matches("a*b", "a*b"));
    EXPECT_TRUE(StringUtils::Matches("a?b", "a?b"));
    EXPECT_TRUE(StringUtils::Matches("aXb", "a?b"));  // '?' in a pattern is never literal only
    EXPECT_FALSE(StringUtils::Matches("a", "a?"));
    EXPECT_TRUE(StringUtils::Matches("ab", "?*?"));
    EXPECT_FALSE(StringUtils::Matches("a", "?*?"));
    // The text's own '*' is an ordinary character.
    EXPECT_FALSE(StringUtils::Matches("*", "a"));

    // A pattern that would take exponential time with naive backtracking.
    const std::string text(4000, 'a');
    std::string pattern;
    for (int i = 0; i < 40; ++i)
        pattern += "*a";
    EXPECT_TRUE(StringUtils::Matches(text, pattern));
    EXPECT_FALSE(StringUtils::Matches(text, pattern + "b"));
}

TEST(StringUtilsIntegers, LimitsAndForms)
{
    const std::string intMax = std::to_string(INT_MAX);
    const std::string intMin = std::to_string(INT_MIN);
    EXPECT_EQ(StringUtils::AsInteger(intMax), INT_MAX);
    EXPECT_EQ(StringUtils::AsInteger(intMin), INT_MIN);
    EXPECT_EQ(StringUtils::AsInteger("+5"), 5);
    EXPECT_EQ(StringUtils::AsInteger(" 7 "), 7);
    EXPECT_EQ(StringUtils::AsInteger("\t-0012\n"), -12);
    EXPECT_EQ(StringUtils::AsInteger("-0"), 0);
    EXPECT_EQ(StringUtils::AsLong(std::to_string(LONG_MAX)), LONG_MAX);
    EXPECT_EQ(StringUtils::AsLong(std::to_string(LONG_MIN)), LONG_MIN);
    EXPECT_EQ(StringUtils::AsInt64(std::to_string(LLONG_MAX)), LLONG_MAX);
    EXPECT_EQ(StringUtils::AsInt64(std::to_string(LLONG_MIN)), LLONG_MIN);

    auto asInt = [](const std::string& s) { return StringUtils::AsInteger(s); };
    auto asLong = [](const std::string& s) { return StringUtils::AsLong(s); };
    auto asInt64 = [](const std::string& s) { return StringUtils::AsInt64(s); };
    const char* fInt = "MOX::RT::StringUtils::AsInteger";
    for (const std::string& bad : {plusOne(intMax), plusOne(intMin), std::string("7x"), std::string(""),
                                  std::string("   "), std::string("+"), std::string("-"), std::string("+-5"),
                                  std::string("++5"), std::string("- 5"), std::string("5 5"), std::string("0x10"),
                                  std::string("1e3"), std::string("1.0"), std::string("\xd9\xa3"),
                                  std::string("5\0", 2)})
        expectRejected(asInt, bad, fInt);
    expectRejected(asLong, plusOne(std::to_string(LONG_MAX)), "MOX::RT::StringUtils::AsLong");
    expectRejected(asLong, "x", "MOX::RT::StringUtils::AsLong");
    expectRejected(asInt64, plusOne(std::to_string(LLONG_MIN)), "MOX::RT::StringUtils::AsInt64");
    expectRejected(asInt64, "", "MOX::RT::StringUtils::AsInt64");
}

TEST(StringUtilsIntegers, ToStringReadsBack)
{
    for (int v : {0, 1, -1, INT_MAX, INT_MIN, 1234567})
        EXPECT_EQ(StringUtils::AsInteger(StringUtils::ToString(v)), v);
    for (long v : {0L, LONG_MAX, LONG_MIN})
        EXPECT_EQ(StringUtils::AsLong(StringUtils::ToString(v)), v);
    for (Int64 v : {0LL, LLONG_MAX, LLONG_MIN, -42LL})
        EXPECT_EQ(StringUtils::AsInt64(StringUtils::ToString(v)), v);
    EXPECT_EQ(StringUtils::ToString(-42), std::to_string(-42));
    EXPECT_EQ(StringUtils::ToString(UINT_MAX), std::to_string(UINT_MAX));
    EXPECT_EQ(StringUtils::ToString(ULONG_MAX), std::to_string(ULONG_MAX));
    EXPECT_EQ(StringUtils::ToString(0u), "0");
}

TEST(StringUtilsFloats, RoundTripsIncludingDenormals)
{
    const double doubles[] = {0.0, -0.0, 0.1, 1.0 / 3.0, 1e300, -2.5e-300, DBL_MAX, DBL_MIN,
                              std::numeric_limits<double>::denorm_min(), 4.9406564584124654e-320,
                              123456789.125, std::nextafter(1.0, 2.0)};
    for (double v : doubles) {
        const std::string text = StringUtils::ToString(v);
        const double back = StringUtils::AsDouble(text);
        EXPECT_EQ(back, v) << text;
        EXPECT_EQ(std::signbit(back), std::signbit(v)) << text;
        // Shortest: dropping the last significant digit no longer reads back.
        EXPECT_EQ(text, StringUtils::ToString(back));
    }
    EXPECT_EQ(StringUtils::ToString(0.1), "0.1");
    EXPECT_EQ(StringUtils::ToString(0.1f), "0.1");
    const float floats[] = {0.0f, 0.1f, 1.0f / 3.0f, FLT_MAX, FLT_MIN, std::numeric_limits<float>::denorm_min(),
                            -3.4e-41f, 16777216.0f};
    for (float v : floats) {
        const std::string text = StringUtils::ToString(v);
        EXPECT_EQ(StringUtils::AsFloat(text), v) << text;
    }
    EXPECT_TRUE(std::isinf(StringUtils::AsDouble(StringUtils::ToString(std::numeric_limits<double>::infinity()))));
    EXPECT_TRUE(std::isnan(StringUtils::AsDouble(StringUtils::ToString(std::numeric_limits<double>::quiet_NaN()))));
    EXPECT_TRUE(std::isnan(StringUtils::AsFloat("nan")));
    EXPECT_EQ(StringUtils::AsDouble(" -inf "), -std::numeric_limits<double>::infinity());
}

TEST(StringUtilsFloats, FormsAndRejections)
{
    EXPECT_EQ(StringUtils::AsDouble(" +1.5e3\n"), 1500.0);
    EXPECT_EQ(StringUtils::AsDouble(".5"), 0.5);
    EXPECT_EQ(StringUtils::AsDouble("5."), 5.0);
    EXPECT_EQ(StringUtils::AsDouble("1E-2"), 0.01);
    EXPECT_EQ(StringUtils::AsFloat("2.5"), 2.5f);
    auto asDouble = [](const std::string& s) { return StringUtils::AsDouble(s); };
    auto asFloat = [](const std::string& s) { return StringUtils::AsFloat(s); };
    const char* fD = "MOX::RT::StringUtils::AsDouble";
    const char* fF = "MOX::RT::StringUtils::AsFloat";
    for (const std::string& bad : {std::string(""), std::string(" "), std::string("1.5x"), std::string("1,5"),
                                  std::string("1e"), std::string("e5"), std::string("1e999"), std::string("-1e999"),
                                  std::string("1e-999"), std::string("1.0 2"), std::string("1\0", 2)})
        expectRejected(asDouble, bad, fD);
    for (const std::string& bad : {std::string("1e39"), std::string("-1e39"), std::string("1e-50"), std::string("x")})
        expectRejected(asFloat, bad, fF);
    // Values the double range holds but float does not.
    EXPECT_EQ(StringUtils::AsDouble("1e39"), 1e39);
}

TEST(StringUtilsFloats, IgnoreProcessLocale)
{
    // A locale with ',' as the decimal separator must not change reading or writing.
    // Build one into a private directory when the system has none installed.
    char dir[] = "/tmp/mox-locale-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    const std::string command = std::string("localedef -i de_DE -f UTF-8 ") + dir + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        std::system((std::string("rm -rf ") + dir).c_str());
        GTEST_SKIP() << "localedef cannot build a decimal-comma locale here";
    }
    ::setenv("LOCPATH", dir, 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    ASSERT_EQ(std::string(::localeconv()->decimal_point), ",");  // the setting really took
    EXPECT_EQ(StringUtils::AsDouble("1.5"), 1.5);
    EXPECT_EQ(StringUtils::AsFloat(" 2.25 "), 2.25f);
    EXPECT_EQ(StringUtils::ToString(1.5), "1.5");
    EXPECT_EQ(StringUtils::ToString(2.25f), "2.25");
    EXPECT_THROW(StringUtils::AsDouble("1,5"), InvalidArgumentException);
    std::setlocale(LC_ALL, "C");
    std::system((std::string("rm -rf ") + dir).c_str());
}

TEST(StringUtilsShred, OverwritesEveryByteKeepingLength)
{
    std::string secret = "s3cr3t password with some length beyond small-string storage";
    const std::size_t length = secret.size();
    const char* data = secret.data();
    StringUtils::shredString(secret);
    EXPECT_EQ(secret.size(), length);
    EXPECT_EQ(secret.data(), data);  // in place, not reallocated
    EXPECT_EQ(secret, std::string(length, '\0'));
    std::string empty;
    StringUtils::shredString(empty);
    EXPECT_TRUE(empty.empty());
}
