// AttributeConverter: the qualified-name rule both ways, attributes and lists, the
// appending forms, and streaming reads and writes that give what the converter gives.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <mox/attr/Attributes.h>
#include <mox/xb/AttributeConverter.h>
#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBinderManager.h>

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
using attrtest::Values;
namespace A = MOX::Attributes;

namespace {

// This test unit's codec manager (kept for the process, as the library keeps its own).
MOX::XB::XBinderManager& codecManager()
{
    static std::atomic<MOX::XB::XBinderManager*> slot{nullptr};
    return MOX::XB::XBinderManager::instance(slot);
}

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

TEST(AttributeConverter, StreamingReadAndWriteGiveWhatTheWholeDocumentGives)
{
    const AttributeList list{attr("a", {"1", "x<y"}), attr("b", {}, "Integer", "s"), attr("c", {"", "z"}),
                             A::createAttribute(A::parseQualifiedName("<attribute-id name=\"d\" format=\"\"/>"))};
    MOX::XB::XBinderManager& manager = codecManager();
    const std::unique_ptr<xbattributes> whole(AttributeConverter::toXB(list));
    MOX::XB::EncodeBuffer wholeBuffer;
    MOX::XB::attributes_CC wholeElement(*whole);
    const std::string text = manager.encode(wholeElement, wholeBuffer);
    EXPECT_EQ(A::marshal(list), text);

    // Items asked for one by one, in order, each filled into the same reused object: a
    // field left over from the previous item would show in the text.
    struct Source {
        const AttributeList& list;
        std::vector<std::size_t> asked;
    } source{list, {}};
    MOX::XB::xbattributes_writer writer(
        list.size(),
        [](const void* context, std::size_t index, xbattribute& item) {
            auto& self = *static_cast<Source*>(const_cast<void*>(context));
            self.asked.push_back(index);
            AttributeConverter::toXB(item, self.list[index]->getQualifiedName());
            item.value_list = self.list[index]->getValues();
        },
        &source);
    MOX::XB::EncodeBuffer buffer;
    MOX::XB::attributes_CC element(writer);
    EXPECT_EQ(manager.encode(element, buffer), text);
    EXPECT_EQ(source.asked, (std::vector<std::size_t>{0, 1, 2, 3}));
    // An exception of the fill ends the encode and reaches the caller.
    EXPECT_TRUE(attrtest::throwsNullPointer([] { A::marshal(AttributeList{attr("a"), SmartPointer<IAttribute>()}); }));

    // Read item by item, each copied out by the sink; the last one waits for finish.
    std::vector<std::string> seen;
    MOX::XB::xbattributes_reader reader(
        [](void* context, xbattribute& item) noexcept { static_cast<std::vector<std::string>*>(context)->push_back(describe(item)); },
        &seen);
    MOX::XB::DecodeBuffer readBuffer = manager.makeDecodeBuffer(text);
    MOX::XB::attributes_CC readElement(reader);
    manager.decode(readElement, readBuffer);
    EXPECT_EQ(reader.count(), 3u);
    reader.finish();
    reader.finish();
    ASSERT_EQ(reader.count(), 4u);
    std::vector<std::string> expected;
    for (const xbattribute& item : whole->list)
        expected.push_back(describe(item));
    EXPECT_EQ(seen, expected);
}
