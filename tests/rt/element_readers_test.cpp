// SPDX-License-Identifier: MIT
// Every element reader reads its input as the documents are read: the same byte-order
// mark and declaration rules, and the same limits.
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include <dlfcn.h>
#include <expat.h>

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

namespace {

// expat looks this variable up each time it draws a hash salt of its own.
std::atomic<int> g_saltDraws{0};

} // namespace

// Counts expat's salt draws; everything else goes to the C library's lookup.
extern "C" __attribute__((visibility("default"))) char* getenv(const char* name) noexcept
{
    using Lookup = char* (*)(const char*);
    static const auto next = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getenv"));
    if (std::strcmp(name, "EXPAT_ENTROPY_DEBUG") == 0)
        ++g_saltDraws;
    return next(name);
}

TEST(ElementReaders, DrawNoHashSaltPerDocument)
{
    // The count sees expat's own draws: a bare parser makes one.
    g_saltDraws = 0;
    XML_Parser bare = XML_ParserCreate(nullptr);
    XML_Parse(bare, "<a/>", 4, XML_TRUE);
    XML_ParserFree(bare);
    ASSERT_GT(g_saltDraws.load(), 0);

    g_saltDraws = 0;
    std::thread reader([] {
        const std::string text = MOX::Attributes::marshal(MOX::Attributes::createAttribute("a", "x"));
        for (int i = 0; i < 3; ++i)
            MOX::Attributes::parseAttribute(text);
    });
    reader.join();
    EXPECT_EQ(g_saltDraws.load(), 0);
}
