// The identity order and identity sets: one principal across formats, types never
// merged, the non-transitive corner, containsIdentity in both forms.
#include <gtest/gtest.h>

#include <mox/authn/IIdentity.h>

#include <vector>

#include "data/authentication/AuthnTestSupport.h"
#include "data/authentication/IdentityImpl.h"

using MOX::AUTHN::IdentitySet;
using MOX::AUTHN::IIdentity;
using MOX::RT::SmartPointer;
using namespace authntest;

namespace {
SmartPointer<IIdentity> qelUser(const char* name)
{
    return MOX::createUserIdentity(MOX::createAuthorityId("NT", "CORP"), name);
}
SmartPointer<IIdentity> user(const char* format, const char* value) { return MOX::createUserIdentity(format, value); }
SmartPointer<IIdentity> group(const char* format, const char* value) { return MOX::createGroupIdentity(format, value); }

bool same(const SmartPointer<IIdentity>& a, const SmartPointer<IIdentity>& b)
{
    return !a->lessThan(*b) && !b->lessThan(*a);
}

// An identity the library did not make: the order works through the interface alone.
class ForeignIdentity : public IIdentity {
public:
    ForeignIdentity(std::string value, std::string name, std::string authority, std::string authorityFormat)
        : m_value(std::move(value)),
          m_name(std::move(name)),
          m_authority(std::move(authority)),
          m_authorityFormat(std::move(authorityFormat))
    {
    }
    const std::string& getName() const override { return m_name; }
    const std::string& getType() const override { return m_type; }
    const std::string& getAuthorityName() const override { return m_authority; }
    const std::string& getAuthorityFormat() const override { return m_authorityFormat; }
    const std::string& getFormat() const override { return m_format; }
    const std::string& getValue() const override { return m_value; }
    bool isGroup() const override { return false; }
    bool isUser() const override { return true; }
    bool lessThan(const IIdentity& other) const override { return MOX::AUTHN::compareIdentities(*this, other) < 0; }
    std::string toString() const override { return m_value; }

private:
    std::string m_value, m_name, m_authority, m_authorityFormat;
    std::string m_type = "User", m_format = "KRB";
};
} // namespace

TEST(IdentityOrder, QelMatchesTheAtFormatsOfTheSamePrincipal)
{
    const SmartPointer<IIdentity> qel = qelUser("alice");
    const SmartPointer<IIdentity> email = user("EMAIL", "alice@CORP");
    const SmartPointer<IIdentity> upn = user("UPN", "alice@CORP");
    EXPECT_TRUE(same(qel, email));
    EXPECT_TRUE(same(qel, upn));
    EXPECT_TRUE(same(qel, user("EMAIL", "alice@\\\\CORP")));
    // Without a QEL side the formats count.
    EXPECT_FALSE(same(email, upn));
    EXPECT_TRUE(email->lessThan(*upn));   // "EMAIL" < "UPN"
    // Any part that differs keeps them apart.
    EXPECT_FALSE(same(qel, user("EMAIL", "alice@OTHER")));
    EXPECT_FALSE(same(qel, user("EMAIL", "bob@CORP")));
    EXPECT_FALSE(same(qel, user("EMAIL", "Alice@CORP")));
    EXPECT_FALSE(same(qel, user("EMAIL", "alice@corp")));
    // Two QEL texts with different authority formats are different; an UNKNOWN
    // authority format matches either.
    const SmartPointer<IIdentity> ldap = MOX::createUserIdentity(MOX::createAuthorityId("LDAP", "CORP"), "alice");
    EXPECT_FALSE(same(qel, ldap));
    EXPECT_TRUE(same(ldap, email));
    // Different texts order by name first.
    EXPECT_TRUE(user("EMAIL", "alice@ZZZ")->lessThan(*qelUser("bob")));
    EXPECT_FALSE(qelUser("bob")->lessThan(*user("EMAIL", "alice@ZZZ")));
    // The order works against implementations from elsewhere.
    const ForeignIdentity foreign("alice@CORP.KRB", "alice", "CORP", "NT");
    EXPECT_FALSE(qel->lessThan(foreign));
    EXPECT_FALSE(foreign.lessThan(*qel));
    EXPECT_TRUE(email->lessThan(foreign));   // "EMAIL" < "KRB": no wildcard between them
    EXPECT_FALSE(foreign.lessThan(*email));
    const ForeignIdentity realm("alice@CORP.KRB", "alice", "CORP", "REALM");
    EXPECT_TRUE(qel->lessThan(realm));   // "NT" < "REALM"
}

TEST(IdentityOrder, TypesAndFormatsOfEqualTextsNeverMerge)
{
    // Same text, different types: group before user.
    const SmartPointer<IIdentity> u = user("EMAIL", "a@b");
    const SmartPointer<IIdentity> g = group("EMAIL", "a@b");
    EXPECT_TRUE(g->lessThan(*u));
    EXPECT_FALSE(u->lessThan(*g));
    // Same text and type, different formats (also against QEL).
    EXPECT_FALSE(same(user("EMAIL", "a@b"), user("UPN", "a@b")));
    EXPECT_FALSE(same(user("QEL", "NT:C/a"), user("EMAIL", "NT:C/a")));
    // A QEL group and an e-mail user of the same name are different principals.
    EXPECT_FALSE(same(MOX::createGroupIdentity(MOX::createAuthorityId("NT", "CORP"), "alice"),
                      user("EMAIL", "alice@CORP")));
    EXPECT_TRUE(same(MOX::createGroupIdentity(MOX::createAuthorityId("NT", "CORP"), "alice"),
                     group("EMAIL", "alice@CORP")));
    // Equal texts never derive an authority, even in formats that have none.
    EXPECT_TRUE(same(user("X500", "cn=a"), user("X500", "cn=a")));
    EXPECT_TRUE(user("X500", "cn=a")->lessThan(*user("X600", "cn=a")));

    IdentitySet set{u, g, user("UPN", "a@b"), user("X500", "a@b"), group("X500", "a@b")};
    EXPECT_EQ(set.size(), 5u);
}

TEST(IdentitySet, OnePrincipalAcrossFormatsKeepsTheFirstInserted)
{
    const SmartPointer<IIdentity> qel = qelUser("alice");
    const SmartPointer<IIdentity> email = user("EMAIL", "alice@CORP");

    IdentitySet qelFirst;
    EXPECT_TRUE(qelFirst.insert(qel).second);
    EXPECT_FALSE(qelFirst.insert(email).second);
    ASSERT_EQ(qelFirst.size(), 1u);
    EXPECT_TRUE(qelFirst.begin()->sharesWith(qel));
    EXPECT_TRUE(MOX::containsIdentity(email, qelFirst));
    EXPECT_TRUE(MOX::containsIdentity(user("UPN", "alice@CORP"), qelFirst));

    IdentitySet emailFirst{email, qel};
    ASSERT_EQ(emailFirst.size(), 1u);
    EXPECT_TRUE(emailFirst.begin()->sharesWith(email));
    EXPECT_TRUE(MOX::containsIdentity(qel, emailFirst));

    // Types are never merged.
    EXPECT_FALSE(MOX::containsIdentity(group("EMAIL", "alice@CORP"), qelFirst));
    EXPECT_FALSE(MOX::containsIdentity(MOX::createGroupIdentity(MOX::createAuthorityId("NT", "CORP"), "alice"),
                                       emailFirst));
    EXPECT_FALSE(MOX::containsIdentity(user("EMAIL", "alice@OTHER"), qelFirst));
}

TEST(IdentitySet, NonTransitiveMixturesKeepWhicheverCameFirst)
{
    // q matches e and u, but e and u differ from each other.
    const SmartPointer<IIdentity> q = qelUser("alice");
    const SmartPointer<IIdentity> e = user("EMAIL", "alice@CORP");
    const SmartPointer<IIdentity> u = user("UPN", "alice@CORP");

    IdentitySet qFirst{q, e, u};
    ASSERT_EQ(qFirst.size(), 1u);
    EXPECT_TRUE(qFirst.begin()->sharesWith(q));

    IdentitySet eFirst{e, q, u};
    ASSERT_EQ(eFirst.size(), 2u);
    std::vector<SmartPointer<IIdentity>> kept(eFirst.begin(), eFirst.end());
    EXPECT_TRUE(kept[0].sharesWith(e));   // "EMAIL" < "UPN"
    EXPECT_TRUE(kept[1].sharesWith(u));
    EXPECT_TRUE(MOX::containsIdentity(q, eFirst));

    // Two QEL identities that differ only in their authority formats both stay, and an
    // e-mail identity of that principal is found in the set.
    const SmartPointer<IIdentity> nt = q;
    const SmartPointer<IIdentity> ldap = MOX::createUserIdentity(MOX::createAuthorityId("LDAP", "CORP"), "alice");
    IdentitySet twoAuthorities{nt, ldap};
    EXPECT_EQ(twoAuthorities.size(), 2u);
    EXPECT_TRUE(MOX::containsIdentity(e, twoAuthorities));
}

TEST(IdentitySet, ContainsForOneIdentityAndForSets)
{
    const IdentitySet empty;
    const IdentitySet staff{qelUser("alice"), qelUser("bob"), group("EMAIL", "admins@CORP")};

    EXPECT_FALSE(MOX::containsIdentity(qelUser("alice"), empty));
    EXPECT_TRUE(MOX::containsIdentity(user("EMAIL", "bob@CORP"), staff));
    EXPECT_TRUE(MOX::containsIdentity(MOX::createGroupIdentity(MOX::createAuthorityId("NT", "CORP"), "admins"), staff));
    EXPECT_FALSE(MOX::containsIdentity(user("EMAIL", "admins@CORP"), staff));
    EXPECT_FALSE(MOX::containsIdentity(qelUser("carol"), staff));

    // An empty pointer is equivalent to everything under the set's order.
    EXPECT_TRUE(MOX::containsIdentity(SmartPointer<IIdentity>(), staff));
    EXPECT_FALSE(MOX::containsIdentity(SmartPointer<IIdentity>(), empty));

    EXPECT_FALSE(MOX::containsIdentity(empty, staff));
    EXPECT_FALSE(MOX::containsIdentity(empty, empty));
    EXPECT_FALSE(MOX::containsIdentity(staff, empty));
    const IdentitySet outsiders{qelUser("carol"), user("EMAIL", "dave@CORP")};
    EXPECT_FALSE(MOX::containsIdentity(outsiders, staff));
    const IdentitySet oneMember{qelUser("carol"), user("UPN", "bob@CORP"), user("EMAIL", "zed@CORP")};
    EXPECT_TRUE(MOX::containsIdentity(oneMember, staff));
    EXPECT_TRUE(MOX::containsIdentity(staff, oneMember));
}

TEST(IdentitySet, ComparisonErrorsLeaveTheSetUnchanged)
{
    // Different texts of a format without authorities, equal (empty) names and types:
    // the comparison must reach the authorities and fails there.
    IdentitySet set{user("X500", "cn=a")};
    EXPECT_TRUE(throwsAuthorityError([&] { set.insert(user("X500", "cn=b")); }));
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ((*set.begin())->getValue(), "cn=a");
    EXPECT_TRUE(throwsAuthorityError([&] { MOX::containsIdentity(user("X500", "cn=b"), set); }));
    // A different name settles the order before the authorities are needed.
    EXPECT_FALSE(MOX::containsIdentity(user("EMAIL", "x@y"), set));
    EXPECT_TRUE(MOX::containsIdentity(user("X500", "cn=a"), set));
}
