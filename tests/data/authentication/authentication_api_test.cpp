// The principals API as a program sees it through libmox.so: exported factories,
// parse functions, identity sets, conversion, and exceptions caught by their classes.
#include <gtest/gtest.h>

#include <mox/mox.h>

using MOX::AUTHN::IdentitySet;
using MOX::AUTHN::IIdentity;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::RT::SmartPointer;

TEST(AuthenticationApi, PrincipalsThroughTheSharedLibrary)
{
    const auto authority = MOX::parseAuthorityId("NT:\\\\CORP");
    const auto account = MOX::parseAccountId("Group:admins");
    EXPECT_TRUE(MOX::AUTHN::isGroupAccount(account));
    EXPECT_FALSE(MOX::AUTHN::isUserAccount(account));
    const SmartPointer<IIdentity> admins = MOX::createIdentity(authority, account);
    EXPECT_EQ(admins->toString(), "NT:CORP/Group:admins");
    EXPECT_TRUE(MOX::isGroupIdentity(admins));

    IdentitySet set{admins, MOX::createUserIdentity(authority, "alice")};
    EXPECT_TRUE(MOX::containsIdentity(MOX::createGroupIdentity(MOX::MOX_FORMAT_EMAIL, "admins@CORP"), set));
    EXPECT_FALSE(MOX::containsIdentity(MOX::createUserIdentity(MOX::MOX_FORMAT_EMAIL, "admins@CORP"), set));
    const IdentitySet probes{MOX::createUserIdentity(MOX::MOX_FORMAT_UPN, "alice@CORP")};
    EXPECT_TRUE(MOX::containsIdentity(probes, set));

    const SmartPointer<IIdentity> upn = MOX::toIdentityInFormat(admins, MOX::MOX_FORMAT_UPN);
    EXPECT_EQ(upn->getValue(), "admins@CORP");
    EXPECT_EQ(upn->getAuthorityFormat(), MOX::MOX_FORMAT_UNKNOWN);
    EXPECT_TRUE(MOX::isUserIdentity(MOX::createUserIdentity(MOX::createAuthorityId("NT", "X"), "u")));
    EXPECT_EQ(MOX::AUTHN::createAccountId("Printers", "lp")->getType(), "Printers");
    EXPECT_EQ(MOX::AUTHN::createUserAccount("u")->toString(), "u");
}

TEST(AuthenticationApi, ErrorsCrossTheLibraryWithTheirClasses)
{
    try {
        MOX::toIdentityInFormat(MOX::createUserIdentity("EMAIL", "a@b"), MOX::MOX_FORMAT_QEL);
        FAIL() << "no exception";
    } catch (const InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), -1075);
        EXPECT_EQ(e.getFunction(), "MOX::toIdentityInFormat");
        EXPECT_EQ(e.getName(), "InvalidArgumentException");
    }
    try {
        MOX::parseAccountId("");
        FAIL() << "no exception";
    } catch (const InvalidArgumentException& e) {
        EXPECT_TRUE(e.isShortForm());
        EXPECT_EQ(e.getFunction(), "MOX::parseAccountId");
    }
    try {
        MOX::createUserIdentity("EMAIL", "nobody")->getAuthorityName();
        FAIL() << "no exception";
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        EXPECT_EQ(e.getCode(), -1006);
        EXPECT_EQ(e.getFunction(), "MOX::createAuthorityId");
        EXPECT_NE(dynamic_cast<const InvalidArgumentException*>(&e), nullptr);
    }
}
