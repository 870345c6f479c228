// The generic writer: shapes, attribute order, absent fields, escaping, choices.
#include <gtest/gtest.h>

#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/EncodeBuffer.h>

#include "services/serialization/manager/TestSchema.h"

using namespace MOX::XB;
using namespace xbtest;
using Params = std::vector<std::string>;

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// Encodes `doc`; the status goes to `status`, the buffer's parameters to `params`.
std::string encodeDoc(tdoc& doc, int* status = nullptr, Params* params = nullptr)
{
    EncodeBuffer buffer;
    doc_CC element(doc);
    const int result = element.encode(buffer);
    if (status)
        *status = result;
    if (params)
        *params = buffer.errors().parameters();
    return buffer.text();
}

tdoc decodeDoc(const std::string& text)
{
    tdoc doc;
    doc_CC element(doc);
    DecodeBuffer buffer(text);
    EXPECT_EQ(element.decode(buffer), 0) << buffer.errorInfo();
    return doc;
}

tchoice itemChoice(std::string id, std::optional<std::int32_t> size = {}, std::optional<std::string> flag = {})
{
    tchoice c;
    auto item = std::make_unique<titem>();
    item->id = std::move(id);
    item->size = size;
    item->flag = std::move(flag);
    c.set(1, std::move(item));
    return c;
}

tchoice noteChoice(std::optional<std::string> text, std::optional<std::string> lang = {})
{
    tchoice c;
    auto note = std::make_unique<tnote>();
    note->text = std::move(text);
    note->lang = std::move(lang);
    c.set(2, std::move(note));
    return c;
}

} // namespace

TEST(CodecWriter, WritesEachShapeWithAttributesInSchemaOrderAndAbsentFieldsLeftOut)
{
    tdoc empty;
    EXPECT_EQ(encodeDoc(empty), kDeclaration + "<doc></doc>"); // empty containers stay open-close

    tdoc doc;
    doc.entries.push_back(itemChoice("a", -12, std::string("f")));
    doc.entries.push_back(noteChoice(std::string("hello")));
    doc.entries.push_back(itemChoice(""));           // required plain string: written even when empty
    doc.entries.push_back(noteChoice(std::nullopt)); // absent text: the element keeps the text shape
    tbox box;
    box.name = "b";
    box.values = {"v1", "", "v3"};
    box.items.push_back(std::make_unique<titem>());
    box.items.back()->id = "i";
    box.items.push_back(nullptr); // a null entry of an owning list is skipped, not dereferenced
    doc.boxes.push_back(std::move(box));
    doc.pick = std::make_unique<tchoice>(noteChoice(std::string("p")));
    int status = 1;
    EXPECT_EQ(encodeDoc(doc, &status),
              kDeclaration + "<doc><item id=\"a\" size=\"-12\" flag=\"f\"/><note>hello</note><item id=\"\"/>"
                             "<note></note><box name=\"b\"><value>v1</value><value></value><value>v3</value>"
                             "<item id=\"i\"/></box><pick><note>p</note></pick></doc>");
    EXPECT_EQ(status, 0);
}

TEST(CodecWriter, EscapesMarkupAndKeepsEveryCharacterThroughARoundTrip)
{
    const std::string nasty = "  a&b<c>d\"e'f\tg\nh\ri  ";
    const std::string accents = "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"; // written as it is
    tdoc doc;
    doc.entries.push_back(noteChoice(nasty, nasty));
    doc.entries.push_back(noteChoice(accents, accents));
    const std::string text = encodeDoc(doc);
    EXPECT_NE(text.find("lang=\"  a&amp;b&lt;c&gt;d&quot;e'f&#9;g&#10;h&#13;i  \""), std::string::npos) << text;
    EXPECT_NE(text.find(">  a&amp;b&lt;c&gt;d\"e'f\tg\nh&#13;i  </note>"), std::string::npos) << text;
    const tdoc back = decodeDoc(text);
    ASSERT_EQ(back.entries.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(back.entries[i].note()->lang, i ? accents : nasty);
        EXPECT_EQ(back.entries[i].note()->text, i ? accents : nasty);
    }

}

TEST(CodecWriter, InvalidChoiceFailsWithMinus9AndTheNumber)
{
    for (const auto& [t, object] : std::vector<std::pair<int, int>>{{7, 2}, {0, 0}, {-1, 2}, {2, 0}, {2, 1}}) {
        tdoc doc;
        tchoice c;
        if (object == 1)
            c.u = std::make_unique<titem>(); // alternative 2 is a tnote
        else if (object == 2)
            c.u = std::make_unique<tnote>();
        c.t = t;
        doc.entries.push_back(std::move(c));
        int status = 0;
        Params params;
        encodeDoc(doc, &status, &params);
        EXPECT_EQ(status, XB_INVALID_CHOICE) << t;
        EXPECT_EQ(params, Params{std::to_string(t)});
    }
}

TEST(CodecWriter, ValuesXmlCannotCarryFailTheWriteWithMinus46)
{
    for (const auto& [value, what] : std::vector<std::pair<std::string, const char*>>{
             {"a\x18" "b", "control character"}, {std::string("a\0b", 3), "NUL"}, {"\xC3", "cut sequence"},
             {"\xC0\x80", "overlong"}, {"\xED\xA0\x80", "surrogate"}, {"\xF4\x90\x80\x80", "beyond U+10FFFF"}}) {
        SCOPED_TRACE(what);
        int status = 0;
        Params params;
        tdoc asText;
        asText.entries.push_back(noteChoice(value));
        encodeDoc(asText, &status, &params);
        EXPECT_EQ(status, XB_UNWRITABLE_TEXT);
        EXPECT_EQ(params, (Params{"tnote", "#text"}));
        tdoc asAttribute;
        asAttribute.entries.push_back(itemChoice("fine", {}, value));
        const std::string text = encodeDoc(asAttribute, &status, &params);
        EXPECT_EQ(status, XB_UNWRITABLE_TEXT);
        EXPECT_EQ(params, (Params{"titem", "flag"}));
        EXPECT_EQ(text.find("flag="), std::string::npos); // the partial value is not left behind
    }
}

TEST(CodecWriter, IntegerReaderTakesWholeInt32TextsOnly)
{
    const std::vector<std::pair<const char*, std::optional<std::int32_t>>> rows = {
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {" \t+42\n", 42}, {"2147483648", {}},
        {"-2147483649", {}}, {"", {}}, {"-", {}}, {"1a", {}}, {"0x10", {}}, {"1 2", {}}};
    for (const auto& [text, expected] : rows) {
        std::int32_t value = 77;
        EXPECT_EQ(parseInt32(text, std::string(text).size(), value), expected.has_value()) << text;
        EXPECT_EQ(value, expected.value_or(77)) << text; // left alone on failure
    }
}
