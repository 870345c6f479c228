// The class-id schema types inside an enclosing document: how they are written, and
// every reading rule (-33, -41, -45, missing required attribute), also through the
// codec manager's exception.
#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/ErrorRecord.h>

#include "services/serialization/XBinder/class/ComponentDocument.h"

using namespace MOX::XB;
using classdoc::xbcomponent;
using Params = std::vector<std::string>;

namespace {

struct Decoded {
    int status = 0;
    ErrorRecord errors;
};

Decoded decodeRaw(const std::string& text, xbcomponent& doc)
{
    DecodeBuffer buffer(text);
    classdoc::component_CC element(doc);
    Decoded d;
    d.status = element.decode(buffer);
    d.errors = buffer.errors();
    return d;
}

std::string attr(const std::string& element, const std::string& name)
{
    return MOX::RT::XmlUtils::GetAttributeValue(name, element, "(absent)");
}

} // namespace

TEST(ClassDocument, WritesAttributesInSchemaOrderOnlyWhenPresent)
{
    xbcomponent doc;
    doc.implementation.reset(new xbclass_id());
    doc.implementation->loader = "Boot";
    doc.implementation->version = 2;
    doc.implementation->class_ = "Printer";
    doc.provides.emplace_back();
    doc.provides.back().class_ = "IPrint";
    doc.provides.emplace_back();
    doc.provides.back().class_ = "IScan<&>";
    doc.provides.back().version = -4;
    doc.provider.reset(new xbloader_id());
    doc.provider->loader = "Boot \"2\"";
    const std::string text = classdoc::encode(doc);

    EXPECT_NE(text.find("<implementation class=\"Printer\" version=\"2\" loader=\"Boot\"/>"), std::string::npos)
        << text;
    const MOX::Vector<std::string> provides = MOX::RT::XmlUtils::getElements("provides", text);
    ASSERT_EQ(provides.size(), 2u) << text;
    EXPECT_EQ(attr(provides[0], "class"), "IPrint");
    EXPECT_EQ(attr(provides[0], "version"), "(absent)");
    EXPECT_EQ(attr(provides[1], "class"), "IScan<&>");
    EXPECT_EQ(attr(provides[1], "version"), "-4");
    const std::string provider = MOX::RT::XmlUtils::GetElement("provider", text);
    EXPECT_EQ(attr(provider, "loader"), "Boot \"2\"");
    // Each type is an empty element.
    EXPECT_EQ(text.find("</implementation>"), std::string::npos);
    EXPECT_EQ(text.find("</provider>"), std::string::npos);

    // Without an element name a type writes nothing.
    EncodeBuffer buffer;
    EXPECT_EQ(buffer.writeElement("", *doc.implementation), 0);
    EXPECT_EQ(buffer.writeElement("", doc.provides[0]), 0);
    EXPECT_EQ(buffer.writeElement("", *doc.provider), 0);
    EXPECT_EQ(buffer.text(), "");
}

TEST(ClassDocument, AcceptsSchemaAndNamespaceAttributesAndPrefixes)
{
    xbcomponent doc;
    const Decoded d = decodeRaw("<c:component xmlns:c='urn:c' xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'>"
                                "<c:implementation xsi:type='c:x' class='K' loader='L'/>"
                                "<provides xmlns='urn:d' class='I' version=' 5 '/>"
                                "<provider xsi:nil='false' loader='L'/>"
                                "</c:component>",
                                doc);
    ASSERT_EQ(d.status, 0) << d.errors.info();
    EXPECT_EQ(doc.implementation->class_, "K");
    EXPECT_EQ(doc.implementation->loader, "L");
    EXPECT_FALSE(doc.implementation->version.has_value());
    EXPECT_EQ(doc.provides.at(0).version, 5);
    EXPECT_EQ(doc.provider->loader, "L");
}

TEST(ClassDocument, RecordsEveryReadingErrorWithTypeAndAttribute)
{
    struct Case {
        std::string body;
        int status;
        Params parameters;
    };
    const Case cases[] = {
        {"<implementation class='K' name='x'/>", XB_INVALID_ATTRIBUTE, {"xbclass_id", "name"}},
        {"<provides class='I' name='x'/>", XB_INVALID_ATTRIBUTE, {"xbinterface_id", "name"}},
        {"<provides class='I' loader='L'/>", XB_INVALID_ATTRIBUTE, {"xbinterface_id", "loader"}},
        {"<provider loader='L' name='x'/>", XB_INVALID_ATTRIBUTE, {"xbloader_id", "name"}},
        {"<provider loader='L' class='C'/>", XB_INVALID_ATTRIBUTE, {"xbloader_id", "class"}},
        {"<implementation class='K' version='two'/>", XB_INVALID_VALUE, {"xbclass_id", "version"}},
        {"<implementation class='K' version='2147483648'/>", XB_INVALID_VALUE, {"xbclass_id", "version"}},
        {"<provides class='I' version=''/>", XB_INVALID_VALUE, {"xbinterface_id", "version"}},
        {"<provides class='I' version='1.0'/>", XB_INVALID_VALUE, {"xbinterface_id", "version"}},
        {"<implementation version='2'/>", XB_MISSING_ATTRIBUTE, {"xbclass_id", "class"}},
        {"<provides version='2'/>", XB_MISSING_ATTRIBUTE, {"xbinterface_id", "class"}},
        {"<provider/>", XB_MISSING_ATTRIBUTE, {"xbloader_id", "loader"}},
        {"<implementation class='K'><x:child xmlns:x='u'/></implementation>", XB_UNEXPECTED_ELEMENT, {"x:child"}},
        {"<provides class='I'><provides class='J'/></provides>", XB_UNEXPECTED_ELEMENT, {"provides"}},
        {"<provider loader='L'><loader/></provider>", XB_UNEXPECTED_ELEMENT, {"loader"}},
    };
    for (const Case& c : cases) {
        xbcomponent doc;
        const Decoded d = decodeRaw("<component>" + c.body + "</component>", doc);
        EXPECT_EQ(d.status, c.status) << c.body << ": " << d.errors.info();
        EXPECT_EQ(d.errors.parameters(), c.parameters) << c.body;
        EXPECT_EQ(d.errors.count(), 1u) << c.body << ": " << d.errors.info();

        // Through the manager the same decode raises -1056 with the error in its detail.
        xbcomponent again;
        try {
            classdoc::decode("<component>" + c.body + "</component>", again);
            ADD_FAILURE() << "decoded: " << c.body;
        } catch (const MOX::EXCEPTIONS::SerializationException& e) {
            EXPECT_EQ(e.getCode(), -1056);
            EXPECT_EQ(e.getDetail().rfind("Decoding failed - info: \"", 0), 0u) << e.getDetail();
            EXPECT_NE(e.getDetail().find(std::to_string(c.status)), std::string::npos) << e.getDetail();
            EXPECT_NE(e.getDetail().find(c.parameters.back()), std::string::npos) << e.getDetail();
        }
    }
    // Text content is not a child: it is ignored.
    xbcomponent doc;
    EXPECT_EQ(decodeRaw("<component><implementation class='K'> text </implementation></component>", doc).status, 0);
}
