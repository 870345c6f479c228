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

TEST(IdentityAllocation, FirstComparisonFillsTheCachesAndLaterOnesDoNotAllocate)
{
    // The counter sees the library's caches filling on a first comparison, and only then.
    const SmartPointer<IIdentity> qel =
        MOX::createUserIdentity(MOX::createAuthorityId("NT", "CORP"), "a-name-long-enough-to-need-the-heap");
    const SmartPointer<IIdentity> email = MOX::createUserIdentity("EMAIL", "a-name-long-enough-to-need-the-heap@CORP");
    long before = g_allocations.load();
    const bool firstLess = qel->lessThan(*email);
    const long first = g_allocations.load() - before;
    before = g_allocations.load();
    const bool secondLess = qel->lessThan(*email) || email->lessThan(*qel);
    const long second = g_allocations.load() - before;
    EXPECT_FALSE(firstLess || secondLess);
    EXPECT_GT(first, 0);
    EXPECT_EQ(second, 0);
    EXPECT_TRUE(dynamic_cast<const MOX::AUTHN::IdentityImpl&>(*qel).hasCachedAuthority());

    // Users and groups in QEL, EMAIL and UPN, some equivalent across formats, with texts
    // long enough to live on the heap; both caches filled, as a first comparison would.
    const auto principals = [] {
        const auto nt = MOX::createAuthorityId("NT", "CORPORATION-DOMAIN");
        std::vector<SmartPointer<IIdentity>> all = {
            MOX::createUserIdentity(nt, "alice-with-a-long-name"),
            MOX::createUserIdentity("EMAIL", "alice-with-a-long-name@CORPORATION-DOMAIN"),
            MOX::createUserIdentity("UPN", "alice-with-a-long-name@CORPORATION-DOMAIN"),
            MOX::createUserIdentity(MOX::createAuthorityId("LDAP", "\\\\CORPORATION-DOMAIN"), "alice-with-a-long-name"),
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
    };
    const std::vector<SmartPointer<IIdentity>> members = principals(), probes = principals();
    // Its (empty) name is never cached; working it out again must not allocate either.
    const SmartPointer<IIdentity> nameless = MOX::createUserIdentity("EMAIL", "nobody-without-a-domain");
    const MOX::AUTHN::IdentitySet set(members.begin(), members.end());

    before = g_allocations.load();
    int less = 0, found = 0;
    for (const auto& a : probes) {
        for (const auto& b : members)
            less += a->lessThan(*b) + (a < b);
        less += a->lessThan(*nameless) + nameless->lessThan(*a);
        found += MOX::containsIdentity(a, set);
    }
    found += MOX::containsIdentity(nameless, set) + MOX::containsIdentity(set, set);
    const long allocated = g_allocations.load() - before;
    EXPECT_EQ(allocated, 0);
    EXPECT_EQ(found, static_cast<int>(probes.size()) + 1); // every probe; not the nameless one
    EXPECT_GT(less, 0);
}
