// SPDX-License-Identifier: MIT
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

using MOX::AUTHN::IAccountId;
using MOX::AUTHN::IAuthorityId;
using MOX::AUTHN::IIdentity;
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
bool same(const SmartPointer<IIdentity>& a, const SmartPointer<IIdentity>& b) { return !a->lessThan(*b) && !b->lessThan(*a); }

// All parts of an identity in one line, for compact expectations.
std::string parts(const SmartPointer<IIdentity>& id)
{
    return id->getFormat() + "|" + id->getValue() + "|" + id->getType() + "|" + id->getName() + "|" +
           id->getAuthorityFormat() + ":" + id->getAuthorityName();
}

} // namespace

TEST(Principals, EveryFailurePath)
{
    const SmartPointer<IIdentity> admins = qel("NT", "admins", true), x500 = user("X500", "cn=a");
    IdentitySet set{x500};
    const struct { std::function<void()> call; int code; const char *function, *file; } rows[] = {
        // Empty parts and XML: the short form, from the function that was called.
        {[] { A::createAccountId("User", ""); }, 0, "MOX::AUTHN::createAccountId", kAccountFile},
        {[] { A::createUserAccount(""); }, 0, "MOX::AUTHN::createUserAccount", kAccountFile},
        {[] { MOX::parseAccountId(""); }, 0, "MOX::parseAccountId", kMarshallerFile},
        {[] { MOX::parseAccountId("\n\t<Group:admins"); }, 0, "MOX::parseAccountId", kMarshallerFile},
        {[] { MOX::parseAuthorityId("NTCORP"); }, 0, "MOX::parseAuthorityId", kMarshallerFile},
        // Authorities: a backslash after the leading ones, and emptiness, checked first.
        {[] { MOX::createAuthorityId("NT", "CORP\\x"); }, -1006, kStripFunction, kAuthorityFile},
        {[] { MOX::createAuthorityId("", "C\\x"); }, -1006, kCreateAuthority, kAuthorityFile},
        {[] { MOX::parseAuthorityId(":CORP"); }, -1006, kCreateAuthority, kAuthorityFile},
        // Identities without an authority: an at-format without a domain, a QEL text
        // without a colon, any other format (case counts); a comparison of different
        // texts with no names; each conversion target.
        {[] { user("EMAIL", "alice")->getAuthorityName(); }, -1006, kCreateAuthority, kAuthorityFile},
        {[] { user("QEL", "NTCORP/alice")->getAuthorityName(); }, -1006, kCreateAuthority, kAuthorityFile},
        {[] { user("email", "a@CORP")->getAuthorityName(); }, -1006, kCreateAuthority, kAuthorityFile},
        {[&] { set.insert(user("X500", "cn=b")); }, -1006, kCreateAuthority, kAuthorityFile},
        // Made from an authority its own text does not give back: a format holding "/"
        // (the first "/" before the first ":"), a name the leading backslashes emptied
        // or left with a backslash.
        {[] { qel("A/B", "alice")->getAuthorityFormat(); }, -1006, kCreateAuthority, kAuthorityFile},
        {[] { MOX::createUserIdentity(MOX::createAuthorityId("NT", "\\"), "a")->getAuthorityName(); }, -1006,
         kCreateAuthority, kAuthorityFile},
        {[] { MOX::createUserIdentity(MOX::createAuthorityId("NT", "\\\\a\\b"), "a")->getAuthorityName(); }, -1006,
         kStripFunction, kAuthorityFile},
        {[] { MOX::toIdentityInFormat(user("EMAIL", "a@b"), "QEL"); }, -1075, "MOX::toIdentityInFormat", kIdentityFile},
        {[&] { MOX::toIdentityInFormat(admins, "X500"); }, -1075, "MOX::toIdentityInFormat", kIdentityFile},
        // The runtime's dereference check.
        {[] { MOX::createUserIdentity(SmartPointer<IAuthorityId>(), "a"); }, -1004, "MOX::RT::checkDeref", "rt/Check"},
        {[] { MOX::toIdentityInFormat(SmartPointer<IIdentity>(), "EMAIL"); }, -1004, "MOX::RT::checkDeref", "rt/Check"}};
    for (const auto& row : rows)
        EXPECT_TRUE(moxtest::throwsMox(row.call, row.code, row.function, row.file)) << &row - rows;
    EXPECT_EQ(set.size(), 1u);
    // A failed derivation is not remembered as a success: asking again fails again.
    EXPECT_TRUE(moxtest::throwsMox([&] { x500->getAuthorityFormat(); }, -1006, kCreateAuthority, kAuthorityFile));
}

TEST(AccountId, TextFormsOrderAndEquality)
{
    const std::pair<const char*, const char*> accounts[] = {
        {"alice", "User|alice"}, {"Group:admins", "Group|admins"}, {":alice", "User|alice"}, {"a:b:c", "a|b:c"}};
    for (const auto& [text, expected] : accounts)
        EXPECT_EQ(parts(MOX::parseAccountId(text)), expected) << text;
    const SmartPointer<IAccountId> printer = A::createAccountId("Printers", "lp"), user = A::createUserAccount("Group");
    // A foreign type is neither user nor group and prints like a user.
    EXPECT_FALSE(printer->isUser());
    EXPECT_FALSE(printer->isGroup());
    EXPECT_FALSE(A::isGroupAccount(std::string("GROUP")));
    EXPECT_EQ(printer->toString() + " " + A::createGroupAccount("a b/\\c")->toString(), "lp Group:a b/\\c");
    EXPECT_TRUE(equal(MOX::parseAccountId(user->toString()), user));
    EXPECT_FALSE(equal(user, A::createUserAccount("group")));
    // Byte-wise "Group" < "Printers" < "User", whatever the names.
    EXPECT_TRUE(A::createGroupAccount("zz")->lessThan(*printer));
    EXPECT_TRUE(printer->lessThan(*A::createUserAccount("aa")));
}

TEST(AuthorityId, TextFormsOrderAndEquality)
{
    // Only two leading backslashes go; the text splits at the first colon.
    const std::pair<const char*, const char*> kept[] = {{"\\\\CORP", "CORP"}, {"\\CORP", "ORP"}, {"\\", ""}, {"a:b/c", "a:b/c"}};
    for (const auto& [name, expected] : kept)
        EXPECT_EQ(MOX::createAuthorityId("NT", name)->toString(), std::string("NT:") + expected) << name;
    EXPECT_EQ(MOX::parseAuthorityId("NT:a:b")->getName(), "a:b");
    const SmartPointer<IAuthorityId> ntA = MOX::createAuthorityId("NT", "A");
    EXPECT_TRUE(MOX::createAuthorityId("LDAP", "Z")->lessThan(*ntA));
    EXPECT_TRUE(ntA->lessThan(*MOX::createAuthorityId("NT", "B")));
    EXPECT_FALSE(equal(ntA, MOX::createAuthorityId("nt", "A")));
}

TEST(AuthorityId, CountsItsAttachmentWhichEqualityIgnores)
{
    const SmartPointer<IAuthorityId> ntA = MOX::createAuthorityId("NT", "A"), ntA2 = MOX::parseAuthorityId("NT:\\\\A");
    // Replacing the attachment releases the old one.
    const SmartPointer<MOX::Object> first = MOX::createAuthorityId("A", "B");
    ntA->setAttachment(first);
    ntA->setAttachment(ntA->getAttachment()); // itself: no change
    const long held = first.useCount();
    ntA->setAttachment(SmartPointer<MOX::Object>());
    EXPECT_EQ(held, 2);
    EXPECT_EQ(first.useCount(), 1);
    EXPECT_TRUE(equal(ntA, ntA2));
}

TEST(Identity, PartsOfEveryFormatIncludingConvertedOnes)
{
    const SmartPointer<IIdentity> admins = qel("NT", "admins", true), email = MOX::toIdentityInFormat(qel("NT", "alice"), "EMAIL");
    const std::pair<SmartPointer<IIdentity>, std::string> rows[] = {
        {qel("NT", "alice"), "QEL|NT:CORP/alice|User|alice|NT:CORP"},
        {admins, "QEL|NT:CORP/Group:admins|Group|admins|NT:CORP"},
        // The type comes from the account, also a foreign one (whose text shows no type).
        {MOX::createIdentity(MOX::createAuthorityId("LDAP", "\\\\dc"), MOX::AUTHN::createAccountId("Printers", "lp")),
         "QEL|LDAP:dc/lp|Printers|lp|LDAP:dc"},
        {user("QEL", "NT:a:b/c:d/e"), "QEL|NT:a:b/c:d/e|User|d/e|NT:a:b"},
        {user("EMAIL", "a@b@c"), "EMAIL|a@b@c|User|a|UNKNOWN:b@c"},
        // Conversions: the text stays between the at-formats; QEL only from QEL.
        {email, "EMAIL|alice@CORP|User|alice|UNKNOWN:CORP"},
        {MOX::toIdentityInFormat(admins, "UPN"), "UPN|admins@CORP|Group|admins|UNKNOWN:CORP"},
        {MOX::toIdentityInFormat(user("QEL", "NT:\\\\CORP/Printers:lp"), "EMAIL"), "EMAIL|lp@CORP|User|lp|UNKNOWN:CORP"},
        {MOX::toIdentityInFormat(admins, "QEL"), "QEL|NT:CORP/Group:admins|Group|admins|NT:CORP"}};
    for (const auto& [id, expected] : rows)
        EXPECT_EQ(parts(id), expected);
    EXPECT_EQ(user("QEL", "NT:CORP/User:x:y")->getName() + "|" + user("QEL", "NT:CORP")->getName() + "|" +
                  user("X500", "alice@CORP/o=NT:x")->getName(),
              "x:y|NT:CORP|");
}

// The matching rules, which equivalent a set keeps and single look-ups are the
// reference-order test's; it never makes one text in QEL and in an at-format.
TEST(IdentityOrder, EqualTextsInQelAndAnAtFormatDoNotMatch)
{
    EXPECT_FALSE(same(user("QEL", "NT:C/a"), user("EMAIL", "NT:C/a")));
}

TEST(IdentitySet, ContainsTakesANullIdentityAndWholeSets)
{
    const IdentitySet staff{qel("NT", "alice"), qel("NT", "bob")}, oneMember{qel("NT", "carol"), user("UPN", "bob@CORP")};
    EXPECT_TRUE(MOX::containsIdentity(SmartPointer<IIdentity>(), staff)); // equivalent to everything
    EXPECT_FALSE(MOX::containsIdentity(IdentitySet(), staff));
    EXPECT_TRUE(MOX::containsIdentity(oneMember, staff));
    EXPECT_TRUE(MOX::containsIdentity(staff, oneMember));
}
