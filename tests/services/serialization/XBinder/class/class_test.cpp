// SPDX-License-Identifier: MIT
// The class-id schema types: ClassIdConverter (version presence rules, the loader that
// is never carried, the create functions' checks on the way back, loader ids), and the
// types inside an enclosing document: how they are written and read back, and the
// attributes they declare.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include <mox/class/IClassId.h>
#include <mox/class/IInterfaceId.h>
#include <mox/rt/Exceptions.h>
#include <mox/xb/ClassIdConverter.h>
#include <mox/xb/ClassSchema.h>
#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/DocumentElement.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBObject.h>

#include "MoxTestSupport.h"
#include "services/serialization/manager/XBTypeBuilder.h"

using MOX::CLASS::IClassId;
using MOX::CLASS::XB::ClassIdConverter;
using MOX::RT::SmartPointer;
using namespace MOX::XB;
using Params = std::vector<std::string>;

namespace {

// A document that embeds the three types, as another component's document would (no
// document of the library has them as root):
//   <component>
//     <implementation class="Printer" version="2" loader="Boot"/>   xbclass_id, at most one
//     <provides class="IPrint" version="3"/>                        xbinterface_id, any number
//     <provider loader="Boot"/>                                     xbloader_id, at most one
//   </component>
struct xbcomponent : XBObject {
    MOX_XB_DOCUMENT_TYPE()
    std::unique_ptr<xbclass_id> implementation;
    std::vector<xbinterface_id> provides;
    std::unique_ptr<xbloader_id> provider;
};

struct component_CC : DocumentElement {
    explicit component_CC(xbcomponent& top) : DocumentElement("component", top) {}
};

std::string encode(xbcomponent& doc)
{
    EncodeBuffer buffer;
    component_CC element(doc);
    EXPECT_EQ(element.encode(buffer), 0);
    return buffer.text();
}

int decode(const std::string& text, xbcomponent& doc, ErrorRecord* errors = nullptr)
{
    DecodeBuffer buffer(text);
    component_CC element(doc);
    const int status = element.decode(buffer);
    if (errors)
        *errors = buffer.errors();
    return status;
}

template <class Doc>
Doc idDoc(const char* name, std::optional<int> version)
{
    Doc doc;
    doc.class_ = name;
    doc.version = version;
    return doc;
}

} // namespace

const XBType& xbcomponent::schema()
{
    static const XBType type = XBTypeBuilder<xbcomponent>::sequence("xbcomponent")
                                   .element<&xbcomponent::implementation>("implementation")
                                   .list<&xbcomponent::provides>("provides")
                                   .element<&xbcomponent::provider>("provider");
    return type;
}

TEST(ClassIdConverter, VersionIsPresentOnlyAboveOne)
{
    for (int version : {1, 2}) {
        xbclass_id cls;
        xbinterface_id itf;
        cls.version = itf.version = 77; // a stale value must not survive
        ClassIdConverter::toXB(cls, MOX::createClassId("C", version));
        ClassIdConverter::toXB(itf, MOX::createInterfaceId("I", version));
        const int written = version > 1 ? version : -1; // -1: left out (names: the new objects' test)
        EXPECT_EQ(cls.version.value_or(-1), written) << version;
        EXPECT_EQ(itf.version.value_or(-1), written) << version;
        EXPECT_TRUE(ClassIdConverter::toMOX(cls) == MOX::createClassId("C", version)) << version;
        EXPECT_EQ(ClassIdConverter::toMOX(itf)->toString(), MOX::createInterfaceId("I", version)->toString());
    }
    EXPECT_EQ(ClassIdConverter::toMOX(idDoc<xbclass_id>("C", 0))->getVersion(), 0); // taken as it stands, even 0
}

TEST(ClassIdConverter, LoaderOfAClassIdIsNeitherWrittenNorRead)
{
    xbclass_id preset;
    preset.loader = "Kept";
    ClassIdConverter::toXB(preset, MOX::parseClassId("<class-id class='C' version='2' loader='Boot'/>"));
    EXPECT_EQ(preset.loader, "Kept");
    EXPECT_EQ(MOX::getClassIdLoader(ClassIdConverter::toMOX(preset)), ""); // a document's loader is dropped
}

TEST(ClassIdConverter, ConversionsCheckTheirArguments)
{
    using MOX::EXCEPTIONS::InvalidArgumentException;
    xbclass_id untouched = idDoc<xbclass_id>("Before", std::nullopt);
    EXPECT_THROW(ClassIdConverter::toXB(untouched, SmartPointer<IClassId>()), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_EQ(untouched.class_, "Before");
    EXPECT_TRUE(moxtest::throwsMox<InvalidArgumentException>(
        [] { ClassIdConverter::toMOX(idDoc<xbclass_id>("", std::nullopt)); }, -1006, "MOX::createClassId"));
    EXPECT_TRUE(moxtest::throwsMox<InvalidArgumentException>(
        [] { ClassIdConverter::toMOX(idDoc<xbinterface_id>("I", -3)); }, -1006, "MOX::createInterfaceId"));
}

TEST(ClassIdConverter, LoaderTravelsByNameOnly)
{
    xbloader_id doc;
    ClassIdConverter::toXB(doc, MOX::LoaderId("Boot", "/opt/boot.so"));
    MOX::LoaderId target("Old", "/keep/me.so");
    ClassIdConverter::toMOX(target, doc);
    EXPECT_EQ(target.getName() + "|" + target.getFile(), "Boot|/keep/me.so");
    EXPECT_EQ(ClassIdConverter::toMOX(doc).getFile(), "");
    EXPECT_TRUE(ClassIdConverter::toMOX(xbloader_id()).isEmpty()); // never filled: an empty loader
}

TEST(ClassDocument, WritesAttributesReadInAnyOrderInSchemaOrderOnlyWhenPresent)
{
    xbcomponent doc;
    ASSERT_EQ(decode("<component><implementation loader='Boot' version='2' class='Printer'/><provides class='IPrint'/>"
                     "<provides version='-4' class='IScan&lt;&amp;>'/><provider loader='Boot \"2\"'/></component>", doc), 0);
    EXPECT_EQ(encode(doc), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<component><implementation class=\"Printer\" version=\"2\" "
                    "loader=\"Boot\"/><provides class=\"IPrint\"/><provides class=\"IScan&lt;&amp;&gt;\" version=\"-4\"/>"
                    "<provider loader=\"Boot &quot;2&quot;\"/></component>");
}

// The codec's failure table covers the reading rules; these are what the class-id types
// declare: an interface id carries no loader, a class id needs its class.
TEST(ClassDocument, ReadingFollowsTheDeclaredAttributes)
{
    const std::tuple<std::string, int, Params> rows[] = {
        {"<provides class='I' loader='L'/>", XB_INVALID_ATTRIBUTE, {"xbinterface_id", "loader"}},
        {"<implementation version='2'/>", XB_MISSING_ATTRIBUTE, {"xbclass_id", "class"}}};
    for (const auto& [body, status, parameters] : rows) {
        xbcomponent doc;
        ErrorRecord errors;
        EXPECT_EQ(decode("<component>" + body + "</component>", doc, &errors), status) << body;
        EXPECT_EQ(errors.parameters(), parameters) << body;
    }
}

TEST(ClassIdConverter, NewDocumentObjectsHoldWhatTheFillingFormsWrite)
{
    const std::unique_ptr<xbclass_id> cls(ClassIdConverter::toXB(MOX::createClassId("C", 2)));
    const std::unique_ptr<xbinterface_id> itf(ClassIdConverter::toXB(MOX::createInterfaceId("I", 1)));
    const std::unique_ptr<xbloader_id> loader(ClassIdConverter::toXB(MOX::LoaderId("Boot", "/opt/boot.so")));
    EXPECT_EQ(*cls->class_ + std::to_string(cls->version.value_or(-1)) + *itf->class_ +
                  std::to_string(itf->version.value_or(-1)) + *loader->loader,
              "C2I-1Boot");
    EXPECT_FALSE(cls->loader);
}
