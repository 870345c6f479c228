// Identities: construction, the derived name and authority with their caches, the
// classifying functions and conversion between formats with its trace lines.
#include <gtest/gtest.h>

#include <mox/authn/IIdentity.h>
#include <mox/rt/Tracer.h>

#include <utility>
#include <vector>

#include "data/authentication/AuthnTestSupport.h"
#include "data/authentication/IdentityImpl.h"

using MOX::AUTHN::IdentityImpl;
using MOX::AUTHN::IIdentity;
using MOX::RT::SmartPointer;
using namespace authntest;

namespace {
const IdentityImpl& impl(const SmartPointer<IIdentity>& identity)
{
    return dynamic_cast<const IdentityImpl&>(*identity);
}

SmartPointer<MOX::AUTHN::IAuthorityId> ntCorp() { return MOX::createAuthorityId("NT", "CORP"); }

// Collects the trace lines written while it lives; restores the default sink after.
class TraceCapture {
public:
    TraceCapture()
    {
        MOX::RT::Tracer::setSink([this](const std::string& scope, const std::string& line) {
            lines.emplace_back(scope, line);
        });
    }
    ~TraceCapture() { MOX::RT::Tracer::setSink({}); }
    std::vector<std::pair<std::string, std::string>> lines;
};
} // namespace

TEST(Identity, QelFromAuthorityAndAccount)
{
    const SmartPointer<IIdentity> alice = MOX::createUserIdentity(ntCorp(), "alice");
    EXPECT_EQ(alice->getValue(), "NT:CORP/alice");
    EXPECT_EQ(alice->toString(), "NT:CORP/alice");
    EXPECT_EQ(alice->getFormat(), "QEL");
    EXPECT_EQ(alice->getType(), "User");
    EXPECT_EQ(alice->getName(), "alice");
    EXPECT_EQ(alice->getAuthorityName(), "CORP");
    EXPECT_EQ(alice->getAuthorityFormat(), "NT");
    EXPECT_TRUE(alice->isUser());
    EXPECT_FALSE(alice->isGroup());

    const SmartPointer<IIdentity> admins = MOX::createGroupIdentity(ntCorp(), "admins");
    EXPECT_EQ(admins->getValue(), "NT:CORP/Group:admins");
    EXPECT_EQ(admins->getName(), "admins");
    EXPECT_EQ(admins->getType(), "Group");
    EXPECT_TRUE(admins->isGroup());
    EXPECT_EQ(admins->getAuthorityName(), "CORP");

    // The type comes from the account, also a foreign one (whose text shows no type).
    const SmartPointer<IIdentity> printer =
        MOX::createIdentity(MOX::createAuthorityId("LDAP", "\\\\dc"), MOX::AUTHN::createAccountId("Printers", "lp"));
    EXPECT_EQ(printer->getValue(), "LDAP:dc/lp");
    EXPECT_EQ(printer->getType(), "Printers");
    EXPECT_FALSE(printer->isUser());
    EXPECT_FALSE(printer->isGroup());
    EXPECT_FALSE(MOX::isUserIdentity(printer));
    EXPECT_FALSE(MOX::isGroupIdentity(printer));
    EXPECT_EQ(printer->getAuthorityFormat(), "LDAP");
}

TEST(Identity, FactoryErrorsPassThrough)
{
    EXPECT_TRUE(throwsShortForm([] { MOX::createUserIdentity(ntCorp(), ""); }, kAccountFile,
                                "MOX::AUTHN::createUserAccount"));
    EXPECT_TRUE(throwsShortForm([] { MOX::createGroupIdentity(ntCorp(), ""); }, kAccountFile,
                                "MOX::AUTHN::createGroupAccount"));
    const SmartPointer<MOX::AUTHN::IAuthorityId> noAuthority;
    const SmartPointer<MOX::AUTHN::IAccountId> noAccount;
    EXPECT_TRUE(throwsNullPointer([&] { MOX::createIdentity(noAuthority, MOX::AUTHN::createUserAccount("a")); }));
    EXPECT_TRUE(throwsNullPointer([&] { MOX::createIdentity(ntCorp(), noAccount); }));
    EXPECT_TRUE(throwsNullPointer([&] { MOX::createUserIdentity(noAuthority, "alice"); }));
    EXPECT_TRUE(throwsNullPointer([&] { MOX::createGroupIdentity(noAuthority, "admins"); }));

    // The text forms store anything, empty texts included.
    const SmartPointer<IIdentity> blank = MOX::createGroupIdentity(std::string(), std::string());
    EXPECT_EQ(blank->getFormat(), "");
    EXPECT_EQ(blank->getValue(), "");
    EXPECT_TRUE(blank->isGroup());
    EXPECT_EQ(blank->getName(), "");
}

TEST(Identity, AtFormatsSplitAtTheFirstAt)
{
    for (const char* format : {"EMAIL", "UPN"}) {
        const SmartPointer<IIdentity> alice = MOX::createUserIdentity(format, "alice@CORP");
        EXPECT_EQ(alice->getFormat(), format);
        EXPECT_EQ(alice->getName(), "alice");
        EXPECT_EQ(alice->getAuthorityName(), "CORP");
        EXPECT_EQ(alice->getAuthorityFormat(), "UNKNOWN");

        const SmartPointer<IIdentity> twoAts = MOX::createUserIdentity(format, "a@b@c");
        EXPECT_EQ(twoAts->getName(), "a");
        EXPECT_EQ(twoAts->getAuthorityName(), "b@c");

        // The domain goes through the leading-backslash rule.
        EXPECT_EQ(MOX::createUserIdentity(format, "alice@\\\\CORP")->getAuthorityName(), "CORP");
        EXPECT_TRUE(throwsInvalidArguments([format] { MOX::createUserIdentity(format, "a@CO\\RP")->getAuthorityName(); },
                                           kAuthorityFile, kStripFunction));

        // No "@": no name, and no authority can be derived.
        const SmartPointer<IIdentity> bare = MOX::createUserIdentity(format, "alice");
        EXPECT_EQ(bare->getName(), "");
        EXPECT_TRUE(throwsAuthorityError([&] { bare->getAuthorityName(); }));
        EXPECT_TRUE(throwsAuthorityError([&] { bare->getAuthorityFormat(); }));
        // An empty domain is refused as well; an empty name is allowed.
        EXPECT_TRUE(throwsAuthorityError([format] { MOX::createUserIdentity(format, "alice@")->getAuthorityName(); }));
        const SmartPointer<IIdentity> noName = MOX::createUserIdentity(format, "@CORP");
        EXPECT_EQ(noName->getName(), "");
        EXPECT_EQ(noName->getAuthorityName(), "CORP");
    }
}

TEST(Identity, QelTextCorners)
{
    struct Case {
        const char* value;
        const char* name;
    };
    const Case names[] = {
        {"NT:CORP/alice", "alice"},   {"NT:CORP/Group:admins", "admins"}, {"NT:CORP/a/b:c", "c"},
        {"NT:CORP/User:x:y", "x:y"},  {"NT:CORP", "NT:CORP"},              {"NT:CORP/", ""},
        {"alice", "alice"},           {"NT:CORP/Group:", ""},
    };
    for (const Case& c : names)
        EXPECT_EQ(MOX::createUserIdentity("QEL", c.value)->getName(), c.name) << c.value;

    const SmartPointer<IIdentity> deep = MOX::createUserIdentity("QEL", "NT:a:b/c:d/e");
    EXPECT_EQ(deep->getAuthorityFormat(), "NT");
    EXPECT_EQ(deep->getAuthorityName(), "a:b");
    EXPECT_EQ(MOX::createUserIdentity("QEL", "NT:\\\\CORP/alice")->getAuthorityName(), "CORP");

    // No slash, no colon, a colon only after the slash, or empty parts: no authority.
    for (const char* value : {"NT:CORP", "NTCORP/alice", "CORP/Group:admins", ":CORP/alice", "NT:/alice", ""}) {
        EXPECT_TRUE(throwsAuthorityError([value] { MOX::createUserIdentity("QEL", value)->getAuthorityName(); }))
            << value;
    }
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createUserIdentity("QEL", "NT:CO\\RP/a")->getAuthorityFormat(); },
                                       kAuthorityFile, kStripFunction));
}

TEST(Identity, OtherFormatsHaveNoNameAndNoAuthority)
{
    const SmartPointer<IIdentity> x500 = MOX::createUserIdentity("X500", "cn=alice@CORP/o=NT:x");
    EXPECT_EQ(x500->getName(), "");
    EXPECT_TRUE(throwsAuthorityError([&] { x500->getAuthorityName(); }));
    // Format names are case-sensitive.
    const SmartPointer<IIdentity> lower = MOX::createUserIdentity("email", "alice@CORP");
    EXPECT_EQ(lower->getName(), "");
    EXPECT_TRUE(throwsAuthorityError([&] { lower->getAuthorityFormat(); }));
}

TEST(Identity, CachesFillOnSuccessOnly)
{
    const SmartPointer<IIdentity> alice = MOX::createUserIdentity("EMAIL", "alice@CORP");
    EXPECT_FALSE(impl(alice).hasCachedName());
    EXPECT_FALSE(impl(alice).hasCachedAuthority());
    const std::string& name = alice->getName();
    EXPECT_TRUE(impl(alice).hasCachedName());
    EXPECT_EQ(&name, &alice->getName());
    const std::string& authorityName = alice->getAuthorityName();
    EXPECT_TRUE(impl(alice).hasCachedAuthority());
    // One derivation serves both getters, and later calls return the cached texts.
    EXPECT_EQ(&authorityName, &alice->getAuthorityName());
    EXPECT_EQ(alice->getAuthorityFormat(), "UNKNOWN");

    // A failing derivation caches nothing; every later call tries again and fails again.
    const SmartPointer<IIdentity> bare = MOX::createUserIdentity("EMAIL", "alice");
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_TRUE(throwsAuthorityError([&] { bare->getAuthorityName(); }));
        EXPECT_FALSE(impl(bare).hasCachedAuthority());
    }
    // An empty name is not cached either.
    EXPECT_EQ(bare->getName(), "");
    EXPECT_FALSE(impl(bare).hasCachedName());

    // A failing comparison leaves both sides as they were.
    const SmartPointer<IIdentity> x1 = MOX::createUserIdentity("X500", "cn=a");
    const SmartPointer<IIdentity> x2 = MOX::createUserIdentity("X500", "cn=b");
    EXPECT_TRUE(throwsAuthorityError([&] { x1->lessThan(*x2); }));
    EXPECT_FALSE(impl(x1).hasCachedAuthority());
    EXPECT_FALSE(impl(x2).hasCachedAuthority());
}

TEST(Identity, ClassifyingFunctions)
{
    EXPECT_TRUE(MOX::isUserIdentity(MOX::createUserIdentity("EMAIL", "a@b")));
    EXPECT_FALSE(MOX::isGroupIdentity(MOX::createUserIdentity("EMAIL", "a@b")));
    EXPECT_TRUE(MOX::isGroupIdentity(MOX::createGroupIdentity("EMAIL", "a@b")));
    EXPECT_FALSE(MOX::isUserIdentity(MOX::createGroupIdentity("EMAIL", "a@b")));
    const SmartPointer<IIdentity> none;
    EXPECT_FALSE(MOX::isUserIdentity(none));
    EXPECT_FALSE(MOX::isGroupIdentity(none));
}

TEST(IdentityConversion, ToEmailAndUpn)
{
    const SmartPointer<IIdentity> alice = MOX::createUserIdentity(ntCorp(), "alice");
    const SmartPointer<IIdentity> email = MOX::toIdentityInFormat(alice, "EMAIL");
    EXPECT_EQ(email->getFormat(), "EMAIL");
    EXPECT_EQ(email->getValue(), "alice@CORP");
    EXPECT_EQ(email->getType(), "User");
    const SmartPointer<IIdentity> upn = MOX::toIdentityInFormat(alice, "UPN");
    EXPECT_EQ(upn->getFormat(), "UPN");
    EXPECT_EQ(upn->getValue(), "alice@CORP");

    const SmartPointer<IIdentity> admins = MOX::toIdentityInFormat(MOX::createGroupIdentity(ntCorp(), "admins"), "UPN");
    EXPECT_EQ(admins->getValue(), "admins@CORP");
    EXPECT_EQ(admins->getType(), "Group");

    // EMAIL to UPN keeps the text; the same format still gives a new object.
    const SmartPointer<IIdentity> fromEmail = MOX::toIdentityInFormat(email, "UPN");
    EXPECT_EQ(fromEmail->getValue(), "alice@CORP");
    EXPECT_EQ(fromEmail->getFormat(), "UPN");
    const SmartPointer<IIdentity> again = MOX::toIdentityInFormat(email, "EMAIL");
    EXPECT_FALSE(again.sharesWith(email));
    EXPECT_NE(again.get(), email.get());
    EXPECT_EQ(again->getValue(), email->getValue());

    // A foreign account type survives; the backslash rule shows in the new domain.
    const SmartPointer<IIdentity> printer = MOX::toIdentityInFormat(
        MOX::createUserIdentity("QEL", "NT:\\\\CORP/Printers:lp"), "EMAIL");
    EXPECT_EQ(printer->getValue(), "lp@CORP");
}

TEST(IdentityConversion, ToQelOnlyFromQel)
{
    const SmartPointer<IIdentity> qel = MOX::createGroupIdentity(ntCorp(), "admins");
    const SmartPointer<IIdentity> same = MOX::toIdentityInFormat(qel, "QEL");
    EXPECT_NE(same.get(), qel.get());
    EXPECT_EQ(same->getValue(), "NT:CORP/Group:admins");
    EXPECT_EQ(same->getFormat(), "QEL");
    EXPECT_EQ(same->getType(), "Group");

    TraceCapture trace;
    EXPECT_TRUE(throwsConversionError([] { MOX::toIdentityInFormat(MOX::createUserIdentity("EMAIL", "a@b"), "QEL"); }));
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_EQ(trace.lines[0].first, "MOX::toIdentityInFormat");
    EXPECT_EQ(trace.lines[0].second, "Identity in format EMAIL is not convertable to MOX_FORMAT_QEL");

    // The source's authority is derived even for a QEL target.
    trace.lines.clear();
    EXPECT_TRUE(throwsAuthorityError([] { MOX::toIdentityInFormat(MOX::createUserIdentity("QEL", "NTCORP/a"), "QEL"); }));
    EXPECT_TRUE(trace.lines.empty());
}

TEST(IdentityConversion, UnsupportedTargetsAndSources)
{
    const SmartPointer<IIdentity> alice = MOX::createUserIdentity(ntCorp(), "alice");
    TraceCapture trace;
    for (const char* target : {"X500", "email", "UNKNOWN", ""}) {
        trace.lines.clear();
        EXPECT_TRUE(throwsConversionError([&] { MOX::toIdentityInFormat(alice, target); })) << target;
        ASSERT_EQ(trace.lines.size(), 1u) << target;
        EXPECT_EQ(trace.lines[0].first, "MOX::toIdentityInFormat");
        EXPECT_EQ(trace.lines[0].second, std::string("Unsupported identity format ") + target);
    }

    // A source without an authority fails before the target is looked at.
    trace.lines.clear();
    const SmartPointer<IIdentity> bare = MOX::createUserIdentity("EMAIL", "alice");
    EXPECT_TRUE(throwsAuthorityError([&] { MOX::toIdentityInFormat(bare, "X500"); }));
    EXPECT_TRUE(throwsAuthorityError([&] { MOX::toIdentityInFormat(bare, "UPN"); }));
    EXPECT_TRUE(trace.lines.empty());

    EXPECT_TRUE(throwsNullPointer([] { MOX::toIdentityInFormat(SmartPointer<IIdentity>(), "EMAIL"); }));
}
