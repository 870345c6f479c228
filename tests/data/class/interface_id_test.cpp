// Interface ids: creation checks, both forms, parsing, order and the text equality.
#include <gtest/gtest.h>

#include <mox/class/IInterfaceId.h>
#include <mox/rt/Exceptions.h>

#include "data/class/ClassTestSupport.h"
#include "data/class/InterfaceIdImpl.h"

using MOX::RT::SmartPointer;
using MOX::CLASS::IInterfaceId;
using MOX::CLASS::InterfaceIdImpl;
using MOX::EXCEPTIONS::InvalidArgumentException;
using classtest::attribute;
using classtest::throwsInvalidArguments;

namespace {
std::string fields(const IInterfaceId& id) { return id.getName() + " " + std::to_string(id.getVersion()); }
} // namespace

TEST(InterfaceId, CreateAndParse)
{
    const char* file = "data/class/InterfaceId";
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createInterfaceId("", 1); }, file, "MOX::createInterfaceId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createInterfaceId("I", -5); }, file, "MOX::createInterfaceId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::parseInterfaceId(""); }, file, "MOX::parseInterfaceId"));
    EXPECT_EQ(fields(*MOX::createInterfaceId("I", 0)), "I 0");
    // Parsing takes the element, or else splits the text at the first "::".
    const std::pair<std::string, std::string> reads[] = {
        {"Name", "Name 1"}, {"::3", " 3"}, {"N:: -2 ", "N -2"},
        {"<other class='X'/>", "<other class='X'/> 1"}, // no "interface-id" element: a name, even when XML
        {"<interface-id class='I' version=''/>", "I 1"}, {"<a><interface-id class='Deep' version='6'/></a>", "Deep 6"}};
    for (const auto& [text, expected] : reads)
        EXPECT_EQ(fields(*MOX::parseInterfaceId(text)), expected) << text;
    // The rest after the first "::" must be a whole number.
    EXPECT_THROW(MOX::parseInterfaceId("A::B::2"), InvalidArgumentException);
    EXPECT_THROW(MOX::parseInterfaceId("Name::"), InvalidArgumentException);
}

TEST(InterfaceId, ToStringIsTheXmlFormWithTheNameInClass)
{
    for (int version : {0, 2}) {
        const SmartPointer<IInterfaceId> id = MOX::createInterfaceId("Svc&<\"x\">", version);
        const std::string xml = id->toString();
        EXPECT_EQ(MOX::RT::XmlUtils::GetElement("interface-id", xml), xml);
        EXPECT_EQ(attribute(xml, "class"), "Svc&<\"x\">");
        EXPECT_EQ(attribute(xml, "interface"), "(absent)");
        EXPECT_EQ(attribute(xml, "version"), version > 1 ? std::to_string(version) : "(absent)");
        const SmartPointer<IInterfaceId> back = MOX::parseInterfaceId(xml); // version 0 reads back as 1
        EXPECT_EQ(back->getVersion(), version > 1 ? version : 1);
        EXPECT_EQ(back->toString(), xml);
    }
}

TEST(InterfaceId, UnmarshalReplacesAllOrNothing)
{
    InterfaceIdImpl id("Old", 5);
    id.unmarshal("<interface-id class='New'/>");
    EXPECT_EQ(fields(id), "New 5"); // no version attribute: kept
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
    for (const std::string& equal : {std::string("Svc::2"), id->toString(),
                                     std::string("<interface-id class='Svc' version='2'/>")})
        EXPECT_TRUE(equal == id && id == equal) << equal;
    // Texts that cannot be read compare unequal without throwing.
    for (const std::string& other : {std::string("Svc::3"), std::string("svc::2"), std::string(),
                                     std::string("<interface-id class='Svc' version='x'/>")}) {
        EXPECT_NO_THROW(EXPECT_FALSE(other == id)) << other;
        EXPECT_NO_THROW(EXPECT_FALSE(id == other)) << other;
    }
    EXPECT_FALSE(std::string("Svc::2") == SmartPointer<IInterfaceId>() || SmartPointer<IInterfaceId>() == std::string("Svc::2"));
    EXPECT_TRUE(std::string("One") == MOX::createInterfaceId("One", 1)); // version 1 is the default on both sides

    // The order: by name, then by signed version.
    const auto less = [](const std::string& a, const std::string& b) {
        return MOX::parseInterfaceId(a)->lessThan(*MOX::parseInterfaceId(b));
    };
    for (const auto& [a, b] : {std::pair<const char*, const char*>{"a::9", "b"}, {"a::-1", "a::0"}}) {
        EXPECT_TRUE(less(a, b)) << a << " < " << b;
        EXPECT_FALSE(less(b, a)) << b << " < " << a;
    }
    EXPECT_FALSE(less("a::2", "a::2"));
    EXPECT_TRUE(id->hasName("Svc"));
    EXPECT_FALSE(id->hasName("svc") || id->hasName(""));
}
