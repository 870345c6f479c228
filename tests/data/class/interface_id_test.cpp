// Interface ids: creation checks, both forms, parsing, order and the text equality.
#include <gtest/gtest.h>

#include <mox/class/IInterfaceId.h>
#include <mox/rt/Exceptions.h>

#include "data/class/ClassTestSupport.h"
#include "data/class/InterfaceIdImpl.h"

using MOX::RT::SmartPointer;
using MOX::CLASS::IInterfaceId;
using MOX::CLASS::InterfaceIdImpl;
using classtest::attribute;
using classtest::throwsInvalidArguments;

TEST(InterfaceId, CreateAndParseCheckTheirArguments)
{
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createInterfaceId("", 1); }, "data/class/InterfaceId",
                                       "MOX::createInterfaceId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createInterfaceId("I", -5); }, "data/class/InterfaceId",
                                       "MOX::createInterfaceId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::parseInterfaceId(""); }, "data/class/InterfaceId",
                                       "MOX::parseInterfaceId"));
    const SmartPointer<IInterfaceId> zero = MOX::createInterfaceId("I", 0);
    EXPECT_EQ(zero->getVersion(), 0);
    EXPECT_EQ(zero->getName(), "I");
}

TEST(InterfaceId, TextFormSplitsAtTheFirstDoubleColon)
{
    const SmartPointer<IInterfaceId> four = MOX::parseInterfaceId("Name::4");
    EXPECT_EQ(four->getName(), "Name");
    EXPECT_EQ(four->getVersion(), 4);
    const SmartPointer<IInterfaceId> plain = MOX::parseInterfaceId("Name");
    EXPECT_EQ(plain->getName(), "Name");
    EXPECT_EQ(plain->getVersion(), 1);
    const SmartPointer<IInterfaceId> unnamed = MOX::parseInterfaceId("::3");
    EXPECT_EQ(unnamed->getName(), "");
    EXPECT_EQ(unnamed->getVersion(), 3);
    EXPECT_EQ(MOX::parseInterfaceId("N:: -2 ")->getVersion(), -2);
    // The rest after the first "::" must be a whole number.
    EXPECT_THROW(MOX::parseInterfaceId("A::B::2"), MOX::EXCEPTIONS::InvalidArgumentException);
    EXPECT_THROW(MOX::parseInterfaceId("Name::"), MOX::EXCEPTIONS::InvalidArgumentException);
    // A text without an "interface-id" element is taken as a name, even when it is XML.
    EXPECT_EQ(MOX::parseInterfaceId("<other class='X'/>")->getName(), "<other class='X'/>");
}

TEST(InterfaceId, ToStringIsTheXmlFormWithTheNameInClass)
{
    for (int version : {1, 2, 7}) {
        const SmartPointer<IInterfaceId> id = MOX::createInterfaceId("Svc&<\"x\">", version);
        const std::string xml = id->toString();
        EXPECT_EQ(MOX::RT::XmlUtils::GetElement("interface-id", xml), xml);
        EXPECT_EQ(attribute(xml, "class"), "Svc&<\"x\">");
        EXPECT_EQ(attribute(xml, "interface"), "(absent)");
        EXPECT_EQ(attribute(xml, "version"), version > 1 ? std::to_string(version) : "(absent)");
        const SmartPointer<IInterfaceId> back = MOX::parseInterfaceId(xml);
        EXPECT_TRUE(back == id) << xml;
        EXPECT_EQ(back->toString(), xml);
    }
    // Version 0 is written like 1 and reads back as 1.
    const SmartPointer<IInterfaceId> zero = MOX::createInterfaceId("I", 0);
    EXPECT_EQ(zero->toString(), MOX::createInterfaceId("I", 1)->toString());
    EXPECT_EQ(MOX::parseInterfaceId(zero->toString())->getVersion(), 1);

    // Reading the element: missing or empty attributes give the defaults.
    EXPECT_EQ(MOX::parseInterfaceId("<interface-id version='3'/>")->getName(), "");
    EXPECT_EQ(MOX::parseInterfaceId("<interface-id class='I' version=''/>")->getVersion(), 1);
    EXPECT_EQ(MOX::parseInterfaceId("<a><interface-id class='Deep' version='6'/></a>")->getVersion(), 6);
}

TEST(InterfaceId, UnmarshalReplacesAllOrNothing)
{
    InterfaceIdImpl id("Old", 5);
    id.unmarshal("<interface-id class='New'/>");
    EXPECT_EQ(id.getName(), "New");
    EXPECT_EQ(id.getVersion(), 5);  // no version attribute: kept
    EXPECT_THROW(id.unmarshal("<interface-id class='Bad' version='v2'/>"), MOX::EXCEPTIONS::InvalidArgumentException);
    EXPECT_THROW(id.unmarshal("Bad::v2"), MOX::EXCEPTIONS::InvalidArgumentException);
    EXPECT_EQ(id.getName(), "New");
    EXPECT_EQ(id.getVersion(), 5);
    id.unmarshal("Plain");
    EXPECT_EQ(id.getVersion(), 1);
}

TEST(InterfaceId, TextEqualityIsSymmetricAndNeverThrows)
{
    const SmartPointer<IInterfaceId> id = MOX::createInterfaceId("Svc", 2);
    // Found by argument-dependent lookup: no using-directive here.
    EXPECT_TRUE(std::string("Svc::2") == id);
    EXPECT_TRUE(id == std::string("Svc::2"));
    EXPECT_TRUE(id->toString() == id);
    EXPECT_TRUE(id == std::string("<interface-id class='Svc' version='2'/>"));
    EXPECT_FALSE(std::string("Svc::3") == id);
    EXPECT_FALSE(id == std::string("Svc"));
    EXPECT_FALSE(std::string("svc::2") == id);
    // Texts that cannot be read and null ids compare unequal without throwing.
    EXPECT_NO_THROW(EXPECT_FALSE(std::string() == id));
    EXPECT_NO_THROW(EXPECT_FALSE(id == std::string()));
    EXPECT_NO_THROW(EXPECT_FALSE(std::string("Svc::two") == id));
    EXPECT_NO_THROW(EXPECT_FALSE(id == std::string("<interface-id class='Svc' version='x'/>")));
    EXPECT_FALSE(std::string("Svc::2") == SmartPointer<IInterfaceId>());
    EXPECT_FALSE(SmartPointer<IInterfaceId>() == std::string("Svc::2"));
    // Version 1 is the default on both sides.
    EXPECT_TRUE(std::string("One") == MOX::createInterfaceId("One", 1));
}

TEST(InterfaceId, OrderIsByNameThenVersion)
{
    EXPECT_TRUE(MOX::createInterfaceId("a", 9)->lessThan(*MOX::createInterfaceId("b", 1)));
    EXPECT_TRUE(MOX::createInterfaceId("a", 1)->lessThan(*MOX::createInterfaceId("a", 2)));
    EXPECT_FALSE(MOX::createInterfaceId("a", 2)->lessThan(*MOX::createInterfaceId("a", 2)));
    EXPECT_FALSE(MOX::createInterfaceId("b", 1)->lessThan(*MOX::createInterfaceId("a", 9)));
    EXPECT_TRUE(MOX::parseInterfaceId("a::-1")->lessThan(*MOX::createInterfaceId("a", 0)));
    const SmartPointer<IInterfaceId> id = MOX::createInterfaceId("Svc", 1);
    EXPECT_TRUE(id->hasName("Svc"));
    EXPECT_FALSE(id->hasName("svc"));
    EXPECT_FALSE(id->hasName(""));
}
