// SPDX-License-Identifier: MIT
// Identity comparisons under a counting global operator new: once the name and
// authority caches are filled, comparing and looking up identities allocates nothing.
#include <gtest/gtest.h>

#include <mox/authn/IIdentity.h>

#include <vector>

#include "AllocationCounter.h"

using MOX::AUTHN::IIdentity;
using MOX::RT::SmartPointer;

TEST(IdentityAllocation, FirstComparisonFillsTheCachesAndLaterOnesDoNotAllocate)
{
    // Users and groups in QEL, EMAIL and UPN, some equivalent across formats, with texts
    // long enough to live on the heap.
    const auto principals = [] {
        const auto nt = MOX::createAuthorityId("NT", "CORPORATION-DOMAIN");
        return std::vector<SmartPointer<IIdentity>>{
            MOX::createUserIdentity(nt, "alice-with-a-long-name"),
            MOX::createUserIdentity("EMAIL", "alice-with-a-long-name@CORPORATION-DOMAIN"),
            MOX::createUserIdentity(MOX::createAuthorityId("LDAP", "\\\\CORPORATION-DOMAIN"), "alice-with-a-long-name"),
            MOX::createGroupIdentity("EMAIL", "administrators@CORPORATION-DOMAIN"),
            MOX::createIdentity(nt, MOX::AUTHN::createAccountId("Printers", "lp")),
        };
    };
    const std::vector<SmartPointer<IIdentity>> members = principals(), probes = principals();
    // The counter sees the caches filling on a first comparison, and only then.
    long before = moxtest::allocations.load();
    EXPECT_FALSE(probes[0]->lessThan(*probes[1]));
    EXPECT_GT(moxtest::allocations.load() - before, 0);
    for (const auto& list : {&members, &probes}) // both caches, as a first comparison would fill them
        for (const auto& identity : *list)
            (void)identity->getName(), (void)identity->getAuthorityName();
    // Its (empty) name is never cached; working it out again must not allocate either.
    const SmartPointer<IIdentity> nameless = MOX::createUserIdentity("EMAIL", "nobody-without-a-domain");
    const MOX::AUTHN::IdentitySet set(members.begin(), members.end());

    before = moxtest::allocations.load();
    int less = 0, found = 0;
    for (const auto& a : probes) {
        for (const auto& b : members)
            less += a->lessThan(*b) + (a < b);
        less += a->lessThan(*nameless) + nameless->lessThan(*a);
        found += MOX::containsIdentity(a, set);
    }
    found += MOX::containsIdentity(nameless, set) + MOX::containsIdentity(set, set);
    EXPECT_EQ(moxtest::allocations.load() - before, 0);
    EXPECT_EQ(found, static_cast<int>(probes.size()) + 1); // every probe; not the nameless one
    EXPECT_GT(less, 0);
}
