// Accounts, authorities and identities: factories and their errors, the leading-backslash
// rule, text forms and parsing, the derived names and authorities with their caches,
// conversion between formats, the orders and identity sets.
#include <functional>
#include <tuple>

#include <gtest/gtest.h>
#include <mox/authn/IAccountId.h>
#include <mox/authn/IAuthorityId.h>
#include <mox/authn/IIdentity.h>

#include "data/authentication/AccountIdImpl.h"
#include "data/authentication/AuthnTestSupport.h"
#include "data/authentication/AuthorityIdImpl.h"
#include "data/authentication/IdentityImpl.h"

using MOX::AUTHN::IAccountId;
using MOX::AUTHN::IAuthorityId;
using MOX::AUTHN::IIdentity;
using MOX::AUTHN::IdentityImpl;
using MOX::AUTHN::IdentitySet;
using MOX::RT::SmartPointer;
using namespace authntest;
namespace A = MOX::AUTHN;

namespace {

bool equal(const SmartPointer<IAccountId>& a, const SmartPointer<IAccountId>& b)
{
    return dynamic_cast<const A::AccountIdImpl&>(*a).equals(*b);
}
bool equal(const SmartPointer<IAuthorityId>& a, const SmartPointer<IAuthorityId>& b)
{
    return dynamic_cast<const A::AuthorityIdImpl&>(*a).equals(*b);
}
std::string parts(const SmartPointer<IAccountId>& a) { return a->getType() + "|" + a->getName(); }

SmartPointer<IIdentity> qel(const char* authorityFormat, const char* name, bool group = false)
{
    const auto authority = MOX::createAuthorityId(authorityFormat, "CORP");
    return group ? MOX::createGroupIdentity(authority, name) : MOX::createUserIdentity(authority, name);
}
SmartPointer<IIdentity> user(const char* format, const char* value) { return MOX::createUserIdentity(format, value); }
SmartPointer<IIdentity> group(const char* format, const char* value) { return MOX::createGroupIdentity(format, value); }
bool same(const SmartPointer<IIdentity>& a, const SmartPointer<IIdentity>& b) { return !a->lessThan(*b) && !b->lessThan(*a); }
bool cached(const SmartPointer<IIdentity>& id) { return dynamic_cast<const IdentityImpl&>(*id).hasCachedAuthority(); }

// All parts of an identity in one line, for compact expectations.
std::string parts(const SmartPointer<IIdentity>& id)
{
    return id->getFormat() + "|" + id->getValue() + "|" + id->getType() + "|" + id->getName() + "|" +
           id->getAuthorityFormat() + ":" + id->getAuthorityName();
}

} // namespace

TEST(AccountId, FactoriesTypesAndTheirErrors)
{
    const SmartPointer<IAccountId> alice = A::createUserAccount("alice"), admins = A::createGroupAccount("admins"),
                                   printer = A::createAccountId("Printers", "lp");
    EXPECT_TRUE(A::isUserAccount(alice) && !alice->isGroup() && A::isGroupAccount(admins) && !admins->isUser());
    // A foreign type is neither and prints like a user; type names are exact.
    EXPECT_FALSE(printer->isUser() || printer->isGroup() || A::isGroupAccount(std::string("GROUP")));
    EXPECT_EQ(alice->toString() + " " + admins->toString() + " " + printer->toString(), "alice Group:admins lp");

    // Empty parts and XML: the short form, from the function that was called.
    const std::tuple<std::function<void()>, const char*, const char*> empty[] = {
        {[] { A::createAccountId("User", ""); }, kAccountFile, "MOX::AUTHN::createAccountId"},
        {[] { A::createUserAccount(""); }, kAccountFile, "MOX::AUTHN::createUserAccount"},
        {[] { A::createGroupAccount(""); }, kAccountFile, "MOX::AUTHN::createGroupAccount"},
        {[] { MOX::parseAccountId("Group:"); }, kAccountFile, "MOX::AUTHN::createAccountId"},
        {[] { MOX::parseAccountId(""); }, kMarshallerFile, "MOX::parseAccountId"},
        {[] { MOX::parseAccountId("\n\t<Group:admins"); }, kMarshallerFile, "MOX::parseAccountId"},
    };
    for (const auto& [f, file, function] : empty)
        EXPECT_TRUE(throwsShortForm(f, file, function)) << function;
}

TEST(AccountId, ParseSplitsAtTheFirstColonOrderIsTypeThenNameAndEqualityIsExact)
{
    const std::pair<const char*, const char*> rows[] = {
        {"alice", "User|alice"}, {"Group:admins", "Group|admins"}, {":alice", "User|alice"}, {"a:b:c", "a|b:c"}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(parts(MOX::parseAccountId(text)), expected) << text;
    for (const auto& original : {A::createUserAccount("Group"), A::createGroupAccount("a b/\\c")})
        EXPECT_TRUE(equal(MOX::parseAccountId(original->toString()), original)) << original->toString();

    const SmartPointer<IAccountId> groupZ = A::createGroupAccount("zz"), printer = A::createAccountId("Printers", "aa"),
                                   userA = A::createUserAccount("aa"), userB = A::createUserAccount("bb");
    // Byte-wise "Group" < "Printers" < "User", whatever the names.
    EXPECT_TRUE(groupZ->lessThan(*printer) && printer->lessThan(*userA) && userA->lessThan(*userB));
    EXPECT_FALSE(userA->lessThan(*groupZ) || userB->lessThan(*userA) || userA->lessThan(*A::createAccountId("User", "aa")));
    EXPECT_TRUE(equal(userA, A::createAccountId("User", "aa")) && !equal(userA, A::createUserAccount("AA")));
}

TEST(AuthorityId, LeadingBackslashRuleParseAndErrors)
{
    const std::pair<const char*, const char*> kept[] = {
        {"\\\\CORP", "CORP"}, {"\\CORP", "ORP"}, {"\\\\CORP\\x", "CORP\\x"}, {"\\", ""}, {"a:b/c", "a:b/c"}};
    for (const auto& [name, expected] : kept)
        EXPECT_EQ(MOX::createAuthorityId("NT", name)->toString(), std::string("NT:") + expected) << name;
    for (const char* name : {"CORP\\x", "C\\"})
        EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(
            [name] { MOX::createAuthorityId("NT", name); }, -1006, kStripFunction, kAuthorityFile))
            << name;
    // Emptiness is checked before the rule.
    for (const auto& [format, name] : {std::make_pair("NT", ""), std::make_pair("", "C\\x")})
        EXPECT_TRUE(throwsAuthorityError([&] { MOX::createAuthorityId(format, name); })) << format << "/" << name;

    const SmartPointer<IAuthorityId> ab = MOX::parseAuthorityId("NT:a:b");
    EXPECT_EQ(ab->getFormat() + "|" + ab->getName(), "NT|a:b");
    for (const char* text : {"NTCORP", "  <NT:CORP"})
        EXPECT_TRUE(throwsShortForm([text] { MOX::parseAuthorityId(text); }, kMarshallerFile, "MOX::parseAuthorityId"));
    EXPECT_TRUE(throwsAuthorityError([] { MOX::parseAuthorityId(":CORP"); }));
    for (const auto& original : {MOX::createAuthorityId("NT", "\\\\CORP"), MOX::createAuthorityId("LDAP", "dc=x:389")})
        EXPECT_TRUE(equal(MOX::parseAuthorityId(original->toString()), original));
}

TEST(AuthorityId, OrderEqualityAndTheCountedAttachment)
{
    const SmartPointer<IAuthorityId> ldapZ = MOX::createAuthorityId("LDAP", "Z"), ntA = MOX::createAuthorityId("NT", "A"),
                                     ntB = MOX::createAuthorityId("NT", "B"), ntA2 = MOX::createAuthorityId("NT", "\\\\A");
    EXPECT_TRUE(ldapZ->lessThan(*ntA) && ntA->lessThan(*ntB) && !ntB->lessThan(*ntA) && !ntA2->lessThan(*ntA));
    EXPECT_FALSE(equal(ntA, MOX::createAuthorityId("nt", "A")));

    // The attachment is counted: replacing it releases the old one; equality ignores it.
    const SmartPointer<MOX::Object> first = MOX::createAuthorityId("A", "B");
    ntA->setAttachment(first);
    ntA->setAttachment(ntA->getAttachment()); // itself: no change
    EXPECT_EQ(first.useCount(), 2);
    ntA->setAttachment(SmartPointer<MOX::Object>());
    EXPECT_EQ(first.useCount(), 1);
    EXPECT_TRUE(equal(ntA, ntA2));
}

TEST(Identity, PartsOfEachFormat)
{
    const std::pair<SmartPointer<IIdentity>, std::string> rows[] = {
        {qel("NT", "alice"), "QEL|NT:CORP/alice|User|alice|NT:CORP"},
        {qel("NT", "admins", true), "QEL|NT:CORP/Group:admins|Group|admins|NT:CORP"},
        // The type comes from the account, also a foreign one (whose text shows no type).
        {MOX::createIdentity(MOX::createAuthorityId("LDAP", "\\\\dc"), MOX::AUTHN::createAccountId("Printers", "lp")),
         "QEL|LDAP:dc/lp|Printers|lp|LDAP:dc"},
        {user("QEL", "NT:a:b/c:d/e"), "QEL|NT:a:b/c:d/e|User|d/e|NT:a:b"},
        {user("EMAIL", "a@b@c"), "EMAIL|a@b@c|User|a|UNKNOWN:b@c"},
        {user("UPN", "@\\\\CORP"), "UPN|@\\\\CORP|User||UNKNOWN:CORP"}};
    for (const auto& [id, expected] : rows)
        EXPECT_EQ(parts(id), expected);
    EXPECT_FALSE(rows[2].first->isUser() || rows[2].first->isGroup() || MOX::isUserIdentity(SmartPointer<IIdentity>()));
    for (const auto& [value, name] : {std::make_pair("NT:CORP/User:x:y", "x:y"), std::make_pair("NT:CORP", "NT:CORP")})
        EXPECT_EQ(user("QEL", value)->getName(), name) << value;
    EXPECT_EQ(user("X500", "alice@CORP/o=NT:x")->getName(), "");

    // No authority: an at-format without a domain, a QEL text without slash, colon or parts,
    // any other format (case counts).
    for (const auto& [format, value] : {std::make_pair("EMAIL", "alice"), std::make_pair("UPN", "alice@"),
                                        std::make_pair("QEL", "NTCORP/alice"), std::make_pair("QEL", ":CORP/alice"),
                                        std::make_pair("QEL", "NT:/alice"), std::make_pair("email", "a@CORP")})
        EXPECT_TRUE(throwsAuthorityError([&] { user(format, value)->getAuthorityName(); })) << format << value;
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(
        [] { user("EMAIL", "a@CO\\RP")->getAuthorityName(); }, -1006, kStripFunction, kAuthorityFile));
    EXPECT_TRUE(throwsShortForm([] { qel("NT", ""); }, kAccountFile, "MOX::AUTHN::createUserAccount"));
    EXPECT_TRUE(throwsNullPointer([] { MOX::createUserIdentity(SmartPointer<MOX::AUTHN::IAuthorityId>(), "a"); }));
}

TEST(Identity, CachesFillOnSuccessOnly)
{
    const SmartPointer<IIdentity> alice = user("EMAIL", "alice@CORP");
    EXPECT_FALSE(cached(alice));
    EXPECT_EQ(&alice->getAuthorityName(), &alice->getAuthorityName());
    EXPECT_TRUE(cached(alice));
    // A failing derivation caches nothing; every later call tries again and fails again.
    const SmartPointer<IIdentity> bare = user("EMAIL", "alice");
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_TRUE(throwsAuthorityError([&] { bare->getAuthorityName(); }) && !cached(bare));
    // So does a comparison that fails in the authorities.
    const SmartPointer<IIdentity> x1 = user("X500", "cn=a"), x2 = user("X500", "cn=b");
    EXPECT_TRUE(throwsAuthorityError([&] { x1->lessThan(*x2); }));
    EXPECT_FALSE(cached(x1) || cached(x2));
}

TEST(IdentityConversion, TargetsAndFailures)
{
    const SmartPointer<IIdentity> admins = qel("NT", "admins", true), email = MOX::toIdentityInFormat(qel("NT", "alice"), "EMAIL");
    const std::pair<SmartPointer<IIdentity>, std::string> rows[] = {
        {email, "EMAIL|alice@CORP|User|alice|UNKNOWN:CORP"},
        {MOX::toIdentityInFormat(admins, "UPN"), "UPN|admins@CORP|Group|admins|UNKNOWN:CORP"},
        {MOX::toIdentityInFormat(user("QEL", "NT:\\\\CORP/Printers:lp"), "EMAIL"), "EMAIL|lp@CORP|User|lp|UNKNOWN:CORP"},
        {MOX::toIdentityInFormat(email, "UPN"), "UPN|alice@CORP|User|alice|UNKNOWN:CORP"}, // text stays
        {MOX::toIdentityInFormat(admins, "QEL"), parts(admins)},                           // QEL only from QEL
    };
    for (const auto& [converted, expected] : rows)
        EXPECT_EQ(parts(converted), expected);
    EXPECT_NE(MOX::toIdentityInFormat(email, "EMAIL").get(), email.get()); // always a new object

    for (const auto& [from, to] : {std::make_pair(user("EMAIL", "a@b"), "QEL"), std::make_pair(admins, "X500"),
                                   std::make_pair(admins, "email")})
        EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(
            [&] { MOX::toIdentityInFormat(from, to); }, -1075, "MOX::toIdentityInFormat", kIdentityFile))
            << to;
    // The source's authority is derived for every target, before the target is looked at.
    EXPECT_TRUE(throwsAuthorityError([&] { MOX::toIdentityInFormat(user("QEL", "NTCORP/a"), "X500"); }));
    EXPECT_TRUE(throwsNullPointer([] { MOX::toIdentityInFormat(SmartPointer<IIdentity>(), "EMAIL"); }));
}

TEST(IdentityOrder, QelMatchesTheAtFormatsOfTheSamePrincipalButNeverAnotherType)
{
    const SmartPointer<IIdentity> nt = qel("NT", "alice"), ldap = qel("LDAP", "alice"), email = user("EMAIL", "alice@CORP");
    EXPECT_TRUE(same(nt, email) && same(nt, user("UPN", "alice@CORP")) && same(nt, user("EMAIL", "alice@\\\\CORP")));
    EXPECT_TRUE(email->lessThan(*user("UPN", "alice@CORP"))); // without a QEL side the formats count
    EXPECT_FALSE(same(nt, user("EMAIL", "alice@OTHER")) || same(nt, user("EMAIL", "Alice@CORP")));
    EXPECT_TRUE(ldap->lessThan(*nt) && same(ldap, email)); // UNKNOWN matches either authority format
    EXPECT_TRUE(user("EMAIL", "alice@ZZZ")->lessThan(*qel("NT", "bob")) && group("EMAIL", "a@b")->lessThan(*user("EMAIL", "a@b")));
    EXPECT_FALSE(same(user("QEL", "NT:C/a"), user("EMAIL", "NT:C/a"))); // no QEL wildcard for equal texts
    EXPECT_FALSE(same(qel("NT", "alice", true), email));
    EXPECT_TRUE(same(user("X500", "cn=a"), user("X500", "cn=a"))); // equal texts never need an authority
}

TEST(IdentitySet, MixturesKeepWhicheverCameFirstAndErrorsLeaveTheSet)
{
    // q matches e and u, which differ from each other.
    const SmartPointer<IIdentity> q = qel("NT", "alice"), e = user("EMAIL", "alice@CORP"), u = user("UPN", "alice@CORP");
    const IdentitySet qFirst{q, e, u}, eFirst{e, q, u};
    ASSERT_EQ(qFirst.size(), 1u);
    EXPECT_TRUE(qFirst.begin()->sharesWith(q) && MOX::containsIdentity(u, qFirst));
    ASSERT_EQ(eFirst.size(), 2u);
    EXPECT_TRUE(MOX::containsIdentity(q, eFirst));
    EXPECT_FALSE(MOX::containsIdentity(qel("NT", "alice", true), eFirst));
    const IdentitySet staff{q, qel("NT", "bob")}, oneMember{qel("NT", "carol"), user("UPN", "bob@CORP")};
    EXPECT_TRUE(MOX::containsIdentity(SmartPointer<IIdentity>(), staff)); // equivalent to everything
    EXPECT_FALSE(MOX::containsIdentity(IdentitySet(), staff) || MOX::containsIdentity(staff, IdentitySet()));
    EXPECT_TRUE(MOX::containsIdentity(oneMember, staff) && MOX::containsIdentity(staff, oneMember));

    // Different texts without names or authorities: the comparison fails at the authorities.
    IdentitySet set{user("X500", "cn=a")};
    EXPECT_TRUE(throwsAuthorityError([&] { set.insert(user("X500", "cn=b")); }));
    EXPECT_EQ(set.size(), 1u);
    EXPECT_FALSE(MOX::containsIdentity(user("EMAIL", "x@y"), set)); // settled by the names
}
