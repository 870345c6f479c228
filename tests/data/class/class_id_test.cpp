// Class ids: creation checks, the XML and text forms, parsing, order and names.
#include <gtest/gtest.h>

#include <mox/class/IClassId.h>
#include <mox/rt/Exceptions.h>

#include "data/class/ClassIdImpl.h"
#include "data/class/ClassTestSupport.h"

using MOX::RT::SmartPointer;
using MOX::CLASS::ClassIdImpl;
using MOX::CLASS::IClassId;
using classtest::attribute;
using classtest::throwsInvalidArguments;

namespace {

// An IClassId the library did not make.
class ForeignClassId : public IClassId {
public:
    const std::string& getName() const override { return name; }
    int getVersion() const override { return 1; }
    bool hasName(const std::string& text) const override { return text == name; }
    bool lessThan(const IClassId&) const override { return false; }
    std::string toString() const override { return name; }
    std::string name = "foreign";
};

} // namespace

TEST(ClassId, CreateChecksNameAndVersion)
{
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createClassId("", 1); }, "data/class/ClassId", "MOX::createClassId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createClassId("Foo", -1); }, "data/class/ClassId",
                                       "MOX::createClassId"));
    const SmartPointer<IClassId> zero = MOX::createClassId("Foo", 0);
    EXPECT_EQ(zero->getName(), "Foo");
    EXPECT_EQ(zero->getVersion(), 0);
    EXPECT_EQ(MOX::getClassIdLoader(zero), "");
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::parseClassId(""); }, "data/class/ClassId", "MOX::parseClassId"));
}

TEST(ClassId, XmlFormCarriesVersionAboveOneAndLoaderWhenSet)
{
    const std::string one = MOX::marshalClassId(MOX::createClassId("Foo", 1));
    EXPECT_EQ(MOX::RT::XmlUtils::GetElement("class-id", one), one);
    EXPECT_EQ(attribute(one, "class"), "Foo");
    EXPECT_EQ(attribute(one, "version"), "(absent)");
    EXPECT_EQ(attribute(one, "loader"), "(absent)");

    // Version 0 is written like version 1 and reads back as 1.
    const std::string zero = MOX::marshalClassId(MOX::createClassId("Foo", 0));
    EXPECT_EQ(zero, one);
    EXPECT_EQ(MOX::parseClassId(zero)->getVersion(), 1);

    // All three attributes come back in the order class, version, loader.
    const std::string full = "<class-id class=\"Foo\" version=\"2\" loader=\"Boot\"/>";
    const SmartPointer<IClassId> parsed = MOX::parseClassId(full);
    EXPECT_EQ(parsed->getName(), "Foo");
    EXPECT_EQ(parsed->getVersion(), 2);
    EXPECT_EQ(MOX::getClassIdLoader(parsed), "Boot");
    EXPECT_EQ(MOX::marshalClassId(parsed), full);
    const std::string reordered = "<class-id loader='Boot' version='2' class='Foo'></class-id>";
    EXPECT_EQ(MOX::marshalClassId(MOX::parseClassId(reordered)), full);

    // Markup characters survive the round trip.
    const std::string odd = "a<b>&\"c\" d";
    const SmartPointer<IClassId> escaped = MOX::parseClassId(MOX::marshalClassId(MOX::createClassId(odd, 9)));
    EXPECT_EQ(escaped->getName(), odd);
    EXPECT_EQ(escaped->getVersion(), 9);

    // The element is found inside other text; its absence gives an empty id.
    const SmartPointer<IClassId> inside = MOX::parseClassId("  <wrap><x/><class-id class='In' version='4'/></wrap>");
    EXPECT_EQ(inside->getName(), "In");
    EXPECT_EQ(inside->getVersion(), 4);
    const SmartPointer<IClassId> none = MOX::parseClassId("<other class='X' version='3'/>");
    EXPECT_EQ(none->getName(), "");
    EXPECT_EQ(none->getVersion(), 1);
    // An empty version attribute keeps the default.
    EXPECT_EQ(MOX::parseClassId("<class-id class='E' version=''/>")->getVersion(), 1);
}

TEST(ClassId, TextFormWritesAndReadsTheVersionAfterV)
{
    const SmartPointer<IClassId> three = MOX::createClassId("Foo", 3);
    EXPECT_EQ(three->toString(), "Foo v=3");
    const SmartPointer<IClassId> back = MOX::parseClassId(three->toString());
    EXPECT_EQ(back->getName(), "Foo");
    EXPECT_EQ(back->getVersion(), 3);
    EXPECT_EQ(MOX::getClassIdLoader(back), "");

    EXPECT_EQ(MOX::createClassId("Foo", 1)->toString(), "Foo");
    EXPECT_EQ(MOX::createClassId("Foo", 0)->toString(), "Foo");
    const SmartPointer<IClassId> plain = MOX::parseClassId("Foo Bar");
    EXPECT_EQ(plain->getName(), "Foo Bar");
    EXPECT_EQ(plain->getVersion(), 1);

    // Only emptiness is checked when parsing; the first " v=" splits.
    const SmartPointer<IClassId> unnamed = MOX::parseClassId(" v=5");
    EXPECT_EQ(unnamed->getName(), "");
    EXPECT_EQ(unnamed->getVersion(), 5);
    EXPECT_EQ(MOX::parseClassId("A v=-2")->getVersion(), -2);
    EXPECT_EQ(MOX::parseClassId("A v= 7 ")->getVersion(), 7);
    EXPECT_THROW(MOX::parseClassId("A v=1 v=2"), MOX::EXCEPTIONS::InvalidArgumentException);
    try {
        MOX::parseClassId("Foo v=three");
        ADD_FAILURE() << "a version that is not a number was read";
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), -1009);
    }
}

TEST(ClassId, UnmarshalReplacesAllOrNothing)
{
    ClassIdImpl id("Old", 5, "OldLoader");
    id.unmarshal("<class-id class='New'/>");
    EXPECT_EQ(id.getName(), "New");
    EXPECT_EQ(id.getVersion(), 5);  // no version attribute: kept
    EXPECT_EQ(id.getLoader(), "");

    EXPECT_THROW(id.unmarshal("<class-id class='Bad' version='x' loader='L'/>"),
                 MOX::EXCEPTIONS::InvalidArgumentException);
    EXPECT_EQ(id.getName(), "New");
    EXPECT_EQ(id.getVersion(), 5);
    EXPECT_EQ(id.getLoader(), "");

    ClassIdImpl text("Old", 5, "OldLoader");
    EXPECT_THROW(text.readText("New v=?"), MOX::EXCEPTIONS::InvalidArgumentException);
    EXPECT_EQ(text.getName(), "Old");
    text.readText("New");
    EXPECT_EQ(text.getVersion(), 1);
    EXPECT_EQ(text.getLoader(), "");
}

TEST(ClassId, OrderIsByNameThenVersionAndIgnoresTheLoader)
{
    const SmartPointer<IClassId> a9 = MOX::createClassId("a", 9);
    const SmartPointer<IClassId> b1 = MOX::createClassId("b", 1);
    const SmartPointer<IClassId> a1 = MOX::createClassId("a", 1);
    const SmartPointer<IClassId> a2 = MOX::createClassId("a", 2);
    EXPECT_TRUE(a9->lessThan(*b1));
    EXPECT_FALSE(b1->lessThan(*a9));
    EXPECT_TRUE(a1->lessThan(*a2));
    EXPECT_FALSE(a2->lessThan(*a1));
    EXPECT_FALSE(a1->lessThan(*a1));
    // Byte-wise: upper case before lower case, high bytes last.
    EXPECT_TRUE(MOX::createClassId("Z", 1)->lessThan(*a1));
    EXPECT_TRUE(a1->lessThan(*MOX::createClassId("\xc3\xa4", 1)));
    // Signed versions.
    EXPECT_TRUE(MOX::parseClassId("a v=-3")->lessThan(*MOX::createClassId("a", 0)));

    const SmartPointer<IClassId> l1 = MOX::parseClassId("<class-id class='a' version='2' loader='One'/>");
    const SmartPointer<IClassId> l2 = MOX::parseClassId("<class-id class='a' version='2' loader='Two'/>");
    EXPECT_FALSE(l1->lessThan(*l2));
    EXPECT_FALSE(l2->lessThan(*l1));
    EXPECT_TRUE(l1 == l2);

    EXPECT_TRUE(a1->hasName("a"));
    EXPECT_FALSE(a1->hasName("A"));
    EXPECT_FALSE(a1->hasName("a "));
}

TEST(ClassId, HelpersRefuseNullAndForeignIds)
{
    EXPECT_THROW(MOX::marshalClassId(SmartPointer<IClassId>()), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_THROW(MOX::getClassIdLoader(SmartPointer<IClassId>()), MOX::EXCEPTIONS::NullPointerException);
    const SmartPointer<IClassId> foreign(new ForeignClassId());
    EXPECT_THROW(MOX::marshalClassId(foreign), MOX::EXCEPTIONS::ClassCastException);
    // The library's ids still order against foreign ones through the interface.
    EXPECT_TRUE(MOX::createClassId("a", 1)->lessThan(*foreign));
}
