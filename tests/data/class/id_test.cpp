// Class, interface and loader ids: creation checks, the XML and text forms, parsing,
// order, names and the interface id's text equality.
#include <gtest/gtest.h>

#include <functional>

#include <mox/class/IClassId.h>
#include <mox/class/IInterfaceId.h>
#include <mox/class/LoaderId.h>

#include "MoxTestSupport.h"
#include "data/class/ClassIdImpl.h"
#include "data/class/InterfaceIdImpl.h"

using MOX::CLASS::ClassIdImpl;
using MOX::CLASS::IClassId;
using MOX::CLASS::IInterfaceId;
using MOX::CLASS::InterfaceIdImpl;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::RT::SmartPointer;

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

std::string fields(const IInterfaceId& id) { return id.getName() + " " + std::to_string(id.getVersion()); }

} // namespace

TEST(ClassId, FailuresOfEachEntryPoint)
{
    const struct { std::function<void()> call; int code; const char* function; } rows[] = {
        {[] { MOX::createClassId("", 1); }, -1006, "MOX::createClassId"},
        {[] { MOX::createClassId("Foo", -1); }, -1006, "MOX::createClassId"},
        {[] { MOX::parseClassId(""); }, -1006, "MOX::parseClassId"},
        {[] { MOX::parseClassId("Foo v=three"); }, -1009, nullptr},
        {[] { MOX::parseClassId("A v=1 v=2"); }, -1009, nullptr}};
    for (const auto& row : rows)
        EXPECT_TRUE(moxtest::throwsMox<InvalidArgumentException>(row.call, row.code, row.function,
                                                                 row.function ? "data/class/ClassId" : nullptr))
            << &row - rows;
    EXPECT_THROW(MOX::marshalClassId(SmartPointer<IClassId>()), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_THROW(MOX::getClassIdLoader(SmartPointer<IClassId>()), MOX::EXCEPTIONS::NullPointerException);
    const SmartPointer<IClassId> foreign(new ForeignClassId());
    EXPECT_THROW(MOX::marshalClassId(foreign), MOX::EXCEPTIONS::ClassCastException);
    EXPECT_TRUE(MOX::createClassId("a", 1)->lessThan(*foreign)); // still ordered through the interface
}

TEST(ClassId, TextFormsRoundTripAndReadLeniently)
{
    // Version 0 and 1 are not written, the loader only when set; attributes in the order class, version, loader.
    EXPECT_EQ(MOX::marshalClassId(MOX::createClassId("Foo", 0)), "<class-id class=\"Foo\"/>");
    const std::string full = "<class-id class=\"Foo\" version=\"2\" loader=\"Boot\"/>";
    EXPECT_EQ(MOX::marshalClassId(MOX::parseClassId("<class-id loader='Boot' version='2' class='Foo'></class-id>")), full);
    const std::string odd = "a<b>&\"c\" d";
    EXPECT_EQ(fields(MOX::parseClassId(MOX::marshalClassId(MOX::createClassId(odd, 9)))), odd + " 9 []");
    EXPECT_EQ(MOX::createClassId("Foo", 3)->toString() + "|" + MOX::createClassId("Foo", 0)->toString(), "Foo v=3|Foo");

    const std::pair<std::string, std::string> reads[] = {
        {"  <wrap><x/><class-id class='In' version='4' loader='L'/></wrap>", "In 4 [L]"}, // inside other text
        {"<other class='X' version='3'/>", " 1 []"}, // absent: an empty id
        {"<class-id class='E' version=''/>", "E 1 []"},                      // empty version: the default
        // The text form: the first " v=" splits, only emptiness is checked.
        {"Foo Bar", "Foo Bar 1 []"}, {" v=5", " 5 []"}, {"A v= -7 ", "A -7 []"}};
    for (const auto& [text, expected] : reads)
        EXPECT_EQ(fields(MOX::parseClassId(text)), expected) << text;

    // Reading replaces all or nothing; a missing version keeps the old one.
    ClassIdImpl id("Old", 5, "OldLoader");
    id.unmarshal("<class-id class='New'/>");
    EXPECT_THROW(id.unmarshal("<class-id class='Bad' version='x' loader='L'/>"), InvalidArgumentException);
    EXPECT_THROW(id.readText("Bad v=?"), InvalidArgumentException);
    EXPECT_EQ(id.getName() + std::to_string(id.getVersion()) + id.getLoader(), "New5");
    id.readText("Text");
    EXPECT_EQ(id.getName() + std::to_string(id.getVersion()), "Text1");
}

TEST(ClassId, OrderIsByNameThenVersionAndIgnoresTheLoader)
{
    const auto less = [](const std::string& a, const std::string& b) {
        return MOX::parseClassId(a)->lessThan(*MOX::parseClassId(b));
    };
    for (const auto& [a, b] : {std::pair<const char*, const char*>{"a v=9", "b"}, {"a v=-3", "a v=0"}})
        EXPECT_TRUE(less(a, b) && !less(b, a)) << a << " < " << b;
    EXPECT_TRUE(MOX::parseClassId("<class-id class='a' loader='One'/>") == MOX::parseClassId("a"));
    EXPECT_FALSE(MOX::createClassId("a", 1)->hasName("A") || !MOX::createClassId("a", 1)->hasName("a"));
}

TEST(LoaderId, XmlFormAlwaysWritesBothAttributesAndReadingReplacesBoth)
{
    EXPECT_EQ(MOX::LoaderId().marshal(), "<loader-id name=\"\" file=\"\"/>");
    EXPECT_TRUE(MOX::LoaderId("", "/lib/x.so").isEmpty() && !MOX::LoaderId("", "/lib/x.so").isDefined());
    const MOX::LoaderId boot("Boot \"<&>\"", "/opt/mox/lib/boot.so");
    MOX::LoaderId read;
    read.unmarshal(boot.marshal());
    EXPECT_EQ(read.getName() + "|" + read.getFile(), boot.getName() + "|" + boot.getFile());
    read.unmarshal("<x><loader-id name='OnlyName'/></x>"); // missing attributes read as empty
    EXPECT_EQ(read.getName() + "|" + read.getFile(), "OnlyName|");
}

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
