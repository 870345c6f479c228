// AttributeConverter: the qualified-name rule both ways, attributes and lists, the
// appending forms, and a streaming read that gives what the converter gives.
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
namespace A = MOX::Attributes;
using Values = std::vector<std::string>;

namespace {

// This test unit's codec manager (kept for the process, as the library keeps its own).
MOX::XB::XBinderManager& codecManager()
{
    static std::atomic<MOX::XB::XBinderManager*> slot{nullptr};
    return MOX::XB::XBinderManager::instance(slot);
}

} // namespace

TEST(AttributeConverter, QualifiedNameToDocumentMarksOnlyWhatIsSet)
{
    xbqualified_name out;
    AttributeConverter::toXB(out, A::createQualifiedName("n", "Integer", "s"));
    EXPECT_EQ(out.name, "n");
    EXPECT_EQ(out.type.value_or("(absent)"), "Integer");
    EXPECT_EQ(out.scope.value_or("(absent)"), "s");

    // Reusing the target: fields the new name lacks become absent.
    AttributeConverter::toXB(out, A::parseQualifiedName("<attribute-id name=\"m\" format=\"\"/>"));
    EXPECT_EQ(out.name, "m");
    EXPECT_FALSE(out.type.has_value());
    EXPECT_FALSE(out.scope.has_value());

    const std::unique_ptr<xbqualified_name> made(AttributeConverter::toXB(A::createQualifiedName("k", "", "")));
    EXPECT_EQ(made->type.value_or("(absent)"), "String");
    EXPECT_FALSE(made->scope.has_value());

    EXPECT_TRUE(attrtest::throwsNullPointer([] { AttributeConverter::toXB(SmartPointer<IQualifiedName>()); }));
}

TEST(AttributeConverter, DocumentToQualifiedNameReadsScopeOnlyWithType)
{
    xbqualified_name in;
    in.name = "n";
    in.scope = "s";
    SmartPointer<IQualifiedName> name = AttributeConverter::toMOX(in);
    EXPECT_EQ(name->getFormat(), "String");
    EXPECT_EQ(name->getScope(), "");
    in.type = "Double";
    name = AttributeConverter::toMOX(in);
    EXPECT_EQ(name->getFormat(), "Double");
    EXPECT_EQ(name->getScope(), "s");

    xbattribute item;
    item.name = "";
    EXPECT_TRUE(attrtest::throwsInvalidArguments([&] { AttributeConverter::toId(item); },
                                                 "MOX::Attributes::createQualifiedName"));
}

TEST(AttributeConverter, AttributesAndListsAppendInOrder)
{
    const SmartPointer<IAttribute> a = attr("a", {"1", "2"}, "Integer", "s");
    const std::unique_ptr<xbattribute> item(AttributeConverter::toXB(a));
    EXPECT_EQ(item->name, "a");
    EXPECT_EQ(item->value_list, (Values{"1", "2"}));
    EXPECT_TRUE(AttributeConverter::toMOX(*item) == a);

    // The qualified-name form of toXB leaves the values alone.
    AttributeConverter::toXB(*item, A::createQualifiedName("b", "", ""));
    EXPECT_EQ(item->name, "b");
    EXPECT_EQ(item->value_list, (Values{"1", "2"}));

    xbattributes doc;
    doc.list.emplace_back();
    doc.list.back().name = "first";
    AttributeConverter::toXB(doc, AttributeList{a, attr("c")});
    ASSERT_EQ(doc.list.size(), 3u);
    EXPECT_EQ(doc.list[1].name, "a");
    EXPECT_EQ(doc.list[2].name, "c");

    // Reading appends too; a failing item leaves what came before it.
    AttributeList out{attr("kept")};
    doc.list.emplace_back(); // empty name
    doc.list.emplace_back();
    doc.list.back().name = "after";
    EXPECT_TRUE(attrtest::throwsInvalidArguments([&] { AttributeConverter::toMOX(out, doc); },
                                                 "MOX::Attributes::createQualifiedName"));
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0]->getName(), "kept");
    EXPECT_EQ(out[3]->getName(), "c");

    const std::unique_ptr<xbattributes> whole(AttributeConverter::toXB(AttributeList{a}));
    EXPECT_TRUE(A::equals(AttributeConverter::toMOX(*whole), AttributeList{a}));
    EXPECT_TRUE(attrtest::throwsNullPointer([] { AttributeConverter::toXB(AttributeList{SmartPointer<IAttribute>()}); }));
}

TEST(AttributeConverter, StreamingReadGivesWhatDecodingTheWholeDocumentGives)
{
    const AttributeList list{attr("a", {"1", "2"}), attr("b", {}, "Integer", "s"), attr("c", {"", "x"})};
    const std::string text = A::marshal(list);

    // Whole document, then converted.
    MOX::XB::XBinderManager& manager = codecManager();
    xbattributes whole;
    MOX::XB::DecodeBuffer wholeBuffer = manager.makeDecodeBuffer(text);
    MOX::XB::attributes_CC wholeElement(whole);
    manager.decode(wholeElement, wholeBuffer);
    ASSERT_EQ(whole.list.size(), 3u);

    // Item by item, each copied out by the sink.
    struct Seen {
        std::vector<std::string> names;
        std::vector<Values> values;
    } seen;
    MOX::XB::xbattributes_reader reader(
        [](void* context, xbattribute& item) noexcept {
            static_cast<Seen*>(context)->names.push_back(item.name + "|" + item.type.value_or("-") + "|" +
                                                         item.scope.value_or("-"));
            static_cast<Seen*>(context)->values.push_back(item.value_list);
        },
        &seen);
    MOX::XB::DecodeBuffer buffer = manager.makeDecodeBuffer(text);
    MOX::XB::attributes_CC element(reader);
    manager.decode(element, buffer);
    EXPECT_EQ(reader.count(), 2u); // the last one waits for finish
    reader.finish();
    reader.finish();
    ASSERT_EQ(reader.count(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const xbattribute& expected = whole.list[i];
        EXPECT_EQ(seen.names[i], expected.name + "|" + expected.type.value_or("-") + "|" + expected.scope.value_or("-"));
        EXPECT_EQ(seen.values[i], expected.value_list);
    }
}

TEST(AttributeConverter, StreamingWriteGivesWhatWritingTheWholeDocumentGives)
{
    const AttributeList list{attr("a", {"1", "x<y"}), attr("b", {}, "Integer", "s"), attr("c", {"", "z"}),
                             A::createAttribute(A::parseQualifiedName("<attribute-id name=\"d\" format=\"\"/>"))};
    MOX::XB::XBinderManager& manager = codecManager();

    const std::unique_ptr<xbattributes> whole(AttributeConverter::toXB(list));
    MOX::XB::EncodeBuffer wholeBuffer;
    MOX::XB::attributes_CC wholeElement(*whole);
    const std::string expected = manager.encode(wholeElement, wholeBuffer);

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
    EXPECT_EQ(manager.encode(element, buffer), expected);
    EXPECT_EQ(source.asked, (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(A::marshal(list), expected);

    // An exception of the fill ends the encode and reaches the caller.
    EXPECT_TRUE(attrtest::throwsNullPointer([] { A::marshal(AttributeList{attr("a"), SmartPointer<IAttribute>()}); }));
}
