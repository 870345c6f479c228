// Accounts and authorities: factories and their errors, the leading-backslash rule,
// text forms, parsing, order, equality and the authority's attachment.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

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

    struct Tag : MOX::Object { // counts how many of its kind are alive
        explicit Tag(int& alive) : alive(alive) { ++alive; }
        ~Tag() override { --alive; }
        std::string toString() const override { return "tag"; }
        int& alive;
    };
    int alive = 0;
    {
        SmartPointer<MOX::Object> first(new Tag(alive));
        ntA->setAttachment(first);
        ntA->setAttachment(ntA->getAttachment()); // itself: no change
        EXPECT_EQ(first.useCount(), 2);
        ntA->setAttachment(SmartPointer<MOX::Object>(new Tag(alive))); // releases the first
        EXPECT_EQ(first.useCount(), 1);
    }
    EXPECT_EQ(alive, 1);           // the authority keeps the second alive on its own
    EXPECT_TRUE(equal(ntA, ntA2)); // ignored by equality
    ntA->setAttachment(SmartPointer<MOX::Object>());
    EXPECT_EQ(alive, 0);
}
