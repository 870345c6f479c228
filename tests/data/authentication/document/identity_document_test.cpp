// SPDX-License-Identifier: MIT
// The identities document: marshalIdentities, marshalIdentity, parseIdentities,
// parseIdentity, with every failure row.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <mox/authn.h>
#include <mox/authn/IdentityDocuments.h>
#include <mox/rt/XmlUtils.h>

#include "data/authentication/AuthnTestSupport.h"

using namespace MOX;
using AUTHN::IIdentity;
using RT::SmartPointer;
using Identities = Set<SmartPointer<IIdentity>>;

namespace {

SmartPointer<IIdentity> qelUser(const std::string& name) { return createUserIdentity(createAuthorityId("NT", "CORP"), name); }
SmartPointer<IIdentity> printer(const std::string& name)
{
    return createIdentity(createAuthorityId("NT", "CORP"), AUTHN::createAccountId("Printers", name));
}
bool same(const SmartPointer<IIdentity>& a, const SmartPointer<IIdentity>& b)
{
    return !a.isNull() && !b.isNull() && !a->lessThan(*b) && !b->lessThan(*a) && a->getType() == b->getType();
}
std::string wrap(const std::string& items) { return "<identities>" + items + "</identities>"; }

} // namespace

TEST(IdentityDocument, SetsRoundTripAsOneItemPerIdentity)
{
    const Identities set{qelUser("alice"), createGroupIdentity("EMAIL", "a&b<c>@example.org"), printer("lp1"),
                         createUserIdentity("UPN", "bob@corp.example"),
                         createGroupIdentity(createAuthorityId("NT", "CORP"), "admins")};
    const std::string text = marshalIdentities(set);
    const Identities back = parseIdentities(text);
    ASSERT_EQ(back.size(), set.size());
    for (auto a = set.begin(), b = back.begin(); b != back.end(); ++a, ++b) {
        EXPECT_TRUE(same(*a, *b)) << (*a)->toString();
        EXPECT_EQ((*a)->getFormat(), (*b)->getFormat()) << (*a)->toString();
    }
    EXPECT_EQ(marshalIdentities(back), text);
    // One item element per identity, in the set's order.
    std::string items;
    for (const auto& identity : set) {
        items += marshalIdentity(identity);
        EXPECT_TRUE(same(parseIdentity(marshalIdentity(identity)), identity)) << identity->toString();
    }
    EXPECT_EQ(RT::XmlUtils::GetElementValue("identities", text), items);
}

TEST(IdentityDocument, ReadsOneIdentityFromTextOrItems)
{
    EXPECT_TRUE(same(parseIdentity("NT:CORP/a/b"), qelUser("a/b"))); // the text form; further slashes stay
    // Several items: the first in the set's order, not in the text's.
    EXPECT_TRUE(same(parseIdentity(marshalIdentity(qelUser("zed")) + marshalIdentity(qelUser("amy"))), qelUser("amy")));

    // The leading-backslash rule applies each time an authority is made from text: six
    // leading backslashes keep four in the authority, two in the identity's derived
    // authority and the item, and none after reading the item.
    const auto deep = createIdentity(createAuthorityId("NT", std::string(6, '\\') + "CORP"),
                                     AUTHN::createAccountId("Printers", "lp"));
    const std::string deepElement = marshalIdentity(deep);
    EXPECT_EQ(RT::XmlUtils::GetAttributeValue("authority", deepElement), std::string(2, '\\') + "CORP");
    EXPECT_EQ(parseIdentity(deepElement)->getValue(), "NT:CORP/lp");
}

TEST(IdentityDocument, EveryFailurePath)
{
    const std::pair<std::string, int> malformed[] = { // the text and the status the detail names
        // (An empty text and another root are the attributes document's rows: one codec path.)
        {wrap("<Principal format='QEL'>x</Principal>"), -41},
        {wrap("<UserIdentifier format='QEL' extra='1'>x</UserIdentifier>"), -33},
        {wrap("<UserIdentifier>x</UserIdentifier>"), -38},
        {wrap("<UserIdentifier format='QEL'>NT:CORP/<b>alice</b></UserIdentifier>"), -41},
    };
    for (const auto& [text, status] : malformed)
        EXPECT_TRUE(moxtest::failsDecoding([&] { parseIdentities(text); }, status)) << text;
    // A whole document nests a root inside the wrapper of a single item.
    EXPECT_TRUE(moxtest::failsDecoding([] { parseIdentity(marshalIdentities({qelUser("x")})); }, -41));

    using namespace authntest;
    const struct { std::function<void()> call; int code; const char *function, *file; } rows[] = {
        {[] { parseIdentity("no-slash-here"); }, 0, "MOX::parseIdentity", kMarshallerFile},
        {[] { parseIdentity("<!-- no items -->"); }, 0, "MOX::parseIdentity", kMarshallerFile},
        // The parts' own errors pass through.
        {[] { parseIdentity("NTCORP/alice"); }, 0, "MOX::parseAuthorityId", kMarshallerFile},
        {[] { parseIdentities(wrap("<identity format='' authority='CORP' account='a' type='Printers'/>")); }, -1006,
         kCreateAuthority, kAuthorityFile},
        {[] { parseIdentities(wrap("<identity format='NT' authority='CORP' account='' type='Printers'/>")); }, 0,
         "MOX::AUTHN::createAccountId", kAccountFile},
        {[] { parseIdentities(wrap("<identity format='NT' authority='CORP' account='a' type=''/>")); }, 0,
         "MOX::AUTHN::createAccountId", kAccountFile},
        // The authority is checked first; a backslash inside its name is refused.
        {[] { parseIdentities(wrap("<identity format='NT' authority='' account='' type=''/>")); }, -1006,
         kCreateAuthority, kAuthorityFile},
        {[] { parseIdentities(wrap("<identity format='NT' authority='C\\x' account='a' type='User'/>")); }, -1006,
         kStripFunction, kAuthorityFile},
        // Read, but the authority is not in the rebuilt text ("A/B:CORP/lp"): not written back.
        {[] { marshalIdentities(parseIdentities(wrap("<identity format='A/B' authority='CORP' account='lp' type='X'/>"))); },
         -1006, kCreateAuthority, kAuthorityFile},
        // The first failing item in document order wins; a later decoding error wins over it.
        {[] { parseIdentities(wrap("<identity format='NT' authority='CORP' account='' type='X'/>"
                                   "<identity format='' authority='CORP' account='a' type='X'/>")); }, 0,
         "MOX::AUTHN::createAccountId", kAccountFile},
        {[] { parseIdentities(wrap("<identity format='NT' authority='CORP' account='' type='X'/><bad/>")); }, -1056,
         "MOX::XB::XBinderManager::decode", "services/serialization/manager/XBinderManager"}};
    for (const auto& row : rows)
        EXPECT_TRUE(moxtest::throwsMox(row.call, row.code, row.function, row.file)) << &row - rows;
    // Identities XML cannot carry are not written.
    for (const auto& identity : {createUserIdentity("QEL", "NT:CORP/a\x18" "b"), createGroupIdentity("EM\x01IL", "g@x")})
        EXPECT_TRUE(moxtest::throwsMox<EXCEPTIONS::SerializationException>([&] { marshalIdentities({identity}); },
                                                                           -1055, "MOX::XB::XBinderManager::encode"));
}

TEST(IdentityDocument, ItemsOfEveryFormReadAsTheFactoriesMakeThem)
{
    const auto nt = createAuthorityId("NT", "CORP");
    const std::pair<std::string, SmartPointer<IIdentity>> rows[] = {
        {"<UserIdentifier format='QEL'>NT:CORP/alice</UserIdentifier>", createUserIdentity(nt, "alice")},
        {"<GroupIdentifier format='QEL'>NT:CORP/Group:staff</GroupIdentifier>", createGroupIdentity(nt, "staff")},
        {"<UserIdentifier format='EMAIL'>bob@CORP</UserIdentifier>", createUserIdentity("EMAIL", "bob@CORP")},
        {"<GroupIdentifier format='UPN'>ops@CORP</GroupIdentifier>", createGroupIdentity("UPN", "ops@CORP")},
        {"<UserIdentifier format='X500'>cn=x</UserIdentifier>", createUserIdentity("X500", "cn=x")},
        {"<UserIdentifier format=''></UserIdentifier>", createUserIdentity("", "")},
        {"<identity format='NT' authority='CORP' account='lp' type='Printers'/>", printer("lp")},
        {"<identity format='NT' authority='\\\\CORP' account='carol' type='User'/>", createUserIdentity(nt, "carol")},
        {"<identity format='LDAP' authority='dc' account='admins' type='Group'/>",
         createGroupIdentity(createAuthorityId("LDAP", "dc"), "admins")},
        {"<identity format='NT' authority='a/b' account='c' type='Printers'/>",
         createIdentity(createAuthorityId("NT", "a/b"), AUTHN::createAccountId("Printers", "c"))}};
    const auto parts = [](const SmartPointer<IIdentity>& id) {
        std::string text = id->getFormat() + "|" + id->getValue() + "|" + id->getType() + "|" + id->getName();
        try {
            text += "|" + id->getAuthorityFormat() + ":" + id->getAuthorityName();
        } catch (const std::exception&) {
            text += "|none";
        }
        return text;
    };
    // Several items in one document are the round trip's case above.
    for (const auto& [item, expected] : rows) {
        const Identities read = parseIdentities(wrap(item));
        ASSERT_EQ(read.size(), 1u) << item;
        EXPECT_EQ(parts(*read.begin()), parts(expected)) << item;
        EXPECT_TRUE(same(*read.begin(), expected)) << item;
    }
}
