#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/PropertiesImpl.h>

using MOX::Vector;
using MOX::RT::PropertiesImpl;

TEST(PropertiesImpl, NamesKeepFirstSetOrderAcrossUpdatesAndRemovals)
{
    PropertiesImpl p;
    EXPECT_EQ(p.getProperty("x", "dflt"), "dflt");
    for (const char* name : {"b", "a", "c", "b"})
        p.setProperty(name, name);
    p.setProperty("b", "4");  // keeps its place
    p.removeProperty("a");
    p.removeProperty("never-set");
    EXPECT_EQ(p.getProperty("a", "gone"), "gone");
    p.setProperty("a", "5");  // set again after removal: now last
    p.setProperty("", "");    // an empty name and value are ordinary
    EXPECT_EQ(p.getPropertyNames(), Vector<std::string>({"b", "c", "a", ""}));
    EXPECT_EQ(p.getProperty("b"), "4");
    EXPECT_EQ(p.getProperty("", "dflt"), "");

}

TEST(PropertiesImpl, MarshalReplacesOnUnmarshalAndRoundTrips)
{
    PropertiesImpl p;
    EXPECT_EQ(p.marshal(), "<PROPERTIES/>");
    p.setProperty("path.config", "/etc/mox");
    p.setProperty("odd <name> & \"q\"", "tab\tline\nquote\" gt> \xc3\xa9");
    p.setProperty("empty", "");
    const std::string text = p.marshal();
    EXPECT_EQ(text.rfind("<PROPERTIES><PROPERTY name=\"path.config\" value=\"/etc/mox\"/>", 0), 0u) << text;

    PropertiesImpl back;
    back.setProperty("stale", "x");  // replaced, not merged
    back.unmarshal(text);
    EXPECT_EQ(back.getPropertyNames(), p.getPropertyNames());
    for (const std::string& name : p.getPropertyNames())
        EXPECT_EQ(back.getProperty(name, "missing"), p.getProperty(name)) << name;
    EXPECT_EQ(back.marshal(), text);

    // The outer element's name is not checked; later duplicates overwrite in place.
    back.unmarshal("<?xml version=\"1.0\"?><app><PROPERTY name=\"a\" value=\"1\"/><other/>"
                   "<PROPERTY name=\"b\" value=\"2\"/><PROPERTY name=\"a\" value=\"3\"/></app>");
    EXPECT_EQ(back.getPropertyNames(), Vector<std::string>({"a", "b"}));
    EXPECT_EQ(back.getProperty("a"), "3");
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
    }
    EXPECT_EQ(p.getPropertyNames(), Vector<std::string>({"keep"}));
    EXPECT_EQ(p.getProperty("keep"), "me");
}
