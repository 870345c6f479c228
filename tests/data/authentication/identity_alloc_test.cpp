// Identity comparisons against a counting global operator new: once the name and
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

void* countedAllocation(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) { return countedAllocation(size); }
void* operator new[](std::size_t size) { return countedAllocation(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

using MOX::AUTHN::IdentitySet;
using MOX::AUTHN::IIdentity;
using MOX::RT::SmartPointer;

namespace {
std::vector<SmartPointer<IIdentity>> principals()
{
    const auto corp = MOX::createAuthorityId("NT", "CORP");
    const auto ldap = MOX::createAuthorityId("LDAP", "\\\\CORP");
    return {
        MOX::createUserIdentity(corp, "alice"),
        MOX::createUserIdentity("EMAIL", "alice@CORP"),
        MOX::createUserIdentity("UPN", "alice@CORP"),
        MOX::createUserIdentity(ldap, "alice"),
        MOX::createGroupIdentity(corp, "alice"),
        MOX::createGroupIdentity("EMAIL", "admins@CORP"),
        MOX::createGroupIdentity(corp, "admins"),
        MOX::createUserIdentity("EMAIL", "bob@OTHER"),
        MOX::createUserIdentity("QEL", "NT:CORP/bob"),
        MOX::createIdentity(corp, MOX::AUTHN::createAccountId("Printers", "lp")),
        MOX::createUserIdentity("EMAIL", "a-rather-long-name-beyond-any-small-string-buffer@CORP"),
    };
}

// Fills both caches the way a first comparison would.
void warm(const std::vector<SmartPointer<IIdentity>>& identities)
{
    for (const auto& identity : identities) {
        identity->getName();
        identity->getAuthorityName();
    }
}
} // namespace

TEST(IdentityAllocation, WarmComparisonsAndLookupsDoNotAllocate)
{
    const std::vector<SmartPointer<IIdentity>> members = principals();
    const std::vector<SmartPointer<IIdentity>> probes = principals();
    warm(members);
    warm(probes);
    // Its name is never cached (it is empty); working it out again must not allocate.
    const SmartPointer<IIdentity> nameless = MOX::createUserIdentity("EMAIL", "nobody");
    const IdentitySet set(members.begin(), members.end());
    const IdentitySet empty;

    const long before = g_allocations.load();
    int less = 0;
    int found = 0;
    for (const auto& a : probes) {
        for (const auto& b : members) {
            less += MOX::AUTHN::compareIdentities(*a, *b) < 0;
            less += a->lessThan(*b);
            less += a < b;
        }
        less += a->lessThan(*nameless) + nameless->lessThan(*a);
        found += MOX::containsIdentity(a, set);
        found += MOX::containsIdentity(a, empty);
    }
    found += MOX::containsIdentity(nameless, set);
    found += MOX::containsIdentity(set, set);
    const long after = g_allocations.load();

    EXPECT_EQ(after - before, 0);
    // Every probe has an equivalent member, the nameless one none.
    EXPECT_EQ(found, static_cast<int>(probes.size()) + 1);
    EXPECT_GT(less, 0);
}

TEST(IdentityAllocation, FirstComparisonFillsTheCachesOnce)
{
    const SmartPointer<IIdentity> qel = MOX::createUserIdentity(MOX::createAuthorityId("NT", "CORP"),
                                                                "a-name-long-enough-to-need-the-heap");
    const SmartPointer<IIdentity> email = MOX::createUserIdentity("EMAIL", "a-name-long-enough-to-need-the-heap@CORP");

    const long before = g_allocations.load();
    const bool firstLess = qel->lessThan(*email);
    const long afterFirst = g_allocations.load();
    const bool secondLess = qel->lessThan(*email) || email->lessThan(*qel);
    const long afterSecond = g_allocations.load();

    EXPECT_FALSE(firstLess);
    EXPECT_FALSE(secondLess);
    // The first comparison derived names and authorities (so the counter sees the
    // library's allocations); the second found everything cached.
    EXPECT_GT(afterFirst - before, 0);
    EXPECT_EQ(afterSecond - afterFirst, 0);
    const auto& impl = dynamic_cast<const MOX::AUTHN::IdentityImpl&>(*qel);
    EXPECT_TRUE(impl.hasCachedName());
    EXPECT_TRUE(impl.hasCachedAuthority());
}
