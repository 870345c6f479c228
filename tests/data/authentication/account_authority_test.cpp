// Accounts and authorities: factories and their errors, the leading-backslash rule,
// text forms, parsing, order, equality and the authority's attachment.
#include <gtest/gtest.h>

#include <functional>
#include <mox/authn/IAccountId.h>
#include <mox/authn/IAuthorityId.h>

#include "data/authentication/AccountIdImpl.h"
#include "data/authentication/AuthnTestSupport.h"
#include "data/authentication/AuthorityIdImpl.h"

using MOX::AUTHN::IAccountId;
using MOX::AUTHN::IAuthorityId;
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
} // namespace

TEST(AccountId, FactoriesTypesAndTextForms)
{
    const SmartPointer<IAccountId> alice = A::createUserAccount("alice");
    const SmartPointer<IAccountId> admins = A::createGroupAccount("admins");
    const SmartPointer<IAccountId> printer = A::createAccountId("Printers", "lp");
    EXPECT_TRUE(alice->isUser() && !alice->isGroup() && A::isUserAccount(alice));
    EXPECT_TRUE(admins->isGroup() && !admins->isUser() && A::isGroupAccount(admins));
    // A foreign type is neither, prints like a user and so reads back as one; type names are exact.
    EXPECT_FALSE(printer->isUser() || printer->isGroup() || A::isUserAccount(printer));
    EXPECT_EQ(alice->toString() + " " + admins->toString() + " " + printer->toString(), "alice Group:admins lp");
    EXPECT_EQ(parts(MOX::parseAccountId(printer->toString())), "User|lp");
    EXPECT_EQ(A::createAccountId("group", "g")->toString(), "g");
    for (const char* other : {"user", "GROUP"})
        EXPECT_FALSE(A::isUserAccount(std::string(other)) || A::isGroupAccount(std::string(other))) << other;
    EXPECT_TRUE(throwsNullPointer([] { A::isUserAccount(SmartPointer<IAccountId>()); }));
    EXPECT_TRUE(throwsNullPointer([] { A::isGroupAccount(SmartPointer<IAccountId>()); }));

    // Empty parts: the short form, from the factory that was called.
    const std::pair<std::function<void()>, const char*> empty[] = {
        {[] { A::createAccountId("", "a"); }, "MOX::AUTHN::createAccountId"},
        {[] { A::createAccountId("User", ""); }, "MOX::AUTHN::createAccountId"},
        {[] { A::createUserAccount(""); }, "MOX::AUTHN::createUserAccount"},
        {[] { A::createGroupAccount(""); }, "MOX::AUTHN::createGroupAccount"},
        {[] { MOX::parseAccountId("Group:"); }, "MOX::AUTHN::createAccountId"},
    };
    for (const auto& [f, function] : empty)
        EXPECT_TRUE(throwsShortForm(f, kAccountFile, function)) << function;
}

TEST(AccountId, ParseSplitsAtTheFirstColonAndReadsBack)
{
    const std::pair<const char*, const char*> rows[] = {
        {"alice", "User|alice"}, {"Group:admins", "Group|admins"}, {":alice", "User|alice"},
        {"a:b:c", "a|b:c"},      {":  <x/", "User|  <x/"}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(parts(MOX::parseAccountId(text)), expected) << text;
    // Empty text and XML are refused, also a user name that looks like XML once printed.
    for (const char* text : {"", "\n\t<Group:admins", "  <x/"})
        EXPECT_TRUE(throwsShortForm([text] { MOX::parseAccountId(text); }, kMarshallerFile, "MOX::parseAccountId"))
            << text;
    for (const auto& original : {A::createUserAccount("Group"), A::createGroupAccount("a b/\\c")})
        EXPECT_TRUE(equal(MOX::parseAccountId(original->toString()), original)) << original->toString();
    const SmartPointer<IAccountId> colon = A::createUserAccount("a:b"); // the colon becomes the separator
    EXPECT_FALSE(equal(MOX::parseAccountId(colon->toString()), colon));
}

TEST(AccountId, OrderIsTypeThenNameAndEqualityIsExact)
{
    const SmartPointer<IAccountId> groupZ = A::createGroupAccount("zz"), printer = A::createAccountId("Printers", "aa"),
                                   userA = A::createUserAccount("aa"), userB = A::createUserAccount("bb"),
                                   userA2 = A::createAccountId("User", "aa");
    // Byte-wise "Group" < "Printers" < "User", whatever the names.
    EXPECT_TRUE(groupZ->lessThan(*printer) && printer->lessThan(*userA) && userA->lessThan(*userB));
    EXPECT_FALSE(userA->lessThan(*groupZ) || userB->lessThan(*userA));
    EXPECT_FALSE(userA->lessThan(*userA2) || userA2->lessThan(*userA));
    EXPECT_TRUE(equal(userA, userA2));
    EXPECT_FALSE(equal(userA, printer) || equal(userA, userB) || equal(userA, A::createUserAccount("AA")));
}

TEST(AuthorityId, LeadingBackslashRuleAndErrors)
{
    const std::pair<const char*, const char*> kept[] = {
        {"\\\\CORP", "CORP"}, {"\\CORP", "ORP"}, {"\\\\CORP\\x", "CORP\\x"}, {"\\", ""}, {"a:b/c", "a:b/c"}};
    for (const auto& [name, expected] : kept)
        EXPECT_EQ(MOX::createAuthorityId("NT", name)->toString(), std::string("NT:") + expected) << name;
    for (const char* name : {"CORP\\x", "C\\"})
        EXPECT_TRUE(throwsError([name] { MOX::createAuthorityId("NT", name); }, -1006, kAuthorityFile, kStripFunction))
            << name;
    // Emptiness is checked before the rule.
    for (const auto& [format, name] : {std::make_pair("", "CORP"), std::make_pair("NT", ""), std::make_pair("", "C\\x")})
        EXPECT_TRUE(throwsAuthorityError([&] { MOX::createAuthorityId(format, name); })) << format << "/" << name;
}

TEST(AuthorityId, ParseSplitsAtTheFirstColonAndReadsBack)
{
    const SmartPointer<IAuthorityId> ab = MOX::parseAuthorityId("NT:a:b");
    EXPECT_EQ(ab->getFormat() + "|" + ab->getName(), "NT|a:b");
    EXPECT_EQ(MOX::parseAuthorityId("NT:\\\\CORP")->getName(), "CORP");
    for (const char* text : {"NTCORP", "  <NT:CORP"})
        EXPECT_TRUE(throwsShortForm([text] { MOX::parseAuthorityId(text); }, kMarshallerFile, "MOX::parseAuthorityId"));
    EXPECT_TRUE(throwsAuthorityError([] { MOX::parseAuthorityId(":CORP"); }));
    EXPECT_TRUE(throwsError([] { MOX::parseAuthorityId("NT:CO\\RP"); }, -1006, kAuthorityFile, kStripFunction));
    for (const auto& original : {MOX::createAuthorityId("NT", "CORP"), MOX::createAuthorityId("LDAP", "dc=x:389")})
        EXPECT_TRUE(equal(MOX::parseAuthorityId(original->toString()), original));
    const SmartPointer<IAuthorityId> colon = MOX::createAuthorityId("A:B", "C"); // its colon moves into the name
    EXPECT_FALSE(equal(MOX::parseAuthorityId(colon->toString()), colon));
}

TEST(AuthorityId, OrderEqualityAndTheCountedAttachment)
{
    const SmartPointer<IAuthorityId> ldapZ = MOX::createAuthorityId("LDAP", "Z"), ntA = MOX::createAuthorityId("NT", "A"),
                                     ntB = MOX::createAuthorityId("NT", "B"), ntA2 = MOX::createAuthorityId("NT", "\\\\A");
    EXPECT_TRUE(ldapZ->lessThan(*ntA) && ntA->lessThan(*ntB));
    EXPECT_FALSE(ntA->lessThan(*ldapZ) || ntB->lessThan(*ntA) || ntA->lessThan(*ntA2) || ntA2->lessThan(*ntA));
    EXPECT_TRUE(equal(ntA, ntA2));
    EXPECT_FALSE(equal(ntA, ntB) || equal(ntA, MOX::createAuthorityId("nt", "A")));

    struct Tag : MOX::Object { // counts how many of its kind are alive
        explicit Tag(int& alive) : alive(alive) { ++alive; }
        ~Tag() override { --alive; }
        std::string toString() const override { return "tag"; }
        int& alive;
    };
    int alive = 0;
    EXPECT_TRUE(ntA->getAttachment().isNull());
    {
        SmartPointer<MOX::Object> first(new Tag(alive));
        ntA->setAttachment(first);
        ntA->setAttachment(ntA->getAttachment()); // itself: no change
        EXPECT_EQ(first.useCount(), 2);
        ntA->setAttachment(SmartPointer<MOX::Object>(new Tag(alive))); // releases the first
        EXPECT_EQ(first.useCount(), 1);
    }
    EXPECT_EQ(alive, 1);               // the authority keeps the second alive on its own
    EXPECT_TRUE(equal(ntA, ntA2));     // ignored by equality
    ntA->setAttachment(SmartPointer<MOX::Object>());
    EXPECT_TRUE(ntA->getAttachment().isNull());
    EXPECT_EQ(alive, 0);
}
