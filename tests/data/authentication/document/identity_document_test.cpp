// The identities document: marshalIdentities, marshalIdentity, parseIdentities,
// parseIdentity and IdentityConverter, with every failure row.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <mox/authn.h>
#include <mox/authn/IdentityDocuments.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/IdentityConverter.h>

using namespace MOX;
using AUTHN::IIdentity;
using EXCEPTIONS::InvalidArgumentException;
using EXCEPTIONS::SerializationException;
using RT::SmartPointer;
using RT::XmlUtils;
using Identities = Set<SmartPointer<IIdentity>>;

namespace {

const char* kFile = "data/authentication/impl/IdentityMarshaller";

SmartPointer<IIdentity> qelUser(const std::string& name)
{
    return createUserIdentity(createAuthorityId("NT", "CORP"), name);
}

SmartPointer<IIdentity> printer(const std::string& name)
{
    return createIdentity(createAuthorityId("NT", "CORP"), AUTHN::createAccountId("Printers", name));
}

bool same(const SmartPointer<IIdentity>& a, const SmartPointer<IIdentity>& b)
{
    return !a.isNull() && !b.isNull() && !a->lessThan(*b) && !b->lessThan(*a);
}

std::string wrap(const std::string& items)
{
    return "<identities>" + items + "</identities>";
}

// The code and detail of the SerializationException that parsing `text` raises.
std::pair<int, std::string> parseFailure(const std::string& text)
{
    try {
        parseIdentities(text);
    } catch (const SerializationException& e) {
        EXPECT_EQ(e.getFunction(), "MOX::XB::XBinderManager::decode");
        EXPECT_EQ(e.getMessage(), "Error converting string to object");
        return {e.getCode(), e.getDetail()};
    }
    return {0, std::string()};
}

void expectShortArgumentError(const std::string& text)
{
    try {
        parseIdentity(text);
        ADD_FAILURE() << "no exception for '" << text << "'";
    } catch (const InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), 0) << text;
        EXPECT_TRUE(e.getMessage().empty());
        EXPECT_EQ(e.getFunction(), "MOX::parseIdentity");
        EXPECT_EQ(e.getFile(), kFile);
    }
}

} // namespace

TEST(IdentityDocument, EmptySetWritesAnEmptyRootAndReadsBackEmpty)
{
    const std::string text = marshalIdentities(Identities());
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_EQ(XmlUtils::GetElement("identities", text), "<identities></identities>");
    EXPECT_TRUE(parseIdentities(text).empty());
    EXPECT_TRUE(parseIdentities("<identities/>").empty());
}

TEST(IdentityDocument, MixedSetsRoundTripInTheSetsOrder)
{
    Identities set;
    set.insert(qelUser("alice"));
    set.insert(createGroupIdentity("EMAIL", "staff@example.org"));
    set.insert(printer("lp1"));
    set.insert(createUserIdentity("UPN", "bob@corp.example"));
    set.insert(createGroupIdentity(createAuthorityId("NT", "CORP"), "admins"));
    const std::string text = marshalIdentities(set);

    // One element per identity, in the set's order, each of the kind its type asks for.
    const std::string content = XmlUtils::GetElementValue("identities", text);
    std::size_t at = 0;
    for (const auto& identity : set) {
        const char* expected =
            identity->isGroup() ? "<GroupIdentifier " : identity->isUser() ? "<UserIdentifier " : "<identity ";
        EXPECT_EQ(content.compare(at, std::strlen(expected), expected), 0) << content.substr(at);
        at = content.find('<', content.find('>', at) + 1);
        if (content.compare(at, 2, "</") == 0)
            at = content.find('<', at + 1);
        if (at == std::string::npos)
            at = content.size();
    }
    EXPECT_EQ(at, content.size());

    const Identities back = parseIdentities(text);
    ASSERT_EQ(back.size(), set.size());
    auto a = set.begin();
    for (auto b = back.begin(); b != back.end(); ++a, ++b) {
        EXPECT_TRUE(same(*a, *b)) << (*a)->toString() << " vs " << (*b)->toString();
        EXPECT_EQ((*a)->getFormat(), (*b)->getFormat());
        EXPECT_EQ((*a)->getType(), (*b)->getType());
    }
    // Writing what was read gives the same text.
    EXPECT_EQ(marshalIdentities(back), text);
}

TEST(IdentityDocument, OtherAccountTypesTravelByTheirParts)
{
    const auto lp = printer("lp1");
    const std::string element = marshalIdentity(lp);
    EXPECT_EQ(XmlUtils::GetAttributeValue("format", element), lp->getAuthorityFormat());
    EXPECT_EQ(XmlUtils::GetAttributeValue("authority", element), lp->getAuthorityName());
    EXPECT_EQ(XmlUtils::GetAttributeValue("account", element), lp->getName());
    EXPECT_EQ(XmlUtils::GetAttributeValue("type", element), "Printers");
    const auto back = parseIdentity(element);
    EXPECT_TRUE(same(back, lp));
    EXPECT_EQ(back->getFormat(), "QEL");
    EXPECT_EQ(back->getValue(), lp->getValue());
    EXPECT_EQ(back->getType(), "Printers");

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
    EXPECT_EQ(deepBack->getValue(), "NT:CORP/lp");
    EXPECT_EQ(deepBack->getAuthorityName(), "CORP");
}

TEST(IdentityDocument, SingleIdentityTextsReadBack)
{
    const auto alice = qelUser("alice");
    const std::string element = marshalIdentity(alice);
    EXPECT_EQ(element, XmlUtils::GetElement("UserIdentifier", element));
    EXPECT_EQ(XmlUtils::GetElementValue("UserIdentifier", element), alice->getValue());
    EXPECT_TRUE(same(parseIdentity(element), alice));
    EXPECT_TRUE(same(parseIdentity(alice->toString()), alice));

    const auto group = createGroupIdentity("EMAIL", "a&b<c>@example.org");
    const std::string groupElement = marshalIdentity(group);
    EXPECT_EQ(groupElement, XmlUtils::GetElement("GroupIdentifier", groupElement));
    const auto groupBack = parseIdentity(groupElement);
    EXPECT_EQ(groupBack->getValue(), "a&b<c>@example.org");
    EXPECT_TRUE(groupBack->isGroup());

    const auto admins = parseIdentity("NT:CORP/Group:admins");
    EXPECT_TRUE(admins->isGroup());
    EXPECT_TRUE(same(admins, createGroupIdentity(createAuthorityId("NT", "CORP"), "admins")));
    // Further slashes stay in the account text.
    const auto slashed = parseIdentity("NT:CORP/a/b");
    EXPECT_TRUE(same(slashed, qelUser("a/b")));

    // Several items: the first in the set's order, not in the text's.
    const auto first = parseIdentity(marshalIdentity(qelUser("zed")) + marshalIdentity(qelUser("amy")));
    EXPECT_TRUE(same(first, std::min(qelUser("zed"), qelUser("amy"))));
}

TEST(IdentityDocument, ParseIdentityRefusesTextsWithoutAnIdentity)
{
    for (const std::string& text : {std::string(), std::string("no-slash-here"), std::string("<!-- no items -->"),
                                    std::string("  <identities></identities>")}) {
        if (text.find("<identities>") != std::string::npos) {
            // A whole document nests a root inside the wrapper: a decoding error.
            EXPECT_THROW(parseIdentity(text), SerializationException);
            continue;
        }
        expectShortArgumentError(text);
    }
    // A whole document with its declaration does not read as item elements.
    EXPECT_THROW(parseIdentity(marshalIdentities({qelUser("x")})), SerializationException);
    // The parts' own errors pass through.
    EXPECT_THROW(parseIdentity("NTCORP/alice"), InvalidArgumentException);
}

TEST(IdentityDocument, EveryMalformedOrInvalidDocumentIsMinus1056)
{
    struct Case {
        std::string text;
        const char* status; // what the detail names
    };
    const std::string user = "<UserIdentifier format='QEL'>NT:CORP/alice</UserIdentifier>";
    const std::vector<Case> cases = {
        {"", "-26"},
        {"identities", "-26"},
        {"<identities><UserIdentifier format='QEL'>x</identities>", "-26"},
        {"<identity-list>" + user + "</identity-list>", "-3"},
        {wrap("<Principal format='QEL'>x</Principal>"), "-41"},
        {wrap("<UserIdentifier format='QEL' extra='1'>x</UserIdentifier>"), "-33"},
        {wrap("<identity format='QEL' authority='NT:CORP' account='a' type='Printers' name='n'/>"), "-33"},
        {wrap("<UserIdentifier>x</UserIdentifier>"), "-38"},
        {wrap("<GroupIdentifier>x</GroupIdentifier>"), "-38"},
        {wrap("<identity authority='NT:CORP' account='a' type='Printers'/>"), "-38"},
        {wrap("<identity format='QEL' account='a' type='Printers'/>"), "-38"},
        {wrap("<identity format='QEL' authority='NT:CORP' type='Printers'/>"), "-38"},
        {wrap("<identity format='QEL' authority='NT:CORP' account='a'/>"), "-38"},
        {wrap("<identity format='QEL' authority='NT:CORP' account='a' type='P'><x/></identity>"), "-41"},
        {wrap("<UserIdentifier format='QEL'>NT:CORP/<b>alice</b></UserIdentifier>"), "-41"},
        {"<!DOCTYPE identities [<!ENTITY u 'x'>]>" + wrap(user), "-47"},
    };
    for (const Case& k : cases) {
        const auto [code, detail] = parseFailure(k.text);
        EXPECT_EQ(code, -1056) << k.text;
        EXPECT_EQ(detail.rfind("Decoding failed - info: \"", 0), 0u) << detail;
        EXPECT_NE(detail.find(std::string("status ") + k.status + ")"), std::string::npos) << k.text << ": " << detail;
    }
    // Empty text: expat's message with line and column.
    EXPECT_NE(parseFailure("").second.find("no element found, line = 1, column = 0"), std::string::npos);
}

TEST(IdentityDocument, AcceptedVariants)
{
    const std::string user = "<UserIdentifier format='QEL'>NT:CORP/alice</UserIdentifier>";
    for (const std::string& text :
         {wrap(user) + "trailing <junk", "<x:identities xmlns:x='urn:ids'>" + user + "</x:identities>",
          std::string("<identities xmlns='urn:ids' xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' xsi:type='T'>"
                      "<UserIdentifier xsi:type='U' format='QEL'>NT:CORP/alice</UserIdentifier></identities>"),
          "<identities>\n  " + user + "\n  " + user + "\n</identities>"}) {
        const Identities set = parseIdentities(text);
        ASSERT_EQ(set.size(), 1u) << text;
        EXPECT_TRUE(same(*set.begin(), qelUser("alice"))) << text;
    }
    // White space inside an identity text is kept.
    const Identities spaced = parseIdentities(wrap("<UserIdentifier format='X'> a b </UserIdentifier>"));
    EXPECT_EQ((*spaced.begin())->getValue(), " a b ");
}

TEST(IdentityDocument, ConversionErrorsOfTheItemsPassThrough)
{
    try {
        parseIdentities(wrap("<identity format='' authority='CORP' account='a' type='Printers'/>"));
        FAIL();
    } catch (const InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), -1006);
        EXPECT_EQ(e.getFunction(), "MOX::createAuthorityId");
    }
    try {
        parseIdentities(wrap("<identity format='NT' authority='CORP' account='' type='Printers'/>"));
        FAIL();
    } catch (const InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), 0);
        EXPECT_EQ(e.getFunction(), "MOX::AUTHN::createAccountId");
    }
}

TEST(IdentityConverter, ConvertsItemsListsAndSets)
{
    using XB::IdentityConverter;
    using XB::xbidentities;
    using XB::xbidentities_1;

    std::unique_ptr<xbidentities_1> user(IdentityConverter::toXB(qelUser("alice")));
    ASSERT_NE(user->UserIdentifier(), nullptr);
    EXPECT_EQ(user->t, xbidentities_1::T_UserIdentifier);
    EXPECT_EQ(user->UserIdentifier()->format, "QEL");
    EXPECT_EQ(user->UserIdentifier()->value, qelUser("alice")->getValue());
    std::unique_ptr<xbidentities_1> group(IdentityConverter::toXB(createGroupIdentity("EMAIL", "g@x")));
    EXPECT_EQ(group->t, xbidentities_1::T_GroupIdentifier);
    std::unique_ptr<xbidentities_1> other(IdentityConverter::toXB(printer("lp")));
    ASSERT_NE(other->identity(), nullptr);
    EXPECT_EQ(other->identity()->type, "Printers");
    EXPECT_EQ(other->identity()->account, "lp");
    EXPECT_TRUE(same(IdentityConverter::toMOX(*other), printer("lp")));

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

TEST(IdentityDocument, IdentitiesXmlCannotCarryAreNotWritten)
{
    for (const auto& identity : {createUserIdentity("QEL", "NT:CORP/a\x18" "b"), createGroupIdentity("EM\x01IL", "g@x")}) {
        try {
            marshalIdentities({identity});
            FAIL();
        } catch (const SerializationException& e) {
            EXPECT_EQ(e.getCode(), -1055);
            EXPECT_EQ(e.getMessage(), "Error converting object to string");
            EXPECT_EQ(e.getFunction(), "MOX::XB::XBinderManager::encode");
            EXPECT_NE(e.getDetail().find("xbAbstractNameIdentifier"), std::string::npos) << e.getDetail();
        }
    }
}

TEST(IdentityDocument, DuplicateItemsCollapseToTheFirst)
{
    const std::string user = "<UserIdentifier format='QEL'>NT:CORP/alice</UserIdentifier>";
    const Identities set = parseIdentities(wrap(user + user));
    EXPECT_EQ(set.size(), 1u);
}
