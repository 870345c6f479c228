// SPDX-License-Identifier: MIT
// Allocations per decoded item, under a counting global operator new: reading an
// attributes document builds each attribute from two blocks, whatever its values;
// reading an identities document makes each identity one block (and its set node).
#include <string>

#include <gtest/gtest.h>

#include <mox/attr/Attributes.h>
#include <mox/authn/IdentityDocuments.h>

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
    // The attribute with its values and its name, each in one block with its counter;
    // and the long value's text while it is read.
    EXPECT_LE(perAttribute, 3) << perAttribute;
}

TEST(DocumentAllocation, EachDecodedIdentityTakesOneBlockAndItsSetNode)
{
    constexpr long kItems = 3000;
    std::string doc = "<identities>";
    for (long i = 0; i < kItems; ++i) {
        const std::string n = std::to_string(i);
        doc += i % 3 == 0 ? "<UserIdentifier format=\"QEL\">NT:CORPORATION/user-with-a-long-name" + n + "</UserIdentifier>"
               : i % 3 == 1 ? "<GroupIdentifier format=\"EMAIL\">group-with-a-long-name" + n + "@example.org</GroupIdentifier>"
                            : "<identity format=\"NT\" authority=\"CORPORATION\" account=\"printer" + n +
                                  "\" type=\"Printers\"/>";
    }
    doc += "</identities>";
    MOX::parseIdentities(doc); // the thread's parser and the codec manager are made once
    const long before = moxtest::allocations.load();
    const auto identities = MOX::parseIdentities(doc);
    ASSERT_EQ(identities.size(), static_cast<std::size_t>(kItems));
    // The few blocks of the reused item and the parser's buffers spread over all items.
    EXPECT_LE(moxtest::allocations.load() - before, 2 * kItems + 16) << moxtest::allocations.load() - before;
}
