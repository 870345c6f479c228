// The identities document: marshalIdentities, marshalIdentity, parseIdentities,
// parseIdentity and IdentityConverter, with every failure row.
#include <gtest/gtest.h>

#include <algorithm>

#include <mox/authn.h>
#include <mox/authn/IdentityDocuments.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/IdentityConverter.h>

#include "data/authentication/AuthnTestSupport.h"

using namespace MOX;
using AUTHN::IIdentity;
using EXCEPTIONS::SerializationException;
using RT::SmartPointer;
using RT::XmlUtils;
using Identities = Set<SmartPointer<IIdentity>>;

namespace {

SmartPointer<IIdentity> qelUser(const std::string& name) { return createUserIdentity(createAuthorityId("NT", "CORP"), name); }

SmartPointer<IIdentity> printer(const std::string& name)
{
    return createIdentity(createAuthorityId("NT", "CORP"), AUTHN::createAccountId("Printers", name));
}

bool same(const SmartPointer<IIdentity>& a, const SmartPointer<IIdentity>& b)
{
    return !a.isNull() && !b.isNull() && !a->lessThan(*b) && !b->lessThan(*a);
}

std::string wrap(const std::string& items) { return "<identities>" + items + "</identities>"; }

const std::string kAlice = "<UserIdentifier format='QEL'>NT:CORP/alice</UserIdentifier>";

// The SerializationException that `f` raises, checked for its code, message and function.
template <class F>
std::string serializationDetail(F&& f, int code, const char* message, const char* function)
{
    try {
        f();
    } catch (const SerializationException& e) {
        EXPECT_EQ(e.getCode(), code);
        EXPECT_EQ(e.getMessage(), message);
        EXPECT_EQ(e.getFunction(), function);
        return e.getDetail();
    }
    ADD_FAILURE() << "no SerializationException";
    return std::string();
}

} // namespace

TEST(IdentityDocument, SetsRoundTripInTheSetsOrder)
{
    const std::string empty = marshalIdentities(Identities());
    EXPECT_EQ(empty.rfind("<?xml", 0), 0u);
    EXPECT_EQ(XmlUtils::GetElement("identities", empty), "<identities></identities>");
    EXPECT_TRUE(parseIdentities(empty).empty());
    EXPECT_TRUE(parseIdentities("<identities/>").empty());

    const Identities set{qelUser("alice"), createGroupIdentity("EMAIL", "staff@example.org"), printer("lp1"),
                         createUserIdentity("UPN", "bob@corp.example"),
                         createGroupIdentity(createAuthorityId("NT", "CORP"), "admins")};
    const std::string text = marshalIdentities(set);
    // One item element per identity, in the set's order.
    std::string items;
    for (const auto& identity : set)
        items += marshalIdentity(identity);
    EXPECT_EQ(XmlUtils::GetElementValue("identities", text), items);

    const Identities back = parseIdentities(text);
    ASSERT_EQ(back.size(), set.size());
    for (auto a = set.begin(), b = back.begin(); b != back.end(); ++a, ++b) {
        EXPECT_TRUE(same(*a, *b)) << (*a)->toString() << " vs " << (*b)->toString();
        EXPECT_EQ((*a)->getFormat() + (*a)->getType(), (*b)->getFormat() + (*b)->getType());
    }
    EXPECT_EQ(marshalIdentities(back), text);
}

TEST(IdentityDocument, ItemElementsOfEachKindReadBack)
{
    const auto alice = qelUser("alice");
    const std::string element = marshalIdentity(alice);
    EXPECT_EQ(element, "<UserIdentifier format=\"QEL\">" + alice->getValue() + "</UserIdentifier>");
    EXPECT_TRUE(same(parseIdentity(element), alice) && same(parseIdentity(alice->toString()), alice));

    const std::string groupElement = marshalIdentity(createGroupIdentity("EMAIL", "a&b<c>@example.org"));
    EXPECT_EQ(groupElement, XmlUtils::GetElement("GroupIdentifier", groupElement));
    EXPECT_TRUE(parseIdentity(groupElement)->isGroup() && parseIdentity(groupElement)->getValue() == "a&b<c>@example.org");
    EXPECT_TRUE(same(parseIdentity("NT:CORP/Group:admins"), createGroupIdentity(createAuthorityId("NT", "CORP"), "admins")));
    EXPECT_TRUE(same(parseIdentity("NT:CORP/a/b"), qelUser("a/b"))); // further slashes stay in the account
    // Several items: the first in the set's order, not in the text's.
    const auto first = parseIdentity(marshalIdentity(qelUser("zed")) + marshalIdentity(qelUser("amy")));
    EXPECT_TRUE(same(first, std::min(qelUser("zed"), qelUser("amy"))));

    // Other account types travel by their parts.
    const std::string lpElement = marshalIdentity(printer("lp1"));
    EXPECT_EQ(XmlUtils::GetAttributeValue("format", lpElement) + "|" + XmlUtils::GetAttributeValue("authority", lpElement) +
                  "|" + XmlUtils::GetAttributeValue("account", lpElement) + "|" + XmlUtils::GetAttributeValue("type", lpElement),
              "NT|CORP|lp1|Printers");
    const auto lpBack = parseIdentity(lpElement);
    EXPECT_EQ(lpBack->getFormat() + "|" + lpBack->getValue() + "|" + lpBack->getType(), "QEL|NT:CORP/lp1|Printers");

    // The leading-backslash rule applies each time an authority is made from text: in
    // createAuthorityId, when an identity derives its authority from its text, and when
    // an item is read. Six leading backslashes keep four in the authority, two in the
    // identity's derived authority and the item, and none after reading the item.
    const auto authority = createAuthorityId("NT", std::string(6, '\\') + "CORP");
    ASSERT_EQ(authority->getName(), std::string(4, '\\') + "CORP");
    const auto deep = createIdentity(authority, AUTHN::createAccountId("Printers", "lp"));
    EXPECT_EQ(deep->getAuthorityName(), std::string(2, '\\') + "CORP");
    const std::string deepElement = marshalIdentity(deep);
    EXPECT_EQ(XmlUtils::GetAttributeValue("authority", deepElement), std::string(2, '\\') + "CORP");
    const auto deepBack = parseIdentity(deepElement);
    EXPECT_EQ(deepBack->getValue() + "|" + deepBack->getAuthorityName(), "NT:CORP/lp|CORP");
}

TEST(IdentityDocument, ParseIdentityRefusesTextsWithoutAnIdentity)
{
    for (const char* text : {"", "no-slash-here", "<!-- no items -->"})
        EXPECT_TRUE(authntest::throwsShortForm([&] { parseIdentity(text); }, authntest::kMarshallerFile, "MOX::parseIdentity"))
            << text;
    // A whole document, with or without its declaration, nests a root inside the wrapper.
    EXPECT_THROW(parseIdentity("  <identities></identities>"), SerializationException);
    EXPECT_THROW(parseIdentity(marshalIdentities({qelUser("x")})), SerializationException);
    // The parts' own errors pass through.
    EXPECT_TRUE(authntest::throwsShortForm([] { parseIdentity("NTCORP/alice"); }, authntest::kMarshallerFile,
                                           "MOX::parseAuthorityId"));
}

TEST(IdentityDocument, EveryMalformedOrInvalidDocumentIsMinus1056)
{
    const std::pair<std::string, const char*> rows[] = { // the text and the status the detail names
        {"", "-26"},
        {"<identities><UserIdentifier format='QEL'>x</identities>", "-26"},
        {"<identity-list>" + kAlice + "</identity-list>", "-3"},
        {wrap("<Principal format='QEL'>x</Principal>"), "-41"},
        {wrap("<UserIdentifier format='QEL' extra='1'>x</UserIdentifier>"), "-33"},
        {wrap("<UserIdentifier>x</UserIdentifier>"), "-38"},
        {wrap("<identity authority='NT:CORP' account='a' type='Printers'/>"), "-38"},
        {wrap("<UserIdentifier format='QEL'>NT:CORP/<b>alice</b></UserIdentifier>"), "-41"},
        {"<!DOCTYPE identities [<!ENTITY u 'x'>]>" + wrap(kAlice), "-47"},
    };
    for (const auto& [text, status] : rows) {
        SCOPED_TRACE(text);
        const std::string detail = serializationDetail([&] { parseIdentities(text); }, -1056,
                                                       "Error converting string to object", "MOX::XB::XBinderManager::decode");
        EXPECT_EQ(detail.rfind("Decoding failed - info: \"", 0), 0u) << detail;
        EXPECT_NE(detail.find(std::string("status ") + status + ")"), std::string::npos) << detail;
        if (text.empty()) { // expat's message with line and column
            EXPECT_NE(detail.find("no element found, line = 1, column = 0"), std::string::npos) << detail;
        }
    }
}

TEST(IdentityDocument, AcceptedVariantsAndItemErrors)
{
    for (const std::string& text :
         {"<x:identities xmlns:x='urn:ids' xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' xsi:type='T'>" +
              kAlice + "</x:identities>trailing <junk",
          "<identities>\n  " + kAlice + "\n  " + kAlice + "\n</identities>"}) { // duplicates collapse
        const Identities set = parseIdentities(text);
        ASSERT_EQ(set.size(), 1u) << text;
        EXPECT_TRUE(same(*set.begin(), qelUser("alice"))) << text;
    }
    // White space inside an identity text is kept.
    const Identities spaced = parseIdentities(wrap("<UserIdentifier format='X'> a b </UserIdentifier>"));
    EXPECT_EQ((*spaced.begin())->getValue(), " a b ");

    // The conversion errors of the items pass through.
    EXPECT_TRUE(authntest::throwsAuthorityError(
        [] { parseIdentities(wrap("<identity format='' authority='CORP' account='a' type='Printers'/>")); }));
    EXPECT_TRUE(authntest::throwsShortForm(
        [] { parseIdentities(wrap("<identity format='NT' authority='CORP' account='' type='Printers'/>")); },
        authntest::kAccountFile, "MOX::AUTHN::createAccountId"));
}

TEST(IdentityDocument, IdentitiesXmlCannotCarryAreNotWritten)
{
    for (const auto& identity : {createUserIdentity("QEL", "NT:CORP/a\x18" "b"), createGroupIdentity("EM\x01IL", "g@x")}) {
        const std::string detail = serializationDetail([&] { marshalIdentities({identity}); }, -1055,
                                                       "Error converting object to string", "MOX::XB::XBinderManager::encode");
        EXPECT_NE(detail.find("xbAbstractNameIdentifier"), std::string::npos) << detail;
    }
}

TEST(IdentityConverter, ConvertsItemsListsAndSets)
{
    using XB::IdentityConverter;
    using XB::xbidentities;
    using XB::xbidentities_1;

    // Items of each kind: covered through the document functions; here the edges.
    std::unique_ptr<xbidentities_1> group(IdentityConverter::toXB(createGroupIdentity("EMAIL", "g@x")));
    EXPECT_EQ(group->t, xbidentities_1::T_GroupIdentifier);
    EXPECT_THROW(IdentityConverter::toXB(SmartPointer<IIdentity>()), MOX::EXCEPTIONS::MoxException);
    EXPECT_TRUE(IdentityConverter::toMOX(xbidentities_1()).isNull());

    // Appending keeps what the list holds; filling a set empties it first.
    xbidentities list;
    list.list.push_back(std::move(*group));
    IdentityConverter::toXB(list, Identities{qelUser("a"), qelUser("b")});
    ASSERT_EQ(list.list.size(), 3u);
    EXPECT_EQ(list.list[0].t, xbidentities_1::T_GroupIdentifier);
    list.list.emplace_back(); // an item without an alternative gives nothing
    Identities set{printer("stale")};
    IdentityConverter::toMOX(set, list);
    EXPECT_EQ(set.size(), 3u);
    EXPECT_EQ(set.count(printer("stale")), 0u);
    std::unique_ptr<xbidentities> fresh(IdentityConverter::toXB(set));
    EXPECT_EQ(fresh->list.size(), 3u);
    EXPECT_EQ(IdentityConverter::toMOX(*fresh).size(), 3u);
}
