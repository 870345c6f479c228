// The generic writer: shapes, attribute order, absent fields, escaping, choices.
#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/XBinderManager.h>

#include "services/serialization/manager/TestSchema.h"

using namespace MOX::XB;
using namespace xbtest;

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string encodeDoc(tdoc& doc, int* status = nullptr)
{
    EncodeBuffer buffer;
    doc_CC element(doc);
    const int result = element.encode(buffer);
    if (status)
        *status = result;
    return buffer.text();
}

tchoice itemChoice(std::string id)
{
    tchoice c;
    auto item = std::make_unique<titem>();
    item->id = std::move(id);
    c.set(1, std::move(item));
    return c;
}

tchoice noteChoice(std::optional<std::string> text)
{
    tchoice c;
    auto note = std::make_unique<tnote>();
    note->text = std::move(text);
    c.set(2, std::move(note));
    return c;
}

} // namespace

TEST(CodecWriter, WritesEachShapeWithAttributesInSchemaOrder)
{
    tdoc doc;
    tchoice first;
    auto item = std::make_unique<titem>();
    item->flag = "f";    // set before size: the schema order still puts size first
    item->size = -12;
    item->id = "a";
    first.set(1, std::move(item));
    doc.entries.push_back(std::move(first));
    doc.entries.push_back(noteChoice(std::string("hello")));
    tbox box;
    box.name = "b";
    box.values = {"v1", "", "v3"};
    box.items.push_back(std::make_unique<titem>());
    box.items.back()->id = "i";
    doc.boxes.push_back(std::move(box));
    doc.pick = std::make_unique<tchoice>(noteChoice(std::string("p")));

    int status = 1;
    const std::string text = encodeDoc(doc, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(text, kDeclaration +
                        "<doc><item id=\"a\" size=\"-12\" flag=\"f\"/><note>hello</note>"
                        "<box name=\"b\"><value>v1</value><value></value><value>v3</value><item id=\"i\"/></box>"
                        "<pick><note>p</note></pick></doc>");
}

TEST(CodecWriter, AbsentFieldsAreNotWrittenAndEmptyContainersStayOpenClose)
{
    tdoc empty;
    EXPECT_EQ(encodeDoc(empty), kDeclaration + "<doc></doc>");

    tdoc doc;
    doc.entries.push_back(itemChoice(""));        // required plain string: written even when empty
    doc.entries.push_back(noteChoice(std::nullopt)); // absent text: element still has the text shape
    tnote note;
    const std::string noteOnly = [&] {
        EncodeBuffer buffer;
        buffer.writeElement("n", note);
        return buffer.text();
    }();
    EXPECT_EQ(noteOnly, "<n></n>");
    EXPECT_EQ(encodeDoc(doc), kDeclaration + "<doc><item id=\"\"/><note></note></doc>");

    // A null entry of an owning pointer list is skipped, not dereferenced.
    tdoc withNull;
    tbox box;
    box.name = "x";
    box.items.push_back(nullptr);
    withNull.boxes.push_back(std::move(box));
    EXPECT_EQ(encodeDoc(withNull), kDeclaration + "<doc><box name=\"x\"></box></doc>");
}

TEST(CodecWriter, EscapesMarkupAndKeepsEveryCharacterThroughARoundTrip)
{
    const std::string nasty = "  a&b<c>d\"e'f\tg\nh\ri  ";
    tdoc doc;
    tchoice c;
    auto note = std::make_unique<tnote>();
    note->lang = nasty;
    note->text = nasty;
    c.set(2, std::move(note));
    doc.entries.push_back(std::move(c));
    const std::string text = encodeDoc(doc);

    EXPECT_NE(text.find("lang=\"  a&amp;b&lt;c&gt;d&quot;e'f&#9;g&#10;h&#13;i  \""), std::string::npos) << text;
    EXPECT_NE(text.find(">  a&amp;b&lt;c&gt;d\"e'f\tg\nh&#13;i  </note>"), std::string::npos) << text;

    tdoc back;
    doc_CC element(back);
    DecodeBuffer buffer(text);
    ASSERT_EQ(element.decode(buffer), 0) << buffer.errorInfo();
    ASSERT_EQ(back.entries.size(), 1u);
    ASSERT_NE(back.entries[0].note(), nullptr);
    EXPECT_EQ(back.entries[0].note()->lang, nasty);
    EXPECT_EQ(back.entries[0].note()->text, nasty);
}

TEST(CodecWriter, InvalidChoiceFailsWithStatusMinus9AndTheNumber)
{
    struct Case {
        int t;
        bool withObject;
        bool wrongClass;
    };
    for (const Case& k : {Case{7, true, false}, Case{0, false, false}, Case{-1, true, false}, Case{2, false, false},
                          Case{2, true, true}}) {
        tdoc doc;
        tchoice c;
        if (k.withObject) {
            if (k.wrongClass)
                c.u = std::make_unique<titem>(); // alternative 2 is a tnote
            else
                c.u = std::make_unique<tnote>();
        }
        c.t = k.t;
        doc.entries.push_back(std::move(c));
        EncodeBuffer buffer;
        doc_CC element(doc);
        EXPECT_EQ(element.encode(buffer), XB_INVALID_CHOICE) << k.t;
        EXPECT_EQ(buffer.errors().parameters(), std::vector<std::string>{std::to_string(k.t)});
    }
}

TEST(CodecWriter, ManagerEncodeRaisesMinus1055WithTheErrorInfo)
{
    XBinderManager manager;
    tdoc doc;
    tchoice bad;
    bad.t = 9;
    doc.entries.push_back(std::move(bad));
    EncodeBuffer buffer;
    doc_CC element(doc);
    try {
        manager.encode(element, buffer);
        FAIL() << "no exception";
    } catch (const MOX::EXCEPTIONS::SerializationException& e) {
        EXPECT_EQ(e.getCode(), -1055);
        EXPECT_EQ(e.getFacility(), "MOX");
        EXPECT_EQ(e.getKey(), "code");
        EXPECT_EQ(e.getMessage(), "Error converting object to string");
        EXPECT_EQ(e.getFunction(), "MOX::XB::XBinderManager::encode");
        EXPECT_EQ(e.getFile(), "services/serialization/manager/XBinderManager");
        EXPECT_EQ(e.getDetail(), buffer.errorInfo());
        EXPECT_NE(e.getDetail().find("-9"), std::string::npos);
        EXPECT_NE(e.getDetail().find("'9'"), std::string::npos);
    }

    tdoc good;
    good.entries.push_back(itemChoice("z"));
    EncodeBuffer ok;
    doc_CC goodElement(good);
    EXPECT_EQ(manager.encode(goodElement, ok), kDeclaration + "<doc><item id=\"z\"/></doc>");
}

TEST(CodecWriter, ValuesXmlCannotCarryFailTheWriteWithMinus46)
{
    // Multi-byte UTF-8 is written as it is and reads back.
    const std::string accents = "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80";
    tdoc ok;
    ok.entries.push_back(noteChoice(accents));
    const std::string text = encodeDoc(ok);
    tdoc back;
    doc_CC element(back);
    DecodeBuffer buffer(text);
    ASSERT_EQ(element.decode(buffer), 0);
    EXPECT_EQ(back.entries.at(0).note()->text, accents);

    struct Case {
        std::string value;
        const char* what;
    };
    for (const Case& k : {Case{std::string("a\x18" "b"), "control character"}, Case{std::string("a\0b", 3), "NUL"},
                          Case{"\xFF", "not UTF-8"}, Case{"\xC3", "cut sequence"}, Case{"\xC0\x80", "overlong"},
                          Case{"\xED\xA0\x80", "surrogate"}, Case{"\xEF\xBF\xBE", "U+FFFE"},
                          Case{"\xF4\x90\x80\x80", "beyond U+10FFFF"}}) {
        tdoc asText;
        asText.entries.push_back(noteChoice(k.value));
        EncodeBuffer textBuffer;
        doc_CC textElement(asText);
        EXPECT_EQ(textElement.encode(textBuffer), XB_UNWRITABLE_TEXT) << k.what;
        EXPECT_EQ(textBuffer.errors().parameters(), (std::vector<std::string>{"tnote", "#text"})) << k.what;

        tdoc asAttribute;
        asAttribute.entries.push_back(itemChoice("fine"));
        asAttribute.entries[0].item()->flag = k.value;
        EncodeBuffer attributeBuffer;
        doc_CC attributeElement(asAttribute);
        EXPECT_EQ(attributeElement.encode(attributeBuffer), XB_UNWRITABLE_TEXT) << k.what;
        EXPECT_EQ(attributeBuffer.errors().parameters(), (std::vector<std::string>{"titem", "flag"})) << k.what;
        // The partial value is not left behind.
        EXPECT_EQ(attributeBuffer.text().find("flag="), std::string::npos) << k.what;
    }
}

TEST(CodecWriter, EscapeAndIntegerHelpers)
{
    std::string out = "x";
    EXPECT_TRUE(appendEscaped(out, "a\"b\tc", 5, false));
    EXPECT_EQ(out, "xa\"b\tc");
    out.clear();
    EXPECT_TRUE(appendEscaped(out, "a\"b\tc", 5, true));
    EXPECT_EQ(out, "a&quot;b&#9;c");
    out.clear();
    EXPECT_FALSE(appendEscaped(out, "a\x01", 2, false));

    struct IntCase {
        const char* text;
        bool ok;
        std::int32_t value;
    };
    for (const IntCase& k : {IntCase{"0", true, 0}, IntCase{"2147483647", true, 2147483647},
                             IntCase{"-2147483648", true, -2147483647 - 1}, IntCase{" \t+42\n", true, 42},
                             IntCase{"2147483648", false, 0}, IntCase{"-2147483649", false, 0},
                             IntCase{"99999999999999999999", false, 0}, IntCase{"", false, 0},
                             IntCase{"-", false, 0}, IntCase{"1a", false, 0}, IntCase{"0x10", false, 0},
                             IntCase{"1 2", false, 0}}) {
        std::int32_t value = 77;
        EXPECT_EQ(parseInt32(k.text, std::string(k.text).size(), value), k.ok) << k.text;
        EXPECT_EQ(value, k.ok ? k.value : 77) << k.text;
    }
}
