// Identities: construction, the derived name and authority with their caches, conversion
// between formats with its trace lines, the identity order and identity sets.
#include <gtest/gtest.h>

#include <mox/authn/IIdentity.h>
#include <mox/rt/Tracer.h>

#include <vector>

#include "data/authentication/AuthnTestSupport.h"
#include "data/authentication/IdentityImpl.h"

using MOX::AUTHN::IdentityImpl;
using MOX::AUTHN::IdentitySet;
using MOX::AUTHN::IIdentity;
using MOX::RT::SmartPointer;
using namespace authntest;

namespace {
const IdentityImpl& impl(const SmartPointer<IIdentity>& identity) { return dynamic_cast<const IdentityImpl&>(*identity); }

SmartPointer<MOX::AUTHN::IAuthorityId> ntCorp() { return MOX::createAuthorityId("NT", "CORP"); }
SmartPointer<IIdentity> qel(const char* authorityFormat, const char* name, bool group = false)
{
    const auto authority = MOX::createAuthorityId(authorityFormat, "CORP");
    return group ? MOX::createGroupIdentity(authority, name) : MOX::createUserIdentity(authority, name);
}
SmartPointer<IIdentity> user(const char* format, const char* value) { return MOX::createUserIdentity(format, value); }
SmartPointer<IIdentity> group(const char* format, const char* value) { return MOX::createGroupIdentity(format, value); }
bool same(const SmartPointer<IIdentity>& a, const SmartPointer<IIdentity>& b) { return !a->lessThan(*b) && !b->lessThan(*a); }

// All parts of an identity in one line, for compact expectations.
std::string parts(const SmartPointer<IIdentity>& id)
{
    return id->getFormat() + "|" + id->getValue() + "|" + id->getType() + "|" + id->getName() + "|" +
           id->getAuthorityFormat() + ":" + id->getAuthorityName();
}
} // namespace

TEST(Identity, QelFromAuthorityAndAccount)
{
    EXPECT_EQ(parts(MOX::createUserIdentity(ntCorp(), "alice")), "QEL|NT:CORP/alice|User|alice|NT:CORP");
    EXPECT_EQ(parts(MOX::createGroupIdentity(ntCorp(), "admins")), "QEL|NT:CORP/Group:admins|Group|admins|NT:CORP");
    // The type comes from the account, also a foreign one (whose text shows no type).
    const SmartPointer<IIdentity> printer =
        MOX::createIdentity(MOX::createAuthorityId("LDAP", "\\\\dc"), MOX::AUTHN::createAccountId("Printers", "lp"));
    EXPECT_EQ(parts(printer), "QEL|LDAP:dc/lp|Printers|lp|LDAP:dc");
    EXPECT_EQ(printer->toString(), printer->getValue());
    EXPECT_FALSE(printer->isUser() || printer->isGroup() || MOX::isUserIdentity(printer) || MOX::isGroupIdentity(printer));
    EXPECT_TRUE(MOX::isGroupIdentity(group("EMAIL", "a@b")));
    EXPECT_FALSE(MOX::isUserIdentity(SmartPointer<IIdentity>()) || MOX::isGroupIdentity(SmartPointer<IIdentity>()));

    EXPECT_TRUE(throwsShortForm([] { MOX::createUserIdentity(ntCorp(), ""); }, kAccountFile, "MOX::AUTHN::createUserAccount"));
    EXPECT_TRUE(throwsShortForm([] { MOX::createGroupIdentity(ntCorp(), ""); }, kAccountFile, "MOX::AUTHN::createGroupAccount"));
    EXPECT_TRUE(throwsNullPointer([] { MOX::createUserIdentity(SmartPointer<MOX::AUTHN::IAuthorityId>(), "a"); }));
    EXPECT_TRUE(throwsNullPointer([] { MOX::createIdentity(ntCorp(), SmartPointer<MOX::AUTHN::IAccountId>()); }));
}

TEST(Identity, NamesAndAuthoritiesOfEachFormat)
{
    for (const std::string f : {"EMAIL", "UPN"}) {
        EXPECT_EQ(parts(user(f.c_str(), "alice@CORP")), f + "|alice@CORP|User|alice|UNKNOWN:CORP");
        EXPECT_EQ(parts(user(f.c_str(), "a@b@c")), f + "|a@b@c|User|a|UNKNOWN:b@c");
        EXPECT_EQ(parts(user(f.c_str(), "@\\\\CORP")), f + "|@\\\\CORP|User||UNKNOWN:CORP");
        for (const char* value : {"alice", "alice@"})
            EXPECT_TRUE(throwsAuthorityError([&] { user(f.c_str(), value)->getAuthorityFormat(); })) << f << value;
        EXPECT_TRUE(throwsError([&] { user(f.c_str(), "a@CO\\RP")->getAuthorityName(); }, -1006, kAuthorityFile,
                                kStripFunction));
    }
    const std::pair<const char*, const char*> qelNames[] = {
        {"NT:CORP/a/b:c", "c"}, {"NT:CORP/User:x:y", "x:y"}, {"NT:CORP", "NT:CORP"}, {"NT:CORP/Group:", ""}};
    for (const auto& [value, name] : qelNames)
        EXPECT_EQ(user("QEL", value)->getName(), name) << value;
    EXPECT_EQ(parts(user("QEL", "NT:a:b/c:d/e")), "QEL|NT:a:b/c:d/e|User|d/e|NT:a:b");
    // No slash, no colon, a first colon after the slash, or empty parts: no authority.
    for (const char* value : {"NT:CORP", "NTCORP/alice", ":CORP/alice", "NT:/alice"})
        EXPECT_TRUE(throwsAuthorityError([value] { user("QEL", value)->getAuthorityName(); })) << value;
    // Other formats (case counts) have neither; the text forms store anything.
    for (const char* format : {"X500", "email", ""}) {
        EXPECT_EQ(user(format, "alice@CORP/o=NT:x")->getName(), "");
        EXPECT_TRUE(throwsAuthorityError([format] { group(format, "a@CORP")->getAuthorityName(); })) << format;
    }
}

TEST(Identity, CachesFillOnSuccessOnly)
{
    const SmartPointer<IIdentity> alice = user("EMAIL", "alice@CORP");
    EXPECT_FALSE(impl(alice).hasCachedName() || impl(alice).hasCachedAuthority());
    const std::string& name = alice->getName();
    const std::string& authorityName = alice->getAuthorityName();
    EXPECT_TRUE(impl(alice).hasCachedName() && impl(alice).hasCachedAuthority());
    EXPECT_EQ(&name, &alice->getName());
    EXPECT_EQ(&authorityName, &alice->getAuthorityName());

    // A failing derivation caches nothing; every later call tries again and fails again.
    const SmartPointer<IIdentity> bare = user("EMAIL", "alice");
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_TRUE(throwsAuthorityError([&] { bare->getAuthorityName(); }));
        EXPECT_FALSE(impl(bare).hasCachedAuthority());
    }
    EXPECT_EQ(bare->getName(), "");
    EXPECT_FALSE(impl(bare).hasCachedName());
    // So does a comparison that fails in the authorities.
    const SmartPointer<IIdentity> x1 = user("X500", "cn=a"), x2 = user("X500", "cn=b");
    EXPECT_TRUE(throwsAuthorityError([&] { x1->lessThan(*x2); }));
    EXPECT_FALSE(impl(x1).hasCachedAuthority() || impl(x2).hasCachedAuthority());
}

TEST(IdentityConversion, TargetsTheirTextsAndTraceLines)
{
    const SmartPointer<IIdentity> alice = MOX::createUserIdentity(ntCorp(), "alice");
    const SmartPointer<IIdentity> email = MOX::toIdentityInFormat(alice, "EMAIL");
    const SmartPointer<IIdentity> admins = MOX::createGroupIdentity(ntCorp(), "admins");
    const std::pair<SmartPointer<IIdentity>, std::string> rows[] = {
        {email, "EMAIL|alice@CORP|User|alice|UNKNOWN:CORP"},
        {MOX::toIdentityInFormat(admins, "UPN"), "UPN|admins@CORP|Group|admins|UNKNOWN:CORP"},
        {MOX::toIdentityInFormat(user("QEL", "NT:\\\\CORP/Printers:lp"), "EMAIL"), "EMAIL|lp@CORP|User|lp|UNKNOWN:CORP"},
        {MOX::toIdentityInFormat(email, "UPN"), "UPN|alice@CORP|User|alice|UNKNOWN:CORP"}, // text stays
        {MOX::toIdentityInFormat(admins, "QEL"), parts(admins)},                           // QEL only from QEL
    };
    for (const auto& [converted, expected] : rows)
        EXPECT_EQ(parts(converted), expected);
    // The same format still gives a new object.
    EXPECT_NE(MOX::toIdentityInFormat(email, "EMAIL").get(), email.get());
    EXPECT_NE(MOX::toIdentityInFormat(admins, "QEL").get(), admins.get());

    std::vector<std::string> trace;
    MOX::RT::Tracer::setSink([&](const std::string& scope, const std::string& line) { trace.push_back(scope + ": " + line); });
    const auto conversionError = [](const SmartPointer<IIdentity>& from, const char* to) {
        return throwsError([&] { MOX::toIdentityInFormat(from, to); }, -1075, kIdentityFile, "MOX::toIdentityInFormat");
    };
    EXPECT_TRUE(conversionError(user("EMAIL", "a@b"), "QEL"));
    for (const char* target : {"X500", "email"})
        EXPECT_TRUE(conversionError(admins, target)) << target;
    // The source's authority is derived for every target, before the target is looked at.
    for (const char* target : {"QEL", "UPN", "X500"})
        EXPECT_TRUE(throwsAuthorityError([&] { MOX::toIdentityInFormat(user("QEL", "NTCORP/a"), target); })) << target;
    EXPECT_TRUE(throwsNullPointer([] { MOX::toIdentityInFormat(SmartPointer<IIdentity>(), "EMAIL"); }));
    MOX::RT::Tracer::setSink({});
    EXPECT_EQ(trace, (std::vector<std::string>{
                         "MOX::toIdentityInFormat: Identity in format EMAIL is not convertable to MOX_FORMAT_QEL",
                         "MOX::toIdentityInFormat: Unsupported identity format X500",
                         "MOX::toIdentityInFormat: Unsupported identity format email"}));
}

TEST(IdentityOrder, QelMatchesTheAtFormatsOfTheSamePrincipalButNeverAnotherType)
{
    const SmartPointer<IIdentity> nt = qel("NT", "alice"), ldap = qel("LDAP", "alice"), email = user("EMAIL", "alice@CORP");
    EXPECT_TRUE(same(nt, email) && same(nt, user("UPN", "alice@CORP")) && same(nt, user("EMAIL", "alice@\\\\CORP")));
    // Without a QEL side the formats count ("EMAIL" < "UPN").
    EXPECT_TRUE(email->lessThan(*user("UPN", "alice@CORP")));
    for (const char* other : {"alice@OTHER", "Alice@CORP"})
        EXPECT_FALSE(same(nt, user("EMAIL", other))) << other;
    // QEL texts with different authority formats differ; UNKNOWN matches either.
    EXPECT_TRUE(ldap->lessThan(*nt) && same(ldap, email));
    // Different texts order by name first.
    EXPECT_TRUE(user("EMAIL", "alice@ZZZ")->lessThan(*qel("NT", "bob")));
    EXPECT_TRUE(group("EMAIL", "a@b")->lessThan(*user("EMAIL", "a@b")));
    EXPECT_FALSE(same(user("QEL", "NT:C/a"), user("EMAIL", "NT:C/a"))); // no QEL wildcard for equal texts
    EXPECT_FALSE(same(qel("NT", "alice", true), email));
    EXPECT_TRUE(same(qel("NT", "alice", true), group("EMAIL", "alice@CORP")));
    // Equal texts never need an authority, even in formats that have none.
    EXPECT_TRUE(same(user("X500", "cn=a"), user("X500", "cn=a")));
}

TEST(IdentitySet, MixturesOfFormatsKeepWhicheverCameFirst)
{
    // q matches e and u, which differ from each other.
    const SmartPointer<IIdentity> q = qel("NT", "alice"), e = user("EMAIL", "alice@CORP"), u = user("UPN", "alice@CORP");
    const IdentitySet qFirst{q, e, u};
    ASSERT_EQ(qFirst.size(), 1u);
    EXPECT_TRUE(qFirst.begin()->sharesWith(q));
    EXPECT_TRUE(MOX::containsIdentity(e, qFirst) && MOX::containsIdentity(u, qFirst));
    EXPECT_FALSE(MOX::containsIdentity(group("EMAIL", "alice@CORP"), qFirst));
    const IdentitySet eFirst{e, q, u};
    ASSERT_EQ(eFirst.size(), 2u);
    EXPECT_TRUE(eFirst.begin()->sharesWith(e) && std::next(eFirst.begin())->sharesWith(u));
    EXPECT_TRUE(MOX::containsIdentity(q, eFirst));
    EXPECT_FALSE(MOX::containsIdentity(qel("NT", "alice", true), eFirst));
    // Two QEL authorities of one principal both stay; its e-mail form is found.
    const IdentitySet twoAuthorities{q, qel("LDAP", "alice")};
    EXPECT_EQ(twoAuthorities.size(), 2u);
    EXPECT_TRUE(MOX::containsIdentity(e, twoAuthorities));
}

TEST(IdentitySet, ContainsForOneIdentityAndForSetsAndErrorsLeaveTheSet)
{
    const IdentitySet empty;
    const IdentitySet staff{qel("NT", "alice"), qel("NT", "bob"), group("EMAIL", "admins@CORP")};
    EXPECT_TRUE(MOX::containsIdentity(qel("NT", "admins", true), staff));
    EXPECT_FALSE(MOX::containsIdentity(qel("NT", "carol"), staff) || MOX::containsIdentity(qel("NT", "alice"), empty));
    // An empty pointer is equivalent to everything under the set's order.
    EXPECT_TRUE(MOX::containsIdentity(SmartPointer<IIdentity>(), staff));
    EXPECT_FALSE(MOX::containsIdentity(SmartPointer<IIdentity>(), empty));
    EXPECT_FALSE(MOX::containsIdentity(empty, staff) || MOX::containsIdentity(staff, empty));
    const IdentitySet oneMember{qel("NT", "carol"), user("UPN", "bob@CORP"), user("EMAIL", "zed@CORP")};
    EXPECT_TRUE(MOX::containsIdentity(oneMember, staff) && MOX::containsIdentity(staff, oneMember));

    // Different texts without names or authorities: the comparison fails at the authorities.
    IdentitySet set{user("X500", "cn=a")};
    EXPECT_TRUE(throwsAuthorityError([&] { set.insert(user("X500", "cn=b")); }));
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ((*set.begin())->getValue(), "cn=a");
    EXPECT_TRUE(throwsAuthorityError([&] { MOX::containsIdentity(user("X500", "cn=b"), set); }));
    EXPECT_FALSE(MOX::containsIdentity(user("EMAIL", "x@y"), set)); // settled by the names
}
