// Identities: construction, the derived name and authority with their caches, and
// conversion between formats with its trace lines.
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
const IdentityImpl& impl(const SmartPointer<IIdentity>& identity) { return dynamic_cast<const IdentityImpl&>(*identity); }

SmartPointer<MOX::AUTHN::IAuthorityId> ntCorp() { return MOX::createAuthorityId("NT", "CORP"); }

// All parts of an identity in one line, for compact expectations.
std::string parts(const SmartPointer<IIdentity>& id)
{
    return id->getFormat() + "|" + id->getValue() + "|" + id->getType() + "|" + id->getName() + "|" +
           id->getAuthorityFormat() + ":" + id->getAuthorityName();
}

template <class F>
::testing::AssertionResult throwsConversionError(F&& f)
{
    return throwsError(f, -1075, kIdentityFile, "MOX::toIdentityInFormat");
}

// Collects the trace lines written while it lives; restores the default sink after.
struct TraceCapture {
    TraceCapture()
    {
        MOX::RT::Tracer::setSink([this](const std::string& scope, const std::string& line) {
            lines.push_back(scope + ": " + line);
        });
    }
    ~TraceCapture() { MOX::RT::Tracer::setSink({}); }
    std::vector<std::string> lines;
};
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
    EXPECT_TRUE(MOX::isGroupIdentity(MOX::createGroupIdentity("EMAIL", "a@b")));
    EXPECT_FALSE(MOX::isUserIdentity(SmartPointer<IIdentity>()) || MOX::isGroupIdentity(SmartPointer<IIdentity>()));

    EXPECT_TRUE(throwsShortForm([] { MOX::createUserIdentity(ntCorp(), ""); }, kAccountFile,
                                "MOX::AUTHN::createUserAccount"));
    EXPECT_TRUE(throwsShortForm([] { MOX::createGroupIdentity(ntCorp(), ""); }, kAccountFile,
                                "MOX::AUTHN::createGroupAccount"));
    EXPECT_TRUE(throwsNullPointer([] { MOX::createUserIdentity(SmartPointer<MOX::AUTHN::IAuthorityId>(), "a"); }));
    EXPECT_TRUE(throwsNullPointer([] { MOX::createIdentity(ntCorp(), SmartPointer<MOX::AUTHN::IAccountId>()); }));
}

TEST(Identity, NamesAndAuthoritiesOfEachFormat)
{
    for (const char* format : {"EMAIL", "UPN"}) {
        const std::string f = format;
        EXPECT_EQ(parts(MOX::createUserIdentity(f, "alice@CORP")), f + "|alice@CORP|User|alice|UNKNOWN:CORP");
        EXPECT_EQ(parts(MOX::createUserIdentity(f, "a@b@c")), f + "|a@b@c|User|a|UNKNOWN:b@c");
        EXPECT_EQ(parts(MOX::createUserIdentity(f, "@\\\\CORP")), f + "|@\\\\CORP|User||UNKNOWN:CORP");
        EXPECT_EQ(MOX::createUserIdentity(f, "alice")->getName(), "");
        for (const char* value : {"alice", "alice@"})
            EXPECT_TRUE(throwsAuthorityError([&] { MOX::createUserIdentity(f, value)->getAuthorityFormat(); }));
        EXPECT_TRUE(throwsError([&] { MOX::createUserIdentity(f, "a@CO\\RP")->getAuthorityName(); }, -1006,
                                kAuthorityFile, kStripFunction));
    }
    const std::pair<const char*, const char*> qelNames[] = {
        {"NT:CORP/a/b:c", "c"}, {"NT:CORP/User:x:y", "x:y"}, {"NT:CORP", "NT:CORP"}, {"NT:CORP/", ""},
        {"NT:CORP/Group:", ""},
    };
    for (const auto& c : qelNames)
        EXPECT_EQ(MOX::createUserIdentity("QEL", c.first)->getName(), c.second) << c.first;
    EXPECT_EQ(parts(MOX::createUserIdentity("QEL", "NT:a:b/c:d/e")), "QEL|NT:a:b/c:d/e|User|d/e|NT:a:b");
    // No slash, no colon, a first colon after the slash, or empty parts: no authority.
    for (const char* value : {"NT:CORP", "NTCORP/alice", "CORP/Group:admins", ":CORP/alice", "NT:/alice"})
        EXPECT_TRUE(throwsAuthorityError([value] { MOX::createUserIdentity("QEL", value)->getAuthorityName(); }));
    // Other formats (case counts) have neither; the text forms store anything.
    for (const char* format : {"X500", "email", ""}) {
        EXPECT_EQ(MOX::createUserIdentity(format, "alice@CORP/o=NT:x")->getName(), "");
        EXPECT_TRUE(throwsAuthorityError([format] { MOX::createGroupIdentity(format, "a@CORP")->getAuthorityName(); }));
    }
}

TEST(Identity, CachesFillOnSuccessOnly)
{
    const SmartPointer<IIdentity> alice = MOX::createUserIdentity("EMAIL", "alice@CORP");
    EXPECT_FALSE(impl(alice).hasCachedName() || impl(alice).hasCachedAuthority());
    const std::string& name = alice->getName();
    EXPECT_TRUE(impl(alice).hasCachedName());
    const std::string& authorityName = alice->getAuthorityName();
    EXPECT_TRUE(impl(alice).hasCachedAuthority());
    EXPECT_EQ(alice->getAuthorityFormat(), "UNKNOWN");   // from the same derivation
    EXPECT_EQ(&name, &alice->getName());
    EXPECT_EQ(&authorityName, &alice->getAuthorityName());

    // A failing derivation caches nothing; every later call tries again and fails again.
    const SmartPointer<IIdentity> bare = MOX::createUserIdentity("EMAIL", "alice");
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_TRUE(throwsAuthorityError([&] { bare->getAuthorityName(); }));
        EXPECT_FALSE(impl(bare).hasCachedAuthority());
    }
    EXPECT_EQ(bare->getName(), "");
    EXPECT_FALSE(impl(bare).hasCachedName());
    // So does a comparison that fails in the authorities.
    const SmartPointer<IIdentity> x1 = MOX::createUserIdentity("X500", "cn=a");
    const SmartPointer<IIdentity> x2 = MOX::createUserIdentity("X500", "cn=b");
    EXPECT_TRUE(throwsAuthorityError([&] { x1->lessThan(*x2); }));
    EXPECT_FALSE(impl(x1).hasCachedAuthority() || impl(x2).hasCachedAuthority());
}

TEST(IdentityConversion, ToEmailAndUpn)
{
    const SmartPointer<IIdentity> alice = MOX::createUserIdentity(ntCorp(), "alice");
    const SmartPointer<IIdentity> email = MOX::toIdentityInFormat(alice, "EMAIL");
    EXPECT_EQ(parts(email), "EMAIL|alice@CORP|User|alice|UNKNOWN:CORP");
    EXPECT_EQ(parts(MOX::toIdentityInFormat(alice, "UPN")), "UPN|alice@CORP|User|alice|UNKNOWN:CORP");
    EXPECT_EQ(parts(MOX::toIdentityInFormat(MOX::createGroupIdentity(ntCorp(), "admins"), "UPN")),
              "UPN|admins@CORP|Group|admins|UNKNOWN:CORP");
    EXPECT_EQ(MOX::toIdentityInFormat(MOX::createUserIdentity("QEL", "NT:\\\\CORP/Printers:lp"), "EMAIL")->getValue(),
              "lp@CORP");
    // Between the "@" formats the text stays; the same format still gives a new object.
    EXPECT_EQ(parts(MOX::toIdentityInFormat(email, "UPN")), "UPN|alice@CORP|User|alice|UNKNOWN:CORP");
    const SmartPointer<IIdentity> again = MOX::toIdentityInFormat(email, "EMAIL");
    EXPECT_NE(again.get(), email.get());
    EXPECT_EQ(again->getValue(), email->getValue());
}

TEST(IdentityConversion, QelOnlyFromQelAndUnsupportedTargets)
{
    const SmartPointer<IIdentity> qel = MOX::createGroupIdentity(ntCorp(), "admins");
    const SmartPointer<IIdentity> same = MOX::toIdentityInFormat(qel, "QEL");
    EXPECT_NE(same.get(), qel.get());
    EXPECT_EQ(parts(same), parts(qel));

    TraceCapture trace;
    EXPECT_TRUE(throwsConversionError([] { MOX::toIdentityInFormat(MOX::createUserIdentity("EMAIL", "a@b"), "QEL"); }));
    for (const char* target : {"X500", "email", "UNKNOWN"})
        EXPECT_TRUE(throwsConversionError([&] { MOX::toIdentityInFormat(qel, target); })) << target;
    EXPECT_EQ(trace.lines, (std::vector<std::string>{
                               "MOX::toIdentityInFormat: Identity in format EMAIL is not convertable to MOX_FORMAT_QEL",
                               "MOX::toIdentityInFormat: Unsupported identity format X500",
                               "MOX::toIdentityInFormat: Unsupported identity format email",
                               "MOX::toIdentityInFormat: Unsupported identity format UNKNOWN"}));

    // The source's authority is derived for every target, before the target is looked at.
    trace.lines.clear();
    const SmartPointer<IIdentity> noAuthority = MOX::createUserIdentity("QEL", "NTCORP/a");
    for (const char* target : {"QEL", "UPN", "X500"})
        EXPECT_TRUE(throwsAuthorityError([&] { MOX::toIdentityInFormat(noAuthority, target); })) << target;
    EXPECT_TRUE(trace.lines.empty());
    EXPECT_TRUE(throwsNullPointer([] { MOX::toIdentityInFormat(SmartPointer<IIdentity>(), "EMAIL"); }));
}
