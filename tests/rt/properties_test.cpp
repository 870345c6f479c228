#include <string>

#include <gtest/gtest.h>

#include <mox/rt/PropertiesImpl.h>

#include "MoxTestSupport.h"

using MOX::Vector;
using MOX::RT::PropertiesImpl;

TEST(PropertiesImpl, NamesKeepFirstSetOrderAndTheTextFormRoundTrips)
{
    PropertiesImpl p;
    EXPECT_EQ(p.marshal(), "<PROPERTIES/>");
    for (const char* name : {"b", "a", "c"})
        p.setProperty(name, name);
    p.setProperty("b", "odd <v> & \"q\"\t\n\xc3\xa9"); // keeps its place
    p.removeProperty("a");
    p.setProperty("a", "");                              // set again after removal: now last
    EXPECT_EQ(p.getPropertyNames(), Vector<std::string>({"b", "c", "a"}));
    EXPECT_EQ(p.getProperty("x", "dflt") + p.getProperty("a", "dflt"), "dflt");

    PropertiesImpl back;
    back.setProperty("stale", "x"); // replaced, not merged
    back.unmarshal(p.marshal());
    EXPECT_EQ(back.getPropertyNames(), p.getPropertyNames());
    EXPECT_EQ(back.getProperty("b"), p.getProperty("b"));
    EXPECT_EQ(back.marshal(), p.marshal());
    // Later duplicates overwrite in place.
    back.unmarshal("<app><PROPERTY name=\"a\" value=\"1\"/><PROPERTY name=\"b\" value=\"2\"/>"
                   "<PROPERTY name=\"a\" value=\"3\"/></app>");
    EXPECT_EQ(back.getPropertyNames(), Vector<std::string>({"a", "b"}));
    EXPECT_EQ(back.getProperty("a"), "3");

    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::SerializationException>([&] { back.unmarshal("name=value"); },
                                                                            -1056, "MOX::RT::PropertiesImpl::unmarshal"));
    EXPECT_EQ(back.getPropertyNames(), Vector<std::string>({"a", "b"}));
}
