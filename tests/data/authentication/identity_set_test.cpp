// The identity order and identity sets: one principal across formats, types never
// merged, the non-transitive corner, containsIdentity in both forms.
#include <gtest/gtest.h>

#include <mox/authn/IIdentity.h>

#include "data/authentication/AuthnTestSupport.h"
#include "data/authentication/IdentityImpl.h"

using MOX::AUTHN::IdentitySet;
using MOX::AUTHN::IIdentity;
using MOX::RT::SmartPointer;
using namespace authntest;

namespace {
SmartPointer<IIdentity> qel(const char* authorityFormat, const char* name, bool group = false)
{
    const auto authority = MOX::createAuthorityId(authorityFormat, "CORP");
    return group ? MOX::createGroupIdentity(authority, name) : MOX::createUserIdentity(authority, name);
}
SmartPointer<IIdentity> user(const char* format, const char* value) { return MOX::createUserIdentity(format, value); }
SmartPointer<IIdentity> group(const char* format, const char* value) { return MOX::createGroupIdentity(format, value); }

bool same(const SmartPointer<IIdentity>& a, const SmartPointer<IIdentity>& b)
{
    return !a->lessThan(*b) && !b->lessThan(*a);
}
} // namespace

TEST(IdentityOrder, QelMatchesTheAtFormatsOfTheSamePrincipal)
{
    const SmartPointer<IIdentity> nt = qel("NT", "alice");
    const SmartPointer<IIdentity> email = user("EMAIL", "alice@CORP");
    EXPECT_TRUE(same(nt, email) && same(nt, user("UPN", "alice@CORP")) && same(nt, user("EMAIL", "alice@\\\\CORP")));
    // Without a QEL side the formats count ("EMAIL" < "UPN").
    EXPECT_TRUE(email->lessThan(*user("UPN", "alice@CORP")));
    for (const char* other : {"alice@OTHER", "bob@CORP", "Alice@CORP", "alice@corp"})
        EXPECT_FALSE(same(nt, user("EMAIL", other))) << other;
    // QEL texts with different authority formats differ; UNKNOWN matches either.
    const SmartPointer<IIdentity> ldap = qel("LDAP", "alice");
    EXPECT_TRUE(ldap->lessThan(*nt));
    EXPECT_TRUE(same(ldap, email));
    // Different texts order by name first.
    EXPECT_TRUE(user("EMAIL", "alice@ZZZ")->lessThan(*qel("NT", "bob")));
    EXPECT_FALSE(qel("NT", "bob")->lessThan(*user("EMAIL", "alice@ZZZ")));
}

TEST(IdentityOrder, TypesAndFormatsOfEqualTextsNeverMerge)
{
    EXPECT_TRUE(group("EMAIL", "a@b")->lessThan(*user("EMAIL", "a@b")));
    EXPECT_FALSE(user("EMAIL", "a@b")->lessThan(*group("EMAIL", "a@b")));
    EXPECT_FALSE(same(user("QEL", "NT:C/a"), user("EMAIL", "NT:C/a")));   // no QEL wildcard for equal texts
    EXPECT_FALSE(same(qel("NT", "alice", true), user("EMAIL", "alice@CORP")));
    EXPECT_TRUE(same(qel("NT", "alice", true), group("EMAIL", "alice@CORP")));
    // Equal texts never need an authority, even in formats that have none.
    EXPECT_TRUE(same(user("X500", "cn=a"), user("X500", "cn=a")));
    IdentitySet set{user("EMAIL", "a@b"), group("EMAIL", "a@b"), user("UPN", "a@b"), user("X500", "a@b"),
                    group("X500", "a@b")};
    EXPECT_EQ(set.size(), 5u);
}

TEST(IdentitySet, OnePrincipalAcrossFormatsKeepsTheFirstInserted)
{
    const SmartPointer<IIdentity> nt = qel("NT", "alice");
    const SmartPointer<IIdentity> email = user("EMAIL", "alice@CORP");
    const IdentitySet qelFirst{nt, email};
    ASSERT_EQ(qelFirst.size(), 1u);
    EXPECT_TRUE(qelFirst.begin()->sharesWith(nt));
    EXPECT_TRUE(MOX::containsIdentity(email, qelFirst) && MOX::containsIdentity(user("UPN", "alice@CORP"), qelFirst));
    const IdentitySet emailFirst{email, nt};
    ASSERT_EQ(emailFirst.size(), 1u);
    EXPECT_TRUE(emailFirst.begin()->sharesWith(email));
    EXPECT_TRUE(MOX::containsIdentity(nt, emailFirst));
    EXPECT_FALSE(MOX::containsIdentity(group("EMAIL", "alice@CORP"), qelFirst));
    EXPECT_FALSE(MOX::containsIdentity(qel("NT", "alice", true), emailFirst));
}

TEST(IdentitySet, NonTransitiveMixturesKeepWhicheverCameFirst)
{
    // q matches e and u, which differ from each other.
    const SmartPointer<IIdentity> q = qel("NT", "alice");
    const SmartPointer<IIdentity> e = user("EMAIL", "alice@CORP");
    const SmartPointer<IIdentity> u = user("UPN", "alice@CORP");
    const IdentitySet qFirst{q, e, u};
    ASSERT_EQ(qFirst.size(), 1u);
    EXPECT_TRUE(qFirst.begin()->sharesWith(q));
    const IdentitySet eFirst{e, q, u};
    ASSERT_EQ(eFirst.size(), 2u);
    EXPECT_TRUE(eFirst.begin()->sharesWith(e) && std::next(eFirst.begin())->sharesWith(u));
    EXPECT_TRUE(MOX::containsIdentity(q, eFirst));
    // Two QEL authorities of one principal both stay; its e-mail form is found.
    const IdentitySet twoAuthorities{q, qel("LDAP", "alice")};
    EXPECT_EQ(twoAuthorities.size(), 2u);
    EXPECT_TRUE(MOX::containsIdentity(e, twoAuthorities));
}

TEST(IdentitySet, ContainsForOneIdentityAndForSets)
{
    const IdentitySet empty;
    const IdentitySet staff{qel("NT", "alice"), qel("NT", "bob"), group("EMAIL", "admins@CORP")};
    EXPECT_TRUE(MOX::containsIdentity(qel("NT", "admins", true), staff));
    EXPECT_FALSE(MOX::containsIdentity(user("EMAIL", "admins@CORP"), staff));
    EXPECT_FALSE(MOX::containsIdentity(qel("NT", "carol"), staff));
    EXPECT_FALSE(MOX::containsIdentity(qel("NT", "alice"), empty));
    // An empty pointer is equivalent to everything under the set's order.
    EXPECT_TRUE(MOX::containsIdentity(SmartPointer<IIdentity>(), staff));
    EXPECT_FALSE(MOX::containsIdentity(SmartPointer<IIdentity>(), empty));

    EXPECT_FALSE(MOX::containsIdentity(empty, staff) || MOX::containsIdentity(staff, empty));
    EXPECT_FALSE(MOX::containsIdentity(IdentitySet{qel("NT", "carol"), user("EMAIL", "dave@CORP")}, staff));
    const IdentitySet oneMember{qel("NT", "carol"), user("UPN", "bob@CORP"), user("EMAIL", "zed@CORP")};
    EXPECT_TRUE(MOX::containsIdentity(oneMember, staff) && MOX::containsIdentity(staff, oneMember));
}

TEST(IdentitySet, ComparisonErrorsLeaveTheSetUnchanged)
{
    // Different texts without names or authorities: the comparison fails at the authorities.
    IdentitySet set{user("X500", "cn=a")};
    EXPECT_TRUE(throwsAuthorityError([&] { set.insert(user("X500", "cn=b")); }));
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ((*set.begin())->getValue(), "cn=a");
    EXPECT_TRUE(throwsAuthorityError([&] { MOX::containsIdentity(user("X500", "cn=b"), set); }));
    EXPECT_FALSE(MOX::containsIdentity(user("EMAIL", "x@y"), set));   // settled by the names
}
