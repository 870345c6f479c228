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
bool equal(const SmartPointer<IAuthorityId>& a, const SmartPointer<IAuthorityId>& b)
{
    return dynamic_cast<const AuthorityIdImpl&>(*a).equals(*b);
}

template <class F>
::testing::AssertionResult throwsInvalidArguments(F&& f, const char* function)
{
    return throwsError(f, -1006, kAuthorityFile, function);
}

// An attachable value that counts how many of its kind are alive.
struct Tag : MOX::Object {
    explicit Tag(int& alive) : alive(alive) { ++alive; }
    ~Tag() override { --alive; }
    std::string toString() const override { return "tag"; }
    int& alive;
};
} // namespace

TEST(AuthorityId, LeadingBackslashRule)
{
    const std::pair<const char*, const char*> kept[] = {
        {"\\\\CORP", "CORP"},       {"\\CORP", "ORP"},   {"\\\\CORP\\x", "CORP\\x"}, {"\\a\\b", "\\b"},
        {"\\", ""},                 {"CORP", "CORP"},    {"a:b/c", "a:b/c"},
    };
    for (const auto& c : kept)
        EXPECT_EQ(MOX::createAuthorityId("NT", c.first)->toString(), std::string("NT:") + c.second) << c.first;
    for (const char* name : {"CORP\\x", "C\\", "x\\\\CORP"})
        EXPECT_TRUE(throwsInvalidArguments([name] { MOX::createAuthorityId("NT", name); }, kStripFunction)) << name;
    // Emptiness is checked before the rule.
    for (const auto& parts : {std::make_pair("", "CORP"), std::make_pair("NT", ""), std::make_pair("", "C\\x")}) {
        EXPECT_TRUE(throwsInvalidArguments([parts] { MOX::createAuthorityId(parts.first, parts.second); },
                                           "MOX::createAuthorityId"));
    }
}

TEST(AuthorityId, ParseSplitsAtTheFirstColonAndReadsBack)
{
    const SmartPointer<IAuthorityId> ab = MOX::parseAuthorityId("NT:a:b");
    EXPECT_EQ(ab->getFormat(), "NT");
    EXPECT_EQ(ab->getName(), "a:b");
    EXPECT_EQ(MOX::parseAuthorityId("NT:\\\\CORP")->getName(), "CORP");
    for (const char* text : {"", "NTCORP", "  <NT:CORP"})
        EXPECT_TRUE(throwsShortForm([text] { MOX::parseAuthorityId(text); }, kMarshallerFile, "MOX::parseAuthorityId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::parseAuthorityId(":CORP"); }, "MOX::createAuthorityId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::parseAuthorityId("NT:CO\\RP"); }, kStripFunction));

    for (const auto& original : {MOX::createAuthorityId("NT", "CORP"), MOX::createAuthorityId("LDAP", "dc=x:389")})
        EXPECT_TRUE(equal(MOX::parseAuthorityId(original->toString()), original));
    const SmartPointer<IAuthorityId> colon = MOX::createAuthorityId("A:B", "C");   // its colon moves into the name
    EXPECT_FALSE(equal(MOX::parseAuthorityId(colon->toString()), colon));
}

TEST(AuthorityId, OrderIsFormatThenNameAndEqualityIsExact)
{
    const SmartPointer<IAuthorityId> ldapZ = MOX::createAuthorityId("LDAP", "Z");
    const SmartPointer<IAuthorityId> ntA = MOX::createAuthorityId("NT", "A");
    const SmartPointer<IAuthorityId> ntB = MOX::createAuthorityId("NT", "B");
    EXPECT_TRUE(ldapZ->lessThan(*ntA) && ntA->lessThan(*ntB));
    EXPECT_FALSE(ntA->lessThan(*ldapZ) || ntB->lessThan(*ntA));
    const SmartPointer<IAuthorityId> ntA2 = MOX::createAuthorityId("NT", "\\\\A");
    EXPECT_FALSE(ntA->lessThan(*ntA2) || ntA2->lessThan(*ntA));
    EXPECT_TRUE(equal(ntA, ntA2));
    EXPECT_FALSE(equal(ntA, ntB) || equal(ntA, MOX::createAuthorityId("nt", "A")));
}

TEST(AuthorityId, AttachmentIsACountedSlot)
{
    int alive = 0;
    const SmartPointer<IAuthorityId> authority = MOX::createAuthorityId("NT", "CORP");
    EXPECT_TRUE(authority->getAttachment().isNull());
    {
        SmartPointer<MOX::Object> first(new Tag(alive));
        authority->setAttachment(first);
        authority->setAttachment(authority->getAttachment());   // itself: no change
        EXPECT_EQ(first.useCount(), 2);
        authority->setAttachment(SmartPointer<MOX::Object>(new Tag(alive)));   // releases the first
        EXPECT_EQ(first.useCount(), 1);
    }
    EXPECT_EQ(alive, 1);   // the authority keeps the second alive on its own
    EXPECT_TRUE(equal(authority, MOX::createAuthorityId("NT", "CORP")));   // ignored by equality
    authority->setAttachment(SmartPointer<MOX::Object>());
    EXPECT_TRUE(authority->getAttachment().isNull());
    EXPECT_EQ(alive, 0);
}
