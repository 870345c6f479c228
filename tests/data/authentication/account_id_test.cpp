// Accounts: factories and their short-form errors, text forms, parsing, order, equality.
#include <gtest/gtest.h>

#include <mox/authn/IAccountId.h>

#include "data/authentication/AccountIdImpl.h"
#include "data/authentication/AuthnTestSupport.h"

using MOX::AUTHN::AccountIdImpl;
using MOX::AUTHN::IAccountId;
using MOX::RT::SmartPointer;
using namespace authntest;

namespace {
bool equal(const SmartPointer<IAccountId>& a, const SmartPointer<IAccountId>& b)
{
    return dynamic_cast<const AccountIdImpl&>(*a).equals(*b);
}
} // namespace

TEST(AccountId, FactoriesTypesAndTextForms)
{
    const SmartPointer<IAccountId> alice = MOX::AUTHN::createUserAccount("alice");
    EXPECT_EQ(alice->getType(), "User");
    EXPECT_TRUE(alice->isUser() && !alice->isGroup() && MOX::AUTHN::isUserAccount(alice));
    EXPECT_EQ(alice->toString(), "alice");
    const SmartPointer<IAccountId> admins = MOX::AUTHN::createGroupAccount("admins");
    EXPECT_TRUE(admins->isGroup() && !admins->isUser() && MOX::AUTHN::isGroupAccount(admins));
    EXPECT_EQ(admins->toString(), "Group:admins");

    // A foreign type is kept, is neither user nor group, prints like a user and so reads
    // back as a user.
    const SmartPointer<IAccountId> printer = MOX::AUTHN::createAccountId("Printers", "lp");
    EXPECT_EQ(printer->getType(), "Printers");
    EXPECT_FALSE(printer->isUser() || printer->isGroup() || MOX::AUTHN::isUserAccount(printer));
    EXPECT_EQ(printer->toString(), "lp");
    EXPECT_EQ(MOX::parseAccountId(printer->toString())->getType(), "User");
    EXPECT_EQ(MOX::AUTHN::createAccountId("group", "g")->toString(), "g");   // exact type names only

    for (const char* other : {"user", "GROUP", "User ", ""})
        EXPECT_FALSE(MOX::AUTHN::isUserAccount(std::string(other)) || MOX::AUTHN::isGroupAccount(std::string(other)));

    const SmartPointer<IAccountId> none;
    EXPECT_TRUE(throwsNullPointer([&] { MOX::AUTHN::isUserAccount(none); }));
    EXPECT_TRUE(throwsNullPointer([&] { MOX::AUTHN::isGroupAccount(none); }));
}

TEST(AccountId, EmptyPartsRaiseTheShortForm)
{
    EXPECT_TRUE(throwsShortForm([] { MOX::AUTHN::createAccountId("", "a"); }, kAccountFile, "MOX::AUTHN::createAccountId"));
    EXPECT_TRUE(throwsShortForm([] { MOX::AUTHN::createAccountId("User", ""); }, kAccountFile,
                                "MOX::AUTHN::createAccountId"));
    EXPECT_TRUE(throwsShortForm([] { MOX::AUTHN::createUserAccount(""); }, kAccountFile, "MOX::AUTHN::createUserAccount"));
    EXPECT_TRUE(throwsShortForm([] { MOX::AUTHN::createGroupAccount(""); }, kAccountFile,
                                "MOX::AUTHN::createGroupAccount"));
}

TEST(AccountId, ParseSplitsAtTheFirstColonAndRefusesXml)
{
    const std::pair<const char*, std::pair<const char*, const char*>> cases[] = {
        {"alice", {"User", "alice"}},   {"Group:admins", {"Group", "admins"}}, {"User:alice", {"User", "alice"}},
        {":alice", {"User", "alice"}},  {"Printers:lp", {"Printers", "lp"}},   {"a:b:c", {"a", "b:c"}},
        {"x>", {"User", "x>"}},
    };
    for (const auto& c : cases) {
        const SmartPointer<IAccountId> account = MOX::parseAccountId(c.first);
        EXPECT_EQ(account->getType() + "|" + account->getName(),
                  std::string(c.second.first) + "|" + c.second.second);
    }
    // An empty name fails in the factory, empty text and XML in the parser.
    EXPECT_TRUE(throwsShortForm([] { MOX::parseAccountId("Group:"); }, kAccountFile, "MOX::AUTHN::createAccountId"));
    for (const char* text : {"", "<account/>", "\n\t<Group:admins"})
        EXPECT_TRUE(throwsShortForm([text] { MOX::parseAccountId(text); }, kMarshallerFile, "MOX::parseAccountId"));
}

TEST(AccountId, TextFormsReadBackUnlessTheyLookLikeSomethingElse)
{
    for (const auto& original : {MOX::AUTHN::createUserAccount("alice"), MOX::AUTHN::createGroupAccount("admins"),
                                 MOX::AUTHN::createUserAccount("Group"), MOX::AUTHN::createGroupAccount("a b/\\c")})
        EXPECT_TRUE(equal(MOX::parseAccountId(original->toString()), original)) << original->toString();
    // A colon in a user's name becomes the type separator.
    const SmartPointer<IAccountId> colon = MOX::AUTHN::createUserAccount("a:b");
    EXPECT_FALSE(equal(MOX::parseAccountId(colon->toString()), colon));
    // A user whose name looks like XML prints as text that no parser takes back.
    const SmartPointer<IAccountId> xmlish = MOX::parseAccountId(":  <x/");
    EXPECT_EQ(xmlish->getName(), "  <x/");
    EXPECT_TRUE(throwsShortForm([&] { MOX::parseAccountId(xmlish->toString()); }, kMarshallerFile,
                                "MOX::parseAccountId"));
}

TEST(AccountId, OrderIsTypeThenNameAndEqualityIsExact)
{
    const SmartPointer<IAccountId> groupZ = MOX::AUTHN::createGroupAccount("zz");
    const SmartPointer<IAccountId> printer = MOX::AUTHN::createAccountId("Printers", "aa");
    const SmartPointer<IAccountId> userA = MOX::AUTHN::createUserAccount("aa");
    const SmartPointer<IAccountId> userB = MOX::AUTHN::createUserAccount("bb");
    // Byte-wise "Group" < "Printers" < "User", whatever the names.
    EXPECT_TRUE(groupZ->lessThan(*printer) && printer->lessThan(*userA) && userA->lessThan(*userB));
    EXPECT_FALSE(userA->lessThan(*groupZ) || userB->lessThan(*userA));

    const SmartPointer<IAccountId> userA2 = MOX::AUTHN::createAccountId("User", "aa");
    EXPECT_FALSE(userA->lessThan(*userA2) || userA2->lessThan(*userA));
    EXPECT_TRUE(equal(userA, userA2));
    EXPECT_FALSE(equal(userA, printer) || equal(userA, userB) || equal(userA, MOX::AUTHN::createUserAccount("AA")));
}
