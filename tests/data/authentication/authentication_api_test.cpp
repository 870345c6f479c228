// SPDX-License-Identifier: MIT
// The principals API through libmox.so: exported factories, sets, conversion, and
// exceptions caught by their classes across the library boundary.
#include <gtest/gtest.h>

#include <mox/mox.h>

TEST(AuthenticationApi, PrincipalsThroughTheSharedLibrary)
{
    const auto admins = MOX::createIdentity(MOX::parseAuthorityId("NT:\\\\CORP"), MOX::parseAccountId("Group:admins"));
    EXPECT_EQ(admins->toString(), "NT:CORP/Group:admins");
    const MOX::AUTHN::IdentitySet set{admins};
    EXPECT_TRUE(MOX::containsIdentity(MOX::createGroupIdentity(MOX::MOX_FORMAT_EMAIL, "admins@CORP"), set));
    EXPECT_EQ(MOX::toIdentityInFormat(admins, MOX::MOX_FORMAT_UPN)->getValue(), "admins@CORP");
    EXPECT_THROW(MOX::toIdentityInFormat(MOX::createUserIdentity("EMAIL", "a@b"), MOX::MOX_FORMAT_QEL),
                 MOX::EXCEPTIONS::InvalidArgumentException);
}
