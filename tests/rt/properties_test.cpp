#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/PropertiesImpl.h>
#include <mox/rt/XmlUtils.h>

using MOX::Vector;
using MOX::RT::PropertiesImpl;
using MOX::RT::XmlUtils;

TEST(PropertiesImpl, NamesKeepFirstSetOrderAcrossUpdatesAndRemovals)
{
    PropertiesImpl p;
    EXPECT_TRUE(p.getPropertyNames().empty());
    EXPECT_EQ(p.getProperty("x", "dflt"), "dflt");
    p.setProperty("b", "1");
    p.setProperty("a", "2");
    p.setProperty("c", "3");
    p.setProperty("b", "4");  // keeps its place
    EXPECT_EQ(p.getPropertyNames(), Vector<std::string>({"b", "a", "c"}));
    EXPECT_EQ(p.getProperty("b"), "4");
    p.removeProperty("a");
    p.removeProperty("never-set");
    EXPECT_EQ(p.getPropertyNames(), Vector<std::string>({"b", "c"}));
    EXPECT_EQ(p.getProperty("a", "gone"), "gone");
    p.setProperty("a", "5");  // set again after removal: now last
    EXPECT_EQ(p.getPropertyNames(), Vector<std::string>({"b", "c", "a"}));
    p.setProperty("", "");  // an empty name and value are ordinary
    EXPECT_EQ(p.getProperty("", "dflt"), "");
    EXPECT_EQ(p.getPropertyNames().size(), 4u);

    // Copies are independent.
    PropertiesImpl copy(p);
    copy.setProperty("b", "changed");
    EXPECT_EQ(p.getProperty("b"), "4");
    p = copy;
    EXPECT_EQ(p.getProperty("b"), "changed");
    EXPECT_EQ(p.getPropertyNames(), copy.getPropertyNames());
}

TEST(PropertiesImpl, MarshalFormAndRoundTrip)
{
    PropertiesImpl p;
    EXPECT_EQ(p.marshal(), "<PROPERTIES/>");
    p.setProperty("path.config", "/etc/mox");
    p.setProperty("odd <name> & \"q\"", "tab\tline\nquote\" gt> \xc3\xa9");
    p.setProperty("empty", "");
    const std::string text = p.marshal();
    EXPECT_EQ(text.rfind("<PROPERTIES><PROPERTY name=\"path.config\" value=\"/etc/mox\"/>", 0), 0u) << text;
    EXPECT_EQ(XmlUtils::getElements(PropertiesImpl::PROPERTY, text).size(), 3u);

    PropertiesImpl back;
    back.setProperty("stale", "x");  // replaced, not merged
    back.unmarshal(text);
    EXPECT_EQ(back.getPropertyNames(), p.getPropertyNames());
    for (const std::string& name : p.getPropertyNames())
        EXPECT_EQ(back.getProperty(name, "missing"), p.getProperty(name)) << name;
    EXPECT_EQ(back.getProperty("stale", "gone"), "gone");
    EXPECT_EQ(back.marshal(), text);

    back.unmarshal("");
    EXPECT_TRUE(back.getPropertyNames().empty());
}

TEST(PropertiesImpl, ReadingPropertyElements)
{
    PropertiesImpl p;
    p.assignPropertyFromXML(PropertiesImpl::propertyToXML("k", "v&<>"));
    EXPECT_EQ(p.getProperty("k"), "v&<>");
    p.assignPropertyFromXML("<PROPERTY name=\"novalue\"/>");
    EXPECT_EQ(p.getProperty("novalue", "dflt"), "");
    EXPECT_EQ(p.getPropertyNames().size(), 2u);
    p.assignPropertyFromXML("<PROPERTY value=\"orphan\"/>");  // no name: ignored
    p.assignPropertyFromXML("not xml");
    EXPECT_EQ(p.getPropertyNames(), Vector<std::string>({"k", "novalue"}));
    p.assignPropertyFromXML("<PROPERTY name=\"\" value=\"e\"/>");  // an empty name is a name
    EXPECT_EQ(p.getProperty("", "dflt"), "e");

    // The outer element's name is not checked; later duplicates overwrite in place.
    p.unmarshal("<?xml version=\"1.0\"?><app><PROPERTY name=\"a\" value=\"1\"/><other/>"
                "<PROPERTY name=\"b\" value=\"2\"/><PROPERTY name=\"a\" value=\"3\"/></app>");
    EXPECT_EQ(p.getPropertyNames(), Vector<std::string>({"a", "b"}));
    EXPECT_EQ(p.getProperty("a"), "3");
}

TEST(PropertiesImpl, UnmarshalOfNonXmlThrowsAndKeepsContents)
{
    PropertiesImpl p;
    p.setProperty("keep", "me");
    try {
        p.unmarshal("name=value");
        FAIL() << "accepted non-XML text";
    } catch (const MOX::EXCEPTIONS::SerializationException& e) {
        EXPECT_EQ(e.getCode(), -1056);
        EXPECT_EQ(e.getFunction(), "MOX::RT::PropertiesImpl::unmarshal");
        EXPECT_FALSE(e.getDetail().empty());
    }
    EXPECT_EQ(p.getProperty("keep"), "me");
    EXPECT_EQ(p.getPropertyNames().size(), 1u);
}
