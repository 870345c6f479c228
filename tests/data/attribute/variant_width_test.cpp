// SPDX-License-Identifier: MIT
// Integer widths: every "Long" a writer makes fits in 32 bits, and a wider long (such as
// std::int64_t on LP64) reads back as an "Int64".
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include <mox/attr/IVariant.h>

using MOX::Int64;
using MOX::ATTR::IVariant;
using MOX::RT::SmartPointer;

TEST(VariantWidth, LongsWiderThan32BitsBecomeInt64)
{
    if (sizeof(long) <= 4)
        GTEST_SKIP() << "long has 32 bits here";
    constexpr long kMax32 = std::numeric_limits<std::int32_t>::max();
    constexpr long kMin32 = std::numeric_limits<std::int32_t>::min();
    const struct {
        SmartPointer<IVariant> variant;
        const char* type;
        Int64 value;
    } rows[] = {
        {MOX::createVariant(7L, "t"), "Long", 7},
        {MOX::createVariant(kMax32, "t"), "Long", kMax32},
        {MOX::createVariant(kMin32, "t"), "Long", kMin32},
        {MOX::createVariant(kMax32 + 1, "t"), "Int64", kMax32 + 1},
        {MOX::createVariant(kMin32 - 1, "t"), "Int64", kMin32 - 1},
        {MOX::createVariant(std::numeric_limits<std::int64_t>::min(), "t"), "Int64",
         std::numeric_limits<Int64>::min()},
        {MOX::createVariant(Int64{7}, "t"), "Int64", 7},
    };
    for (const auto& row : rows) {
        const IVariant& v = *row.variant;
        ASSERT_EQ(v.getType(), row.type) << v.getValue();
        EXPECT_EQ(v.getType() == "Long" ? v.asLong() : v.asInt64(), row.value);
        EXPECT_EQ(v.getTag(), "t");
    }
}
