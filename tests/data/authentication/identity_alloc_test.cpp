// SPDX-License-Identifier: MIT
// Identities under a counting global operator new: an identity made from its texts is
// one block, long texts included, and comparing and looking up identities allocates
// nothing, from the first comparison on.
#include <gtest/gtest.h>

#include <mox/authn/IIdentity.h>

#include <string>
#include <vector>

#include "AllocationCounter.h"

using MOX::AUTHN::IIdentity;
using MOX::RT::SmartPointer;

TEST(IdentityAllocation, OneBlockPerIdentity)
{
    const std::string format = "EMAIL", other = "X500-DIRECTORY-NAME", text(200, 'a'), email = text + "@CORPORATION";
    const long before = moxtest::allocations.load(), freed = moxtest::frees.load();
    {
        const SmartPointer<IIdentity> user = MOX::createUserIdentity(format, email);
        const SmartPointer<IIdentity> foreign = MOX::createGroupIdentity(other, text);
        EXPECT_EQ(moxtest::allocations.load() - before, 2);
    }
    EXPECT_EQ(moxtest::frees.load() - freed, 2);
}

TEST(IdentityAllocation, ComparisonsAndLookupsDoNotAllocate)
{
    // Users and groups in QEL, EMAIL and UPN, some equivalent across formats, with texts
    // long enough to live on the heap, and one whose authority cannot be derived.
    const auto nt = MOX::createAuthorityId("NT", "CORPORATION-DOMAIN");
    const std::vector<SmartPointer<IIdentity>> members{
        MOX::createUserIdentity(nt, "alice-with-a-long-name"),
        MOX::createUserIdentity("EMAIL", "alice-with-a-long-name@CORPORATION-DOMAIN"),
        MOX::createUserIdentity(MOX::createAuthorityId("LDAP", "\\\\CORPORATION-DOMAIN"), "alice-with-a-long-name"),
        MOX::createGroupIdentity("EMAIL", "administrators@CORPORATION-DOMAIN"),
        MOX::createIdentity(nt, MOX::AUTHN::createAccountId("Printers", "lp")),
        MOX::createUserIdentity("EMAIL", "nobody-without-a-domain"),
    };
    const MOX::AUTHN::IdentitySet set(members.begin(), members.end());
    const std::vector<SmartPointer<IIdentity>> probes{
        MOX::createUserIdentity("UPN", "alice-with-a-long-name@CORPORATION-DOMAIN"),
        MOX::createGroupIdentity(nt, "administrators"), MOX::createUserIdentity("QEL", "NT:OTHER/bob")};

    const long before = moxtest::allocations.load();
    int less = 0, found = 0;
    for (const auto& a : probes) {
        for (const auto& b : members)
            less += a->lessThan(*b) + (b < a);
        found += MOX::containsIdentity(a, set);
    }
    found += MOX::containsIdentity(set, set);
    EXPECT_EQ(moxtest::allocations.load() - before, 0);
    EXPECT_EQ(found, 3); // the UPN and group probes, and the set in itself
    EXPECT_GT(less, 0);
}
