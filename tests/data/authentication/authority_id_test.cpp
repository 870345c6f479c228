// Authorities: the leading-backslash rule, the -1006 errors, parsing, order, attachment.
#include <gtest/gtest.h>

#include <mox/authn/IAuthorityId.h>

#include "data/authentication/AuthnTestSupport.h"
#include "data/authentication/AuthorityIdImpl.h"

using MOX::AUTHN::AuthorityIdImpl;
using MOX::AUTHN::IAuthorityId;
using MOX::RT::SmartPointer;
using namespace authntest;

namespace {
const AuthorityIdImpl& impl(const SmartPointer<IAuthorityId>& authority)
{
    return dynamic_cast<const AuthorityIdImpl&>(*authority);
}

// An attachable value that counts how many of its kind are alive.
struct Tag : MOX::Object {
    explicit Tag(int& alive) : alive(alive) { ++alive; }
    ~Tag() override { --alive; }
    std::string toString() const override { return "tag"; }
    int& alive;
};
} // namespace

TEST(AuthorityId, CreateKeepsFormatAndName)
{
    const SmartPointer<IAuthorityId> nt = MOX::createAuthorityId("NT", "CORP");
    EXPECT_EQ(nt->getFormat(), "NT");
    EXPECT_EQ(nt->getName(), "CORP");
    EXPECT_EQ(nt->toString(), "NT:CORP");
    EXPECT_TRUE(nt->getAttachment().isNull());
    // Colons and slashes in the parts are kept; only backslashes are special.
    EXPECT_EQ(MOX::createAuthorityId("a:b", "c/d:e")->toString(), "a:b:c/d:e");
}

TEST(AuthorityId, LeadingBackslashRule)
{
    struct Case {
        const char* name;
        const char* stored;
    };
    const Case kept[] = {
        {"\\\\CORP", "CORP"},             // the network-path form
        {"\\CORP", "ORP"},                // the second character is not examined
        {"\\\\CORP\\x", "CORP\\x"},       // only the first backslash is examined
        {"\\a\\b", "\\b"},
        {"\\", ""},                       // left empty and stored empty
        {"\\\\", ""},
        {"CORP", "CORP"},
        {"//CORP", "//CORP"},
    };
    for (const Case& c : kept)
        EXPECT_EQ(MOX::createAuthorityId("NT", c.name)->getName(), c.stored) << c.name;
    EXPECT_EQ(MOX::createAuthorityId("NT", "\\")->toString(), "NT:");

    for (const char* name : {"CORP\\x", "C\\", "x\\\\CORP"}) {
        EXPECT_TRUE(throwsInvalidArguments([name] { MOX::createAuthorityId("NT", name); }, kAuthorityFile,
                                           kStripFunction))
            << name;
    }
}

TEST(AuthorityId, EmptyPartsRaiseMinus1006)
{
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createAuthorityId("", "CORP"); }, kAuthorityFile,
                                       "MOX::createAuthorityId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createAuthorityId("NT", ""); }, kAuthorityFile,
                                       "MOX::createAuthorityId"));
    // The emptiness test comes before the backslash rule.
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createAuthorityId("", "C\\x"); }, kAuthorityFile,
                                       "MOX::createAuthorityId"));
}

TEST(AuthorityId, ParseSplitsAtTheFirstColon)
{
    const SmartPointer<IAuthorityId> ab = MOX::parseAuthorityId("NT:a:b");
    EXPECT_EQ(ab->getFormat(), "NT");
    EXPECT_EQ(ab->getName(), "a:b");
    EXPECT_EQ(MOX::parseAuthorityId("NT:\\\\CORP")->getName(), "CORP");

    for (const char* text : {"", "NTCORP", "<authority/>", "  <NT:CORP"}) {
        EXPECT_TRUE(throwsShortForm([text] { MOX::parseAuthorityId(text); }, kMarshallerFile,
                                    "MOX::parseAuthorityId"))
            << '[' << text << ']';
    }
    // Parts that the factory refuses raise the factory's error.
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::parseAuthorityId(":CORP"); }, kAuthorityFile,
                                       "MOX::createAuthorityId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::parseAuthorityId("NT:"); }, kAuthorityFile,
                                       "MOX::createAuthorityId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::parseAuthorityId("NT:CO\\RP"); }, kAuthorityFile,
                                       kStripFunction));
}

TEST(AuthorityId, TextFormsReadBack)
{
    for (const auto& parts : {std::make_pair("NT", "CORP"), std::make_pair("LDAP", "dc=x,dc=y:389"),
                              std::make_pair("X", "a/b")}) {
        const SmartPointer<IAuthorityId> original = MOX::createAuthorityId(parts.first, parts.second);
        const SmartPointer<IAuthorityId> reread = MOX::parseAuthorityId(original->toString());
        EXPECT_TRUE(impl(reread).equals(*original)) << original->toString();
    }
    // A colon in the format moves into the name on reading.
    const SmartPointer<IAuthorityId> colon = MOX::createAuthorityId("A:B", "C");
    EXPECT_FALSE(impl(MOX::parseAuthorityId(colon->toString())).equals(*colon));
}

TEST(AuthorityId, OrderIsFormatThenNameAndEqualityIsExact)
{
    const SmartPointer<IAuthorityId> ldapA = MOX::createAuthorityId("LDAP", "Z");
    const SmartPointer<IAuthorityId> ntA = MOX::createAuthorityId("NT", "A");
    const SmartPointer<IAuthorityId> ntB = MOX::createAuthorityId("NT", "B");
    EXPECT_TRUE(ldapA->lessThan(*ntA));
    EXPECT_FALSE(ntA->lessThan(*ldapA));
    EXPECT_TRUE(ntA->lessThan(*ntB));
    EXPECT_FALSE(ntB->lessThan(*ntA));

    const SmartPointer<IAuthorityId> ntA2 = MOX::createAuthorityId("NT", "\\\\A");
    EXPECT_FALSE(ntA->lessThan(*ntA2));
    EXPECT_FALSE(ntA2->lessThan(*ntA));
    EXPECT_TRUE(impl(ntA).equals(*ntA2));
    EXPECT_FALSE(impl(ntA).equals(*ntB));
    EXPECT_FALSE(impl(ntA).equals(*MOX::createAuthorityId("LDAP", "A")));
    EXPECT_FALSE(impl(ntA).equals(*MOX::createAuthorityId("nt", "A")));
}

TEST(AuthorityId, AttachmentIsACountedSlot)
{
    int alive = 0;
    const SmartPointer<IAuthorityId> authority = MOX::createAuthorityId("NT", "CORP");
    {
        SmartPointer<MOX::Object> first(new Tag(alive));
        authority->setAttachment(first);
        EXPECT_TRUE(authority->getAttachment().sharesWith(first));
        EXPECT_EQ(first.useCount(), 2);

        // Setting the attached pointer again changes nothing.
        authority->setAttachment(authority->getAttachment());
        EXPECT_EQ(first.useCount(), 2);

        // Replacing releases the old one's reference.
        SmartPointer<MOX::Object> second(new Tag(alive));
        authority->setAttachment(second);
        EXPECT_EQ(first.useCount(), 1);
        EXPECT_TRUE(authority->getAttachment().sharesWith(second));
    }
    // The authority keeps the second one alive on its own.
    EXPECT_EQ(alive, 1);
    authority->setAttachment(SmartPointer<MOX::Object>());
    EXPECT_TRUE(authority->getAttachment().isNull());
    EXPECT_EQ(alive, 0);
    // Equality and the text form ignore the attachment.
    authority->setAttachment(SmartPointer<MOX::Object>(new Tag(alive)));
    EXPECT_TRUE(impl(authority).equals(*MOX::createAuthorityId("NT", "CORP")));
    EXPECT_EQ(authority->toString(), "NT:CORP");
}
