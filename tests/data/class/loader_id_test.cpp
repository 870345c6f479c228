// Loader ids: the empty loader, the XML form and value semantics.
#include <gtest/gtest.h>

#include <mox/class/LoaderId.h>

#include "data/class/ClassTestSupport.h"

using classtest::attribute;

TEST(LoaderId, EmptyLoaderStillWritesBothAttributes)
{
    const MOX::LoaderId empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.isDefined());
    const std::string xml = empty.marshal();
    EXPECT_EQ(MOX::RT::XmlUtils::GetElement("loader-id", xml), xml);
    EXPECT_EQ(attribute(xml, "name"), "");
    EXPECT_EQ(attribute(xml, "file"), "");
    EXPECT_EQ(empty.toString(), xml);

    // A file without a name is still an empty loader.
    const MOX::LoaderId fileOnly("", "/lib/x.so");
    EXPECT_TRUE(fileOnly.isEmpty());
    EXPECT_EQ(attribute(fileOnly.marshal(), "file"), "/lib/x.so");
}

TEST(LoaderId, XmlFormRoundTripsAndReplacesBothFields)
{
    const MOX::LoaderId boot("Boot \"<&>\"", "/opt/mox/lib/boot.so");
    EXPECT_TRUE(boot.isDefined());
    EXPECT_FALSE(boot.isEmpty());
    MOX::LoaderId read;
    read.unmarshal(boot.marshal());
    EXPECT_EQ(read.getName(), boot.getName());
    EXPECT_EQ(read.getFile(), boot.getFile());
    EXPECT_EQ(read.marshal(), boot.marshal());

    // Missing attributes read as empty, whatever was there before.
    read.unmarshal("<x><loader-id name='OnlyName'/></x>");
    EXPECT_EQ(read.getName(), "OnlyName");
    EXPECT_EQ(read.getFile(), "");
    read.unmarshal("<nothing-here/>");
    EXPECT_TRUE(read.isEmpty());
    EXPECT_EQ(read.getFile(), "");
}

TEST(LoaderId, CopiesAreIndependentValues)
{
    const MOX::LoaderId a("A", "a.so");
    MOX::LoaderId c;
    c = a;
    c.setName("C");
    EXPECT_EQ(a.getName(), "A");
    EXPECT_EQ(c.getFile(), "a.so");
    // Usable through its bases.
    const MOX::Object& asObject = c;
    const MOX::Marshallable& asMarshallable = c;
    EXPECT_EQ(asObject.toString(), asMarshallable.marshal());
}
