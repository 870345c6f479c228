// SPDX-License-Identifier: MIT
// Every element reader reads its input as the documents are read: the same byte-order
// mark and declaration rules, and the same limits.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include <mox/mox.h>

namespace {

using Reader = std::function<std::string(const std::string&)>;

// What a reader makes of `text`: its value as text, or the code it raised.
std::string readWith(const Reader& read, const std::string& text)
{
    try {
        return read(text);
    } catch (const MOX::EXCEPTIONS::MoxException& e) {
        return std::to_string(e.getCode());
    }
}

std::string nested(const std::string& inner, int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<w>";
    text += inner;
    for (int i = 0; i < depth; ++i)
        text += "</w>";
    return text;
}

} // namespace

TEST(ElementReaders, ReadTheirInputAsTheDocumentsDo)
{
    using namespace MOX;
    const std::string product = createProductId("p", "c", "2")->marshal();
    const struct { const char* name; std::string element; Reader read; } readers[] = {
        {"XmlUtils", "<v a=\"1\">x</v>", [](const std::string& t) { return RT::XmlUtils::GetElementValue("v", t); }},
        {"product", product, [](const std::string& t) { return parseProductId(t)->toString(); }},
        {"application", createApplicationId(parseProductId(product), "app")->toString(),
         [](const std::string& t) { return parseApplicationId(t)->toString(); }},
        {"class", marshalClassId(createClassId("k", 3)), [](const std::string& t) { return parseClassId(t)->getName(); }},
        {"interface", createInterfaceId("i", 2)->toString(), [](const std::string& t) { return parseInterfaceId(t)->getName(); }},
        {"loader", LoaderId("n", "f").marshal(), [](const std::string& t) { LoaderId l; l.unmarshal(t); return l.getFile(); }},
        {"qualified name", Attributes::createQualifiedName("q", "F", "s")->marshal(),
         [](const std::string& t) { return Attributes::parseQualifiedName(t)->getScope(); }},
        {"properties", "<PROPERTY name=\"k\" value=\"v\"/>",
         [](const std::string& t) { RT::PropertiesImpl p; p.unmarshal(t); return p.getProperty("k", "?"); }},
        {"attribute", Attributes::marshal(Attributes::createAttribute("a", "x")),
         [](const std::string& t) { return Attributes::parseAttribute(t)->getQualifiedName()->getName(); }},
    };
    const std::string bom = "\xEF\xBB\xBF";
    const std::string longText(16u * 1024u * 1024u + 1, 't');
    for (const auto& r : readers) {
        SCOPED_TRACE(r.name);
        const std::string value = readWith(r.read, r.element);
        ASSERT_NE(value.substr(0, 2), "-1") << r.element;
        const struct { std::string text; std::string expected; } cases[] = {
            {bom + r.element, value},
            {"<?xml version=\"1.0\" encoding=\"utf-8\"?>" + r.element, value},
            {bom + bom + r.element, "-1056"},
            {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + r.element, "-1056"},
            {"<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + r.element, "-1056"},
            {" <?xml version=\"1.0\"?>" + r.element, "-1056"},
            {nested(r.element, 300), "-1056"},
            {"<w>" + longText + "</w>" + r.element, "-1056"},
        };
        for (const auto& c : cases)
            EXPECT_EQ(readWith(r.read, c.text), c.expected) << c.text.substr(0, 80);
    }
}
