// Class and loader ids: creation checks, the XML and text forms, parsing, order and names.
#include <gtest/gtest.h>

#include <mox/class/IClassId.h>
#include <mox/class/LoaderId.h>
#include <mox/rt/Exceptions.h>

#include "data/class/ClassIdImpl.h"
#include "data/class/ClassTestSupport.h"

using MOX::RT::SmartPointer;
using MOX::CLASS::ClassIdImpl;
using MOX::CLASS::IClassId;
using MOX::EXCEPTIONS::InvalidArgumentException;
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

std::string fields(const SmartPointer<IClassId>& id)
{
    return id->getName() + " " + std::to_string(id->getVersion()) + " [" + MOX::getClassIdLoader(id) + "]";
}

} // namespace

TEST(ClassId, CreateAndParseCheckTheirArguments)
{
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createClassId("", 1); }, "data/class/ClassId", "MOX::createClassId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::createClassId("Foo", -1); }, "data/class/ClassId",
                                       "MOX::createClassId"));
    EXPECT_TRUE(throwsInvalidArguments([] { MOX::parseClassId(""); }, "data/class/ClassId", "MOX::parseClassId"));
    EXPECT_EQ(fields(MOX::createClassId("Foo", 0)), "Foo 0 []");
}

TEST(ClassId, XmlFormCarriesVersionAboveOneAndLoaderWhenSet)
{
    const std::string one = MOX::marshalClassId(MOX::createClassId("Foo", 1));
    EXPECT_EQ(MOX::RT::XmlUtils::GetElement("class-id", one), one);
    EXPECT_EQ(attribute(one, "class") + attribute(one, "version") + attribute(one, "loader"), "Foo(absent)(absent)");
    EXPECT_EQ(MOX::marshalClassId(MOX::createClassId("Foo", 0)), one); // version 0 is written like 1

    // All three attributes come back in the order class, version, loader.
    const std::string full = "<class-id class=\"Foo\" version=\"2\" loader=\"Boot\"/>";
    EXPECT_EQ(MOX::marshalClassId(MOX::parseClassId(full)), full);
    EXPECT_EQ(MOX::marshalClassId(MOX::parseClassId("<class-id loader='Boot' version='2' class='Foo'></class-id>")),
              full);
    const std::string odd = "a<b>&\"c\" d";
    EXPECT_EQ(fields(MOX::parseClassId(MOX::marshalClassId(MOX::createClassId(odd, 9)))), odd + " 9 []");

    const std::pair<std::string, std::string> reads[] = {
        {one, "Foo 1 []"},
        {full, "Foo 2 [Boot]"},
        {"  <wrap><x/><class-id class='In' version='4'/></wrap>", "In 4 []"}, // found inside other text
        {"<other class='X' version='3'/>", " 1 []"},                          // absent: an empty id
        {"<class-id class='E' version=''/>", "E 1 []"},                      // empty version: the default
        // The text form: the first " v=" splits, only emptiness is checked.
        {"Foo Bar", "Foo Bar 1 []"}, {" v=5", " 5 []"}, {"A v=-2", "A -2 []"}, {"A v= 7 ", "A 7 []"}};
    for (const auto& [text, expected] : reads)
        EXPECT_EQ(fields(MOX::parseClassId(text)), expected) << text;
    EXPECT_EQ(MOX::createClassId("Foo", 3)->toString(), "Foo v=3");
    EXPECT_EQ(MOX::createClassId("Foo", 0)->toString(), "Foo");
    EXPECT_THROW(MOX::parseClassId("A v=1 v=2"), InvalidArgumentException);
    try {
        MOX::parseClassId("Foo v=three");
        ADD_FAILURE() << "a version that is not a number was read";
    } catch (const InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), -1009);
    }
}

TEST(ClassId, UnmarshalReplacesAllOrNothing)
{
    ClassIdImpl id("Old", 5, "OldLoader");
    id.unmarshal("<class-id class='New'/>");
    EXPECT_EQ(id.getName() + std::to_string(id.getVersion()) + id.getLoader(), "New5"); // no version: kept
    EXPECT_THROW(id.unmarshal("<class-id class='Bad' version='x' loader='L'/>"), InvalidArgumentException);
    EXPECT_EQ(id.getName() + std::to_string(id.getVersion()) + id.getLoader(), "New5");

    ClassIdImpl text("Old", 5, "OldLoader");
    EXPECT_THROW(text.readText("New v=?"), InvalidArgumentException);
    EXPECT_EQ(text.getName() + std::to_string(text.getVersion()) + text.getLoader(), "Old5OldLoader");
    text.readText("New");
    EXPECT_EQ(text.getName() + std::to_string(text.getVersion()) + text.getLoader(), "New1");
}

TEST(ClassId, OrderIsByNameThenVersionAndIgnoresTheLoader)
{
    const auto less = [](const std::string& a, const std::string& b) {
        return MOX::parseClassId(a)->lessThan(*MOX::parseClassId(b));
    };
    // Names first, then signed versions.
    for (const auto& [a, b] : std::vector<std::pair<std::string, std::string>>{{"a v=9", "b"}, {"a v=-3", "a v=0"}}) {
        EXPECT_TRUE(less(a, b)) << a << " < " << b;
        EXPECT_FALSE(less(b, a)) << b << " < " << a;
    }
    EXPECT_FALSE(less("a", "a"));
    const SmartPointer<IClassId> l1 = MOX::parseClassId("<class-id class='a' version='2' loader='One'/>");
    const SmartPointer<IClassId> l2 = MOX::parseClassId("<class-id class='a' version='2' loader='Two'/>");
    EXPECT_FALSE(l1->lessThan(*l2) || l2->lessThan(*l1));
    EXPECT_TRUE(l1 == l2);

    const SmartPointer<IClassId> a1 = MOX::createClassId("a", 1);
    EXPECT_TRUE(a1->hasName("a"));
    EXPECT_FALSE(a1->hasName("A") || a1->hasName("a "));
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

TEST(LoaderId, XmlFormAlwaysWritesBothAttributesAndReadingReplacesBoth)
{
    const MOX::LoaderId empty;
    EXPECT_TRUE(empty.isEmpty() && !empty.isDefined());
    const std::string xml = empty.marshal();
    EXPECT_EQ(MOX::RT::XmlUtils::GetElement("loader-id", xml), xml);
    EXPECT_EQ(attribute(xml, "name") + "|" + attribute(xml, "file"), "|");
    EXPECT_EQ(empty.toString(), xml);
    EXPECT_TRUE(MOX::LoaderId("", "/lib/x.so").isEmpty()); // a file without a name is still empty

    const MOX::LoaderId boot("Boot \"<&>\"", "/opt/mox/lib/boot.so");
    EXPECT_TRUE(boot.isDefined() && !boot.isEmpty());
    MOX::LoaderId read;
    read.unmarshal(boot.marshal());
    EXPECT_EQ(read.getName() + "|" + read.getFile(), boot.getName() + "|" + boot.getFile());
    // Missing attributes read as empty, whatever was there before.
    read.unmarshal("<x><loader-id name='OnlyName'/></x>");
    EXPECT_EQ(read.getName() + "|" + read.getFile(), "OnlyName|");
    read.unmarshal("<nothing-here/>");
    EXPECT_TRUE(read.isEmpty());
}
