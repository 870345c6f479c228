// Interface ids: creation checks, both forms, parsing, order and the text equality.
#include <gtest/gtest.h>

#include <functional>

#include <mox/class/IInterfaceId.h>

#include "MoxTestSupport.h"
#include "data/class/InterfaceIdImpl.h"

using MOX::CLASS::IInterfaceId;
using MOX::CLASS::InterfaceIdImpl;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::RT::SmartPointer;

namespace {
std::string fields(const IInterfaceId& id) { return id.getName() + " " + std::to_string(id.getVersion()); }
} // namespace

TEST(InterfaceId, CreateParseAndTheirFailures)
{
    const struct { std::function<void()> call; int code; const char* function; } rows[] = {
        {[] { MOX::createInterfaceId("", 1); }, -1006, "MOX::createInterfaceId"},
        {[] { MOX::createInterfaceId("I", -5); }, -1006, "MOX::createInterfaceId"},
        {[] { MOX::parseInterfaceId(""); }, -1006, "MOX::parseInterfaceId"},
        // The rest after the first "::" must be a whole number.
        {[] { MOX::parseInterfaceId("A::B::2"); }, -1009, nullptr},
        {[] { MOX::parseInterfaceId("Name::"); }, -1009, nullptr}};
    for (const auto& row : rows)
        EXPECT_TRUE(moxtest::throwsMox<InvalidArgumentException>(row.call, row.code, row.function,
                                                                 row.function ? "data/class/InterfaceId" : nullptr))
            << &row - rows;
    // Parsing takes the element, or else splits the text at the first "::".
    const std::pair<std::string, std::string> reads[] = {
        {"Name", "Name 1"}, {"::3", " 3"}, {"N:: -2 ", "N -2"},
        {"<other class='X'/>", "<other class='X'/> 1"}, // no "interface-id" element: a name, even when XML
        {"<interface-id class='I' version=''/>", "I 1"}, {"<a><interface-id class='Deep' version='6'/></a>", "Deep 6"}};
    for (const auto& [text, expected] : reads)
        EXPECT_EQ(fields(*MOX::parseInterfaceId(text)), expected) << text;

    // The XML form, with the name in "class", round trips; versions 0 and 1 are not written.
    EXPECT_EQ(MOX::createInterfaceId("S", 0)->toString(), "<interface-id class=\"S\"/>");
    const SmartPointer<IInterfaceId> odd = MOX::createInterfaceId("Svc&<\"x\">", 2);
    EXPECT_EQ(fields(*MOX::parseInterfaceId(odd->toString())), fields(*odd));

    // Reading replaces all or nothing; a missing version keeps the old one.
    InterfaceIdImpl id("Old", 5);
    id.unmarshal("<interface-id class='New'/>");
    EXPECT_THROW(id.unmarshal("<interface-id class='Bad' version='v2'/>"), InvalidArgumentException);
    EXPECT_THROW(id.unmarshal("Bad::v2"), InvalidArgumentException);
    EXPECT_EQ(fields(id), "New 5");
    id.unmarshal("Plain");
    EXPECT_EQ(fields(id), "Plain 1");
}

TEST(InterfaceId, TextEqualityNeverThrowsAndOrderIsByNameThenVersion)
{
    const SmartPointer<IInterfaceId> id = MOX::createInterfaceId("Svc", 2);
    // Found by argument-dependent lookup: no using-directive here.
    for (const std::string& equal : {std::string("Svc::2"), std::string("<interface-id class='Svc' version='2'/>")})
        EXPECT_TRUE(equal == id && id == equal) << equal;
    // Texts that cannot be read compare unequal without throwing.
    for (const std::string& other : {std::string("Svc::3"), std::string("svc::2"), std::string(),
                                     std::string("<interface-id class='Svc' version='x'/>")})
        EXPECT_NO_THROW(EXPECT_FALSE(other == id || id == other)) << other;
    EXPECT_FALSE(std::string("Svc::2") == SmartPointer<IInterfaceId>());
    EXPECT_TRUE(std::string("One") == MOX::createInterfaceId("One", 1)); // version 1 is the default on both sides

    const auto less = [](const std::string& a, const std::string& b) {
        return MOX::parseInterfaceId(a)->lessThan(*MOX::parseInterfaceId(b));
    };
    for (const auto& [a, b] : {std::pair<const char*, const char*>{"a::9", "b"}, {"a::-1", "a::0"}})
        EXPECT_TRUE(less(a, b) && !less(b, a)) << a << " < " << b;
    EXPECT_FALSE(less("a::2", "a::2"));
    EXPECT_FALSE(id->hasName("svc") || !id->hasName("Svc"));
}
