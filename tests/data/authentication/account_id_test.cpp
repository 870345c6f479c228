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
const AccountIdImpl& impl(const SmartPointer<IAccountId>& account)
{
    return dynamic_cast<const AccountIdImpl&>(*account);
}
} // namespace

TEST(AccountId, FactoriesSetTypeAndTextForm)
{
    const SmartPointer<IAccountId> alice = MOX::AUTHN::createUserAccount("alice");
    EXPECT_EQ(alice->getName(), "alice");
    EXPECT_EQ(alice->getType(), "User");
    EXPECT_TRUE(alice->isUser());
    EXPECT_FALSE(alice->isGroup());
    EXPECT_EQ(alice->toString(), "alice");

    const SmartPointer<IAccountId> admins = MOX::AUTHN::createGroupAccount("admins");
    EXPECT_EQ(admins->getType(), "Group");
    EXPECT_TRUE(admins->isGroup());
    EXPECT_FALSE(admins->isUser());
    EXPECT_EQ(admins->toString(), "Group:admins");

    // A foreign type is kept as given, is neither user nor group, prints like a user and
    // so reads back as a user.
    const SmartPointer<IAccountId> printer = MOX::AUTHN::createAccountId("Printers", "lp");
    EXPECT_EQ(printer->getType(), "Printers");
    EXPECT_FALSE(printer->isUser());
    EXPECT_FALSE(printer->isGroup());
    EXPECT_EQ(printer->toString(), "lp");
    const SmartPointer<IAccountId> reread = MOX::parseAccountId(printer->toString());
    EXPECT_EQ(reread->getType(), "User");
    EXPECT_EQ(reread->getName(), "lp");
    EXPECT_FALSE(impl(reread).equals(*printer));

    // createAccountId keeps "User"/"Group" exactly as the dedicated factories do.
    EXPECT_TRUE(MOX::AUTHN::createAccountId("Group", "g")->isGroup());
    EXPECT_FALSE(MOX::AUTHN::createAccountId("group", "g")->isGroup());
    EXPECT_EQ(MOX::AUTHN::createAccountId("group", "g")->toString(), "g");
}

TEST(AccountId, EmptyPartsRaiseTheShortForm)
{
    EXPECT_TRUE(throwsShortForm([] { MOX::AUTHN::createAccountId("", "alice"); }, kAccountFile,
                                "MOX::AUTHN::createAccountId"));
    EXPECT_TRUE(throwsShortForm([] { MOX::AUTHN::createAccountId("User", ""); }, kAccountFile,
                                "MOX::AUTHN::createAccountId"));
    EXPECT_TRUE(throwsShortForm([] { MOX::AUTHN::createUserAccount(""); }, kAccountFile,
                                "MOX::AUTHN::createUserAccount"));
    EXPECT_TRUE(throwsShortForm([] { MOX::AUTHN::createGroupAccount(""); }, kAccountFile,
                                "MOX::AUTHN::createGroupAccount"));
    // White space is a name like any other.
    EXPECT_EQ(MOX::AUTHN::createUserAccount(" ")->getName(), " ");
}

TEST(AccountId, ParseSplitsAtTheFirstColon)
{
    struct Case {
        const char* text;
        const char* type;
        const char* name;
    };
    const Case cases[] = {
        {"alice", "User", "alice"},       {"Group:admins", "Group", "admins"}, {"User:alice", "User", "alice"},
        {":alice", "User", "alice"},      {"Printers:lp", "Printers", "lp"},   {"a:b:c", "a", "b:c"},
        {"Group::x", "Group", ":x"},      {"  spaced", "User", "  spaced"},    {"x>", "User", "x>"},
    };
    for (const Case& c : cases) {
        const SmartPointer<IAccountId> account = MOX::parseAccountId(c.text);
        EXPECT_EQ(account->getType(), c.type) << c.text;
        EXPECT_EQ(account->getName(), c.name) << c.text;
    }
    // An empty name after the colon fails in the factory, not in the parser.
    EXPECT_TRUE(throwsShortForm([] { MOX::parseAccountId("Group:"); }, kAccountFile, "MOX::AUTHN::createAccountId"));
    EXPECT_TRUE(throwsShortForm([] { MOX::parseAccountId(":"); }, kAccountFile, "MOX::AUTHN::createAccountId"));
}

TEST(AccountId, ParseRejectsEmptyTextAndXml)
{
    for (const char* text : {"", "<account/>", "   <x", "\n\t<Group:admins"}) {
        EXPECT_TRUE(throwsShortForm([text] { MOX::parseAccountId(text); }, kMarshallerFile, "MOX::parseAccountId"))
            << '[' << text << ']';
    }
}

TEST(AccountId, TextFormsReadBack)
{
    const SmartPointer<IAccountId> originals[] = {
        MOX::AUTHN::createUserAccount("alice"), MOX::AUTHN::createGroupAccount("admins"),
        MOX::AUTHN::createUserAccount("Group"), MOX::AUTHN::createGroupAccount("User"),
        MOX::AUTHN::createUserAccount("with space/and\\slash")};
    for (const SmartPointer<IAccountId>& original : originals) {
        const SmartPointer<IAccountId> reread = MOX::parseAccountId(original->toString());
        EXPECT_TRUE(impl(reread).equals(*original)) << original->toString();
        EXPECT_EQ(reread->toString(), original->toString());
    }
    // A user whose name looks like XML prints as text that no parser takes back.
    const SmartPointer<IAccountId> xmlish = MOX::parseAccountId(":  <x/");
    EXPECT_EQ(xmlish->getName(), "  <x/");
    EXPECT_TRUE(throwsShortForm([&] { MOX::parseAccountId(xmlish->toString()); }, kMarshallerFile,
                                "MOX::parseAccountId"));
    // A colon in a user's name does not survive: it becomes the type separator.
    const SmartPointer<IAccountId> colon = MOX::AUTHN::createUserAccount("a:b");
    EXPECT_FALSE(impl(MOX::parseAccountId(colon->toString())).equals(*colon));
}

TEST(AccountId, OrderIsTypeThenNameAndEqualityIsExact)
{
    const SmartPointer<IAccountId> groupZ = MOX::AUTHN::createGroupAccount("zz");
    const SmartPointer<IAccountId> userA = MOX::AUTHN::createUserAccount("aa");
    const SmartPointer<IAccountId> userB = MOX::AUTHN::createUserAccount("bb");
    const SmartPointer<IAccountId> printer = MOX::AUTHN::createAccountId("Printers", "aa");

    EXPECT_TRUE(groupZ->lessThan(*userA));
    EXPECT_FALSE(userA->lessThan(*groupZ));
    EXPECT_TRUE(userA->lessThan(*userB));
    EXPECT_FALSE(userB->lessThan(*userA));
    // "Group" < "Printers" < "User" byte-wise.
    EXPECT_TRUE(groupZ->lessThan(*printer));
    EXPECT_TRUE(printer->lessThan(*userA));

    const SmartPointer<IAccountId> userA2 = MOX::AUTHN::createAccountId("User", "aa");
    EXPECT_FALSE(userA->lessThan(*userA2));
    EXPECT_FALSE(userA2->lessThan(*userA));
    EXPECT_TRUE(impl(userA).equals(*userA2));
    EXPECT_FALSE(impl(userA).equals(*printer));   // same name, other type
    EXPECT_FALSE(impl(userA).equals(*userB));     // same type, other name
    EXPECT_FALSE(impl(userA).equals(*MOX::AUTHN::createUserAccount("AA")));   // no case folding
}

TEST(AccountId, ClassifyingFunctions)
{
    EXPECT_TRUE(MOX::AUTHN::isUserAccount(std::string("User")));
    EXPECT_TRUE(MOX::AUTHN::isGroupAccount(std::string("Group")));
    for (const char* other : {"user", "GROUP", "User ", "", "Printers"}) {
        EXPECT_FALSE(MOX::AUTHN::isUserAccount(std::string(other))) << other;
        EXPECT_FALSE(MOX::AUTHN::isGroupAccount(std::string(other))) << other;
    }
    EXPECT_TRUE(MOX::AUTHN::isUserAccount(MOX::AUTHN::createUserAccount("a")));
    EXPECT_FALSE(MOX::AUTHN::isGroupAccount(MOX::AUTHN::createUserAccount("a")));
    EXPECT_TRUE(MOX::AUTHN::isGroupAccount(MOX::AUTHN::createGroupAccount("a")));
    EXPECT_FALSE(MOX::AUTHN::isUserAccount(MOX::AUTHN::createAccountId("Printers", "a")));

    // An empty pointer is the runtime's dereference error, not a "no".
    const SmartPointer<IAccountId> none;
    EXPECT_TRUE(throwsNullPointer([&] { MOX::AUTHN::isUserAccount(none); }));
    EXPECT_TRUE(throwsNullPointer([&] { MOX::AUTHN::isGroupAccount(none); }));
}
