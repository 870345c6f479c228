// SPDX-License-Identifier: MIT
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

TEST(Ids, EveryFailurePath)
{
    const SmartPointer<IClassId> foreign(new ForeignClassId());
    ClassIdImpl cls("Old", 5, "OldLoader");
    InterfaceIdImpl itf("Old", 5);
    const struct { std::function<void()> call; int code; const char *function, *file; } rows[] = {
        {[] { MOX::createClassId("", 1); }, -1006, "MOX::createClassId", "data/class/ClassId"},
        {[] { MOX::createClassId("Foo", -1); }, -1006, "MOX::createClassId", "data/class/ClassId"},
        {[] { MOX::parseClassId(""); }, -1006, "MOX::parseClassId", "data/class/ClassId"},
        {[] { MOX::createInterfaceId("", 1); }, -1006, "MOX::createInterfaceId", "data/class/InterfaceId"},
        {[] { MOX::createInterfaceId("I", -5); }, -1006, "MOX::createInterfaceId", "data/class/InterfaceId"},
        {[] { MOX::parseInterfaceId(""); }, -1006, "MOX::parseInterfaceId", "data/class/InterfaceId"},
        // Versions must be whole numbers: after the first " v=", or the first "::".
        {[] { MOX::parseClassId("Foo v=three"); }, -1009, nullptr, nullptr},
        {[] { MOX::parseInterfaceId("A::B::2"); }, -1009, nullptr, nullptr},
        {[&] { cls.unmarshal("<class-id class='Bad' version='x' loader='L'/>"); }, -1009, nullptr, nullptr},
        {[&] { itf.unmarshal("<interface-id class='Bad' version='v2'/>"); }, -1009, nullptr, nullptr},
        {[] { MOX::marshalClassId(SmartPointer<IClassId>()); }, -1004, nullptr, nullptr},
        {[&] { MOX::marshalClassId(foreign); }, -1005, nullptr, nullptr}};
    for (const auto& row : rows)
        EXPECT_TRUE(moxtest::throwsMox(row.call, row.code, row.function, row.file)) << &row - rows;
    // Reading replaces all or nothing.
    EXPECT_EQ(cls.getName() + std::to_string(cls.getVersion()) + cls.getLoader() + fields(itf), "Old5OldLoaderOld 5");
    EXPECT_TRUE(MOX::createClassId("a", 1)->lessThan(*foreign)); // still ordered through the interface
}

TEST(ClassId, TextFormsReadLeniently)
{
    // Versions 0 and 1 are not written, the loader only when set; attributes in the order class, version, loader.
    EXPECT_EQ(MOX::marshalClassId(MOX::createClassId("Foo", 0)), "<class-id class=\"Foo\"/>");
    EXPECT_EQ(MOX::marshalClassId(MOX::parseClassId("<class-id loader='Boot' version='2' class='Foo'></class-id>")),
              "<class-id class=\"Foo\" version=\"2\" loader=\"Boot\"/>");
    const std::pair<std::string, std::string> reads[] = {
        {"  <wrap><x/><class-id class='In' version='4' loader='L'/></wrap>", "In 4 [L]"}, // inside other text
        {"<other class='X' version='3'/>", " 1 []"},                                     // absent: an empty id
        {"<class-id class='E' version=''/>", "E 1 []"},                                 // empty version: the default
        {"A v= -7 ", "A -7 []"}};                                                       // only emptiness is checked
    for (const auto& [text, expected] : reads)
        EXPECT_EQ(fields(MOX::parseClassId(text)), expected) << text;
    ClassIdImpl id("Old", 5, "OldLoader");
    id.unmarshal("<class-id class='New'/>"); // a missing version is kept
    EXPECT_EQ(id.getName() + std::to_string(id.getVersion()) + id.getLoader(), "New5");

    // Loader ids always write both attributes (awkward texts: the hostile text round trips); reading replaces both.
    MOX::LoaderId loader("Old", "/old.so");
    EXPECT_EQ(MOX::LoaderId().marshal(), "<loader-id name=\"\" file=\"\"/>");
    loader.unmarshal("<x><loader-id name='OnlyName'/></x>");
    EXPECT_EQ(loader.getFile() + std::to_string(MOX::LoaderId("", "/lib/x.so").isEmpty()), "1");
}

TEST(InterfaceId, TextForms)
{
    // Parsing takes the element, or else splits the text at the first "::".
    const std::pair<std::string, std::string> reads[] = {
        {"Name", "Name 1"}, {"::3", " 3"}, {"N:: -2 ", "N -2"},
        {"<other class='X'/>", "<other class='X'/> 1"}}; // no "interface-id" element: a name, even when XML
    for (const auto& [text, expected] : reads)
        EXPECT_EQ(fields(*MOX::parseInterfaceId(text)), expected) << text;
    EXPECT_EQ(MOX::createInterfaceId("S", 0)->toString(), "<interface-id class=\"S\"/>");
    InterfaceIdImpl id("Old", 5);
    id.unmarshal("<interface-id class='New'/>"); // a missing version is kept
    EXPECT_EQ(fields(id), "New 5");
}

TEST(InterfaceId, TextEquality)
{
    // Found by argument-dependent lookup; texts that cannot be read compare unequal.
    const SmartPointer<IInterfaceId> svc = MOX::createInterfaceId("Svc", 2);
    EXPECT_TRUE(std::string("Svc::2") == svc);
    EXPECT_TRUE(svc == std::string("<interface-id class='Svc' version='2'/>"));
    EXPECT_FALSE(std::string("svc::2") == svc);
    EXPECT_FALSE(svc == std::string("Svc::x"));
    EXPECT_TRUE(std::string("One") == MOX::createInterfaceId("One", 1)); // version 1 is the default on both sides
}

TEST(Ids, OrderIsByNameThenVersionIgnoringTheLoader)
{
    for (const auto& [a, b] : {std::pair<const char*, const char*>{"a v=9", "b"}, {"a v=-3", "a v=0"}}) {
        EXPECT_TRUE(MOX::parseClassId(a)->lessThan(*MOX::parseClassId(b))) << a;
        EXPECT_FALSE(MOX::parseClassId(b)->lessThan(*MOX::parseClassId(a))) << a;
    }
    for (const auto& [a, b] : {std::pair<const char*, const char*>{"a::9", "b"}, {"a::-1", "a::0"}}) {
        EXPECT_TRUE(MOX::parseInterfaceId(a)->lessThan(*MOX::parseInterfaceId(b))) << a;
        EXPECT_FALSE(MOX::parseInterfaceId(b)->lessThan(*MOX::parseInterfaceId(a))) << a;
    }
    EXPECT_TRUE(MOX::parseClassId("<class-id class='a' loader='One'/>") == MOX::parseClassId("a"));
    const auto a = MOX::parseClassId("a");
    EXPECT_TRUE(a->hasName("a") && !a->hasName("A")); // names match case-sensitively
}
