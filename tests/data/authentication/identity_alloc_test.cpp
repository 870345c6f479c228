// Identity comparisons under a counting global operator new: once the name and
// authority caches are filled, comparing and looking up identities allocates nothing.
#include <gtest/gtest.h>

#include <mox/authn/IIdentity.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "data/authentication/IdentityImpl.h"

namespace {
std::atomic<long> g_allocations{0};
} // namespace

void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

using MOX::AUTHN::IIdentity;
using MOX::RT::SmartPointer;

namespace {
// Users and groups in QEL, EMAIL and UPN, some equivalent across formats, with texts
// long enough to live on the heap. Both caches are filled, as a first comparison would.
std::vector<SmartPointer<IIdentity>> warmPrincipals()
{
    const auto nt = MOX::createAuthorityId("NT", "CORPORATION-DOMAIN");
    const auto ldap = MOX::createAuthorityId("LDAP", "\\\\CORPORATION-DOMAIN");
    std::vector<SmartPointer<IIdentity>> all = {
        MOX::createUserIdentity(nt, "alice-with-a-long-name"),
        MOX::createUserIdentity("EMAIL", "alice-with-a-long-name@CORPORATION-DOMAIN"),
        MOX::createUserIdentity("UPN", "alice-with-a-long-name@CORPORATION-DOMAIN"),
        MOX::createUserIdentity(ldap, "alice-with-a-long-name"),
        MOX::createGroupIdentity(nt, "alice-with-a-long-name"),
        MOX::createGroupIdentity("EMAIL", "administrators@CORPORATION-DOMAIN"),
        MOX::createUserIdentity("EMAIL", "bob@OTHER"),
        MOX::createIdentity(nt, MOX::AUTHN::createAccountId("Printers", "lp")),
    };
    for (const auto& identity : all) {
        identity->getName();
        identity->getAuthorityName();
    }
    return all;
}
} // namespace

TEST(IdentityAllocation, WarmComparisonsAndLookupsDoNotAllocate)
{
    const std::vector<SmartPointer<IIdentity>> members = warmPrincipals();
    const std::vector<SmartPointer<IIdentity>> probes = warmPrincipals();
    // Its (empty) name is never cached; working it out again must not allocate either.
    const SmartPointer<IIdentity> nameless = MOX::createUserIdentity("EMAIL", "nobody-without-a-domain");
    const MOX::AUTHN::IdentitySet set(members.begin(), members.end());

    const long before = g_allocations.load();
    int less = 0;
    int found = 0;
    for (const auto& a : probes) {
        for (const auto& b : members)
            less += a->lessThan(*b) + (a < b);
        less += a->lessThan(*nameless) + nameless->lessThan(*a);
        found += MOX::containsIdentity(a, set);
    }
    found += MOX::containsIdentity(nameless, set) + MOX::containsIdentity(set, set);
    const long allocated = g_allocations.load() - before;

    EXPECT_EQ(allocated, 0);
    EXPECT_EQ(found, static_cast<int>(probes.size()) + 1);   // every probe; not the nameless one
    EXPECT_GT(less, 0);
}

TEST(IdentityAllocation, FirstComparisonFillsTheCachesOnce)
{
    const SmartPointer<IIdentity> qel =
        MOX::createUserIdentity(MOX::createAuthorityId("NT", "CORP"), "a-name-long-enough-to-need-the-heap");
    const SmartPointer<IIdentity> email = MOX::createUserIdentity("EMAIL", "a-name-long-enough-to-need-the-heap@CORP");
    const long before = g_allocations.load();
    const bool firstLess = qel->lessThan(*email);
    const long afterFirst = g_allocations.load();
    const bool secondLess = qel->lessThan(*email) || email->lessThan(*qel);
    const long afterSecond = g_allocations.load();

    EXPECT_FALSE(firstLess || secondLess);
    EXPECT_GT(afterFirst - before, 0);   // the counter sees the library's cache filling
    EXPECT_EQ(afterSecond - afterFirst, 0);
    EXPECT_TRUE(dynamic_cast<const MOX::AUTHN::IdentityImpl&>(*qel).hasCachedAuthority());
}
