// SPDX-License-Identifier: MIT
// Allocations per decoded attribute, under a counting global operator new: reading an
// attributes document builds each attribute from a handful of blocks, whatever its size.
#include <string>

#include <gtest/gtest.h>

#include <mox/attr/Attributes.h>

#include "AllocationCounter.h"

TEST(DocumentAllocation, EachDecodedAttributeTakesABoundedNumberOfBlocks)
{
    constexpr long kAttributes = 2000;
    std::string doc = "<attributes>";
    for (long i = 0; i < kAttributes; ++i)
        doc += "<attribute name=\"n" + std::to_string(i % 100) + "\" type=\"String\"><value>short</value>"
               "<value>a value too long for the small-string buffer</value></attribute>";
    doc += "</attributes>";
    MOX::Attributes::unmarshal(doc); // the thread's parser and the codec manager are made once
    const long before = moxtest::allocations.load();
    const auto list = MOX::Attributes::unmarshal(doc);
    const long perAttribute = (moxtest::allocations.load() - before) / kAttributes;
    ASSERT_EQ(list.size(), static_cast<std::size_t>(kAttributes));
    // The attribute and its name (each in one block with its counter), the value list,
    // one long value.
    EXPECT_LE(perAttribute, 4) << perAttribute;
}
