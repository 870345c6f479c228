// The class-id schema types inside an enclosing document: how they are written, and
// every reading rule (-33, -41, -45, missing required attribute).
#include <gtest/gtest.h>

#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/ErrorRecord.h>

#include "services/serialization/XBinder/class/ComponentDocument.h"

using namespace MOX::XB;
using classdoc::xbcomponent;
using Params = std::vector<std::string>;

namespace {

int decodeRaw(const std::string& text, xbcomponent& doc, ErrorRecord* errors = nullptr)
{
    DecodeBuffer buffer(text);
    classdoc::component_CC element(doc);
    const int status = element.decode(buffer);
    if (errors)
        *errors = buffer.errors();
    return status;
}

} // namespace

TEST(ClassDocument, WritesAttributesInSchemaOrderOnlyWhenPresent)
{
    xbcomponent doc;
    doc.implementation.reset(new xbclass_id());
    doc.implementation->loader = "Boot";
    doc.implementation->version = 2;
    doc.implementation->class_ = "Printer";
    doc.provides.resize(2);
    doc.provides[0].class_ = "IPrint";
    doc.provides[1].class_ = "IScan<&>";
    doc.provides[1].version = -4;
    doc.provider.reset(new xbloader_id());
    doc.provider->loader = "Boot \"2\"";
    EXPECT_EQ(classdoc::encode(doc),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<component><implementation class=\"Printer\" version=\"2\" "
              "loader=\"Boot\"/><provides class=\"IPrint\"/><provides class=\"IScan&lt;&amp;&gt;\" version=\"-4\"/>"
              "<provider loader=\"Boot &quot;2&quot;\"/></component>");
}

TEST(ClassDocument, AcceptsSchemaAndNamespaceAttributesPrefixesAndText)
{
    xbcomponent doc;
    ErrorRecord errors;
    ASSERT_EQ(decodeRaw("<c:component xmlns:c='urn:c' xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'>"
                        "<c:implementation xsi:type='c:x' class='K' loader='L'> text </c:implementation>"
                        "<provides xmlns='urn:d' class='I' version=' 5 '/><provider xsi:nil='false' loader='L'/>"
                        "</c:component>",
                        doc, &errors),
              0)
        << errors.info();
    EXPECT_EQ(doc.implementation->class_, "K");
    EXPECT_EQ(doc.implementation->loader, "L");
    EXPECT_FALSE(doc.implementation->version.has_value());
    EXPECT_EQ(doc.provides.at(0).version, 5);
    EXPECT_EQ(doc.provider->loader, "L");
}

TEST(ClassDocument, RecordsEveryReadingErrorWithTypeAndAttribute)
{
    const std::tuple<std::string, int, Params> rows[] = {
        {"<provides class='I' loader='L'/>", XB_INVALID_ATTRIBUTE, {"xbinterface_id", "loader"}},
        {"<provider loader='L' class='C'/>", XB_INVALID_ATTRIBUTE, {"xbloader_id", "class"}},
        {"<implementation class='K' version='two'/>", XB_INVALID_VALUE, {"xbclass_id", "version"}},
        {"<provides class='I' version=''/>", XB_INVALID_VALUE, {"xbinterface_id", "version"}},
        {"<implementation version='2'/>", XB_MISSING_ATTRIBUTE, {"xbclass_id", "class"}},
        {"<provider/>", XB_MISSING_ATTRIBUTE, {"xbloader_id", "loader"}},
        {"<implementation class='K'><x:child xmlns:x='u'/></implementation>", XB_UNEXPECTED_ELEMENT, {"x:child"}},
    };
    for (const auto& [body, status, parameters] : rows) {
        xbcomponent doc;
        ErrorRecord errors;
        EXPECT_EQ(decodeRaw("<component>" + body + "</component>", doc, &errors), status) << body;
        EXPECT_EQ(errors.parameters(), parameters) << body;
        EXPECT_EQ(errors.count(), 1u) << body << ": " << errors.info();
    }
}
