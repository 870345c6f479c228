// AttributeConverter: the qualified-name rule both ways, attributes and lists, and the
// appending forms. The streaming reader and writer are exercised by the document tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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

namespace {

template <class Item>
std::string describe(const Item& item)
{
    std::string out = item.name + "|" + item.type.value_or("(absent)") + "|" + item.scope.value_or("(absent)");
    if constexpr (std::is_same_v<Item, xbattribute>)
        for (const std::string& v : item.value_list)
            out += "[" + v + "]";
    return out;
}

} // namespace

TEST(AttributeConverter, QualifiedNamesMarkOnlyWhatIsSetAndReadTheScopeOnlyWithAType)
{
    xbqualified_name out;
    AttributeConverter::toXB(out, A::createQualifiedName("n", "Integer", "s"));
    EXPECT_EQ(describe(out), "n|Integer|s");
    // Reusing the target: fields the new name lacks become absent.
    AttributeConverter::toXB(out, A::parseQualifiedName("<attribute-id name=\"m\" format=\"\"/>"));
    EXPECT_EQ(describe(out), "m|(absent)|(absent)");
    EXPECT_EQ(describe(*std::unique_ptr<xbqualified_name>(AttributeConverter::toXB(A::createQualifiedName("k", "", "")))),
              "k|String|(absent)");
    EXPECT_TRUE(attrtest::throwsNullPointer([] { AttributeConverter::toXB(SmartPointer<IQualifiedName>()); }));

    xbqualified_name in;
    in.name = "n";
    in.scope = "s";
    SmartPointer<IQualifiedName> name = AttributeConverter::toMOX(in);
    EXPECT_EQ(name->getFormat() + "|" + name->getScope(), "String|");
    in.type = "Double";
    name = AttributeConverter::toMOX(in);
    EXPECT_EQ(name->getFormat() + "|" + name->getScope(), "Double|s");
    xbattribute item;
    EXPECT_TRUE(attrtest::throwsInvalidArguments([&] { AttributeConverter::toId(item); },
                                                 "MOX::Attributes::createQualifiedName"));
}

TEST(AttributeConverter, AttributesAndListsAppendInOrder)
{
    const SmartPointer<IAttribute> a = attr("a", {"1", "2"}, "Integer", "s");
    const std::unique_ptr<xbattribute> item(AttributeConverter::toXB(a));
    EXPECT_EQ(describe(*item), "a|Integer|s[1][2]");
    EXPECT_TRUE(AttributeConverter::toMOX(*item) == a);
    // The qualified-name form of toXB leaves the values alone.
    AttributeConverter::toXB(*item, A::createQualifiedName("b", "", ""));
    EXPECT_EQ(describe(*item), "b|String|(absent)[1][2]");

    xbattributes doc;
    doc.list.emplace_back();
    doc.list.back().name = "first";
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

    const std::unique_ptr<xbattributes> whole(AttributeConverter::toXB(AttributeList{a}));
    EXPECT_TRUE(A::equals(AttributeConverter::toMOX(*whole), AttributeList{a}));
    EXPECT_TRUE(attrtest::throwsNullPointer([] { AttributeConverter::toXB(AttributeList{SmartPointer<IAttribute>()}); }));
}
