// AttributeConverter: the qualified-name rule both ways, attributes and lists, and the
// appending forms. The streaming reader and writer are exercised by the document tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <mox/attr/Attributes.h>
#include <mox/xb/AttributeConverter.h>

#include "data/attribute/AttrTestSupport.h"

using MOX::ATTR::IAttribute;
using MOX::ATTR::IQualifiedName;
using MOX::Attributes::AttributeList;
using MOX::RT::SmartPointer;
using MOX::XB::AttributeConverter;
using MOX::XB::xbattribute;
using MOX::XB::xbattributes;
using MOX::XB::xbqualified_name;
using attrtest::attr;
namespace A = MOX::Attributes;

TEST(AttributeConverter, QualifiedNamesMarkOnlyWhatIsSetAndReadTheScopeOnlyWithAType)
{
    xbqualified_name out;
    AttributeConverter::toXB(out, A::createQualifiedName("n", "Integer", "s"));
    // Reusing the target: fields the new name lacks become absent.
    AttributeConverter::toXB(out, A::parseQualifiedName("<attribute-id name=\"m\" format=\"\"/>"));
    EXPECT_EQ(out.name + "|" + out.type.value_or("(absent)") + "|" + out.scope.value_or("(absent)"), "m|(absent)|(absent)");
    xbqualified_name in;
    in.name = "n";
    in.scope = "s";
    EXPECT_EQ(AttributeConverter::toMOX(in)->getFormat() + "|" + AttributeConverter::toMOX(in)->getScope(), "String|");
    in.type = "Double";
    EXPECT_EQ(AttributeConverter::toMOX(in)->getFormat() + "|" + AttributeConverter::toMOX(in)->getScope(), "Double|s");
}

TEST(AttributeConverter, AttributesAndListsAppendInOrder)
{
    const SmartPointer<IAttribute> a = attr("a", {"1", "2"}, "Integer", "s");
    EXPECT_TRUE(AttributeConverter::toMOX(*std::unique_ptr<xbattribute>(AttributeConverter::toXB(a))) == a);
    xbattributes doc;
    doc.list.emplace_back().name = "first";
    AttributeConverter::toXB(doc, AttributeList{a, attr("c")});
    ASSERT_EQ(doc.list.size(), 3u);
    EXPECT_EQ(doc.list[1].name + doc.list[2].name, "ac");
    // Reading appends too; a failing item leaves what came before it.
    AttributeList out{attr("kept")};
    doc.list.emplace_back(); // empty name
    doc.list.emplace_back().name = "after";
    EXPECT_TRUE(attrtest::throwsInvalidArguments([&] { AttributeConverter::toMOX(out, doc); },
                                                 "MOX::Attributes::createQualifiedName"));
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0]->getName() + out[1]->getName() + out[3]->getName(), "keptfirstc");
}
