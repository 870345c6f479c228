// SPDX-License-Identifier: MIT
// The generic codec. Reading: the parser adapter and the handlers, every row of the failure
// table, the naming rules, skipping, text collection and the hardening limits. Writing:
// shapes, choices and the values XML cannot carry (escaping through the codec is the
// hostile text tests' round trips of the documents).
#include <gtest/gtest.h>

#include <tuple>

#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/EncodeBuffer.h>

#include "services/serialization/manager/TestSchema.h"

using namespace MOX::XB;
using namespace xbtest;
using Params = std::vector<std::string>;

namespace {

struct Result {
    int status = 0;
    ErrorRecord errors;
};

Result decode(const std::string& text, tdoc& doc, const DecodeLimits& limits = DecodeLimits(),
              const std::string& root = "doc")
{
    DecodeBuffer buffer(text, limits);
    doc_CC element(doc, root);
    const int status = element.decode(buffer);
    return Result{status, buffer.errors()};
}

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

tchoice itemChoice(std::string id, std::optional<std::string> flag = {})
{
    tchoice c;
    auto item = std::make_unique<titem>();
    item->id = std::move(id);
    item->flag = std::move(flag);
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

// Decodes `text` without error, then writes the object back (without the declaration):
// one expected text pins both what was read and how each shape is written.
std::string readBack(const std::string& text, const std::string& root = "doc")
{
    tdoc doc;
    const Result r = decode(text, doc, DecodeLimits(), root);
    EXPECT_EQ(r.status, 0) << text << ": " << r.errors.info();
    return encodeDoc(doc).substr(kDeclaration.size());
}

} // namespace

TEST(CodecDecoder, FillsEveryBuildingBlock)
{
    EXPECT_EQ(readBack("<doc><item id='a' size=' 7 ' flag=''/><note lang='en'>hi</note>"
                       "<box name='b'><value>1</value><value/><note>n</note><item id='i1'/><item id='i2'/></box>"
                       "<item id='c'/><pick><item id='p'/></pick></doc>"),
              "<doc><item id=\"a\" size=\"7\" flag=\"\"/><note lang=\"en\">hi</note><item id=\"c\"/>"
              "<box name=\"b\"><value>1</value><value></value><note>n</note><item id=\"i1\"/><item id=\"i2\"/></box>"
              "<pick><item id=\"p\"/></pick></doc>"); // attributes in any order: the class document's test
}

TEST(CodecDecoder, IgnoresWhatTheRulesAllow)
{
    // Prefixes are stripped; namespace and schema-instance attributes are ignored.
    EXPECT_EQ(readBack("<p:doc xmlns:p='urn:a' xmlns='urn:b' xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' "
                       "xsi:type='p:T' xsi:schemaLocation='l'><p:box name='a' xsi:nil='false'><q:value "
                       "xmlns:q='urn:q'>v</q:value></p:box><item xsi:type='t' id='a' xmlns:z='q'/></p:doc>"),
              "<doc><item id=\"a\"/><box name=\"a\"><value>v</value></box></doc>");
    // An empty root name accepts any root element; nothing after the root's end is read.
    EXPECT_EQ(readBack("<whatever><box name='a'/></whatever>", ""), "<doc><box name=\"a\"></box></doc>");
    EXPECT_EQ(readBack("<doc><box name='a'/></doc><<<not xml"), "<doc><box name=\"a\"></box></doc>");
    // The input ends at its first NUL character.
    const std::string withNul = std::string("<doc><box name='a'/></doc>\0<box name='b'/>", 41);
    EXPECT_EQ(DecodeBuffer(withNul).size(), withNul.find('\0'));
    EXPECT_EQ(readBack(withNul), "<doc><box name=\"a\"></box></doc>");
}

TEST(CodecDecoder, TextIsKeptExactlyInSimpleContentOnly)
{
    tdoc doc;
    const Result r = decode("<doc>\n  loose text\n  <note>  two  words \n</note>"
                            "<note/><note></note><note>a &amp; b &#x41;<![CDATA[ <raw> ]]>z</note>"
                            "<box name='b'>ignored<value>  </value>ignored too</box>"
                            "<pick><note>p</note> text </pick></doc>",
                            doc);
    ASSERT_EQ(r.status, 0) << r.errors.info();
    ASSERT_EQ(doc.entries.size(), 4u);
    const std::vector<std::optional<std::string>> texts = {"  two  words \n", "", "", "a & b A <raw> z"};
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(doc.entries[i].note()->text, texts[i]) << i; // empty, but set
    EXPECT_EQ(doc.boxes.at(0).values, Params{"  "});
}

TEST(CodecDecoder, EachFailureRecordsItsStatusThenStopsOrSkipsAsItShould)
{
    std::string nested = "<doc>", noisy = "<doc>";
    for (int i = 0; i < 1000; ++i)
        nested += "<x>";
    for (int i = 0; i < 10; ++i)
        noisy += "<box name='n' bad='1'/>";
    noisy += "</doc>";
    const std::string laughs = "<?xml version='1.0'?><!DOCTYPE doc [<!ENTITY a 'aaaaaaaaaa'>"
                               "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'><!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'>"
                               "<!ENTITY d '&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;'>]><doc><note>&d;&d;&d;</note></doc>";
    struct Row {
        std::string text;
        int status;
        Params params;
        std::size_t count;   // errors recorded
        int boxes;           // boxes that reached the object, -1: not checked
        DecodeLimits limits = DecodeLimits();
    };
    const Row rows[] = {
        // The root name is checked, and decoding goes on.
        {"<docs><box name='a'/></docs>", XB_ELEMENT_MISMATCH, {"doc", "docs"}, 1, 1},
        // Unknown or surplus elements, named as written, are skipped whole: nothing inside is examined.
        {"<doc><box name='a'/><junk><box name='in'/><deeper><item id='x'/></deeper>text</junk><box name='b'/></doc>",
         XB_UNEXPECTED_ELEMENT, {"junk"}, 1, 2},
        {"<doc><box name='a'><note/><note/></box></doc>", XB_UNEXPECTED_ELEMENT, {"note"}, 1, 1},
        // A choice element must hold one alternative.
        {"<doc><pick/></doc>", XB_MISSING_ELEMENT, {"tchoice"}, 1, 0},
        {"<doc><pick><junk/></pick></doc>", XB_UNEXPECTED_ELEMENT, {"junk"}, 2, 0},
        // Attributes: undeclared (prefix included), of the wrong kind, missing.
        {"<doc><box p:name='a' xmlns:p='u'/></doc>", XB_INVALID_ATTRIBUTE, {"tbox", "p:name"}, 2, -1},
        {"<doc><item id='a' size='big'/></doc>", XB_INVALID_VALUE, {"titem", "size"}, 1, 0},
        {"<doc><box/></doc>", XB_MISSING_ATTRIBUTE, {"tbox", "name"}, 1, -1},
        // Several errors: the first one's status and parameters are kept, all are counted.
        {"<doc><box/><item id='a' size='x'/><junk/></doc>", XB_MISSING_ATTRIBUTE, {"tbox", "name"}, 3, -1},
        // Document type declarations are refused before any entity is expanded; the abort
        // adds no syntax error. An undeclared entity is a syntax error (the parser's text,
        // line and column), never a lookup.
        {laughs, XB_FORBIDDEN_MARKUP, {"DOCTYPE doc"}, 1, 0},
        {"<doc><note>&ext;</note></doc>", XB_XML_SYNTAX, {"undefined entity, line = 1, column = 11"}, 1, 0},
        // Limits stop the parse: nothing later reaches the objects.
        {nested, XB_UNEXPECTED_ELEMENT, {"x"}, 2, 0},
        {"<doc><box name='a'/></doc>", XB_LIMIT_EXCEEDED, {"depth", "1"}, 1, 0, DecodeLimits{1, 100, 100}},
        {noisy, XB_INVALID_ATTRIBUTE, {"tbox", "bad"}, 3, 3, DecodeLimits{256, 3, 100}},
        {"<doc><note>123456789</note><box name='late'/></doc>", XB_LIMIT_EXCEEDED, {"text", "8"}, 1, 0,
         DecodeLimits{256, 100, 8}},
        // A text of exactly the limit is read; a longer run of text is refused also where
        // nothing collects it.
        {"<doc><note>12345678</note></doc>", 0, {}, 0, 0, DecodeLimits{256, 100, 8}},
        {"<doc>" + std::string(100, 'x') + "</doc>", XB_LIMIT_EXCEEDED, {"text", "8"}, 1, 0, DecodeLimits{256, 100, 8}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 120));
        tdoc doc;
        const Result r = decode(row.text, doc, row.limits);
        EXPECT_EQ(std::make_tuple(r.status, r.errors.parameters(), r.errors.count()),
                  std::make_tuple(row.status, row.params, row.count)) << r.errors.info();
        if (row.boxes >= 0) {
            EXPECT_EQ(doc.boxes.size(), static_cast<std::size_t>(row.boxes));
        }
        EXPECT_TRUE(row.status != XB_LIMIT_EXCEEDED || row.params[0] != "text" || doc.entries.empty() ||
                    !doc.entries.at(0).note()->text.has_value()); // the long text is never set
        EXPECT_TRUE(row.status != XB_FORBIDDEN_MARKUP || doc.entries.empty());
    }
}

// Every filled shape is pinned by the read-backs above; these are what decoding never makes.
TEST(CodecWriter, WritesWhatDecodingNeverMakes)
{
    tdoc doc;
    EXPECT_EQ(encodeDoc(doc), kDeclaration + "<doc></doc>"); // empty containers stay open-close
    doc.entries.push_back(itemChoice(""));           // required plain string: written even when empty
    doc.entries.push_back(noteChoice(std::nullopt)); // absent text: the element keeps the text shape
    doc.boxes.emplace_back();
    doc.boxes.back().items.push_back(nullptr); // a null entry of an owning list is skipped, not dereferenced
    int status = 1;
    EXPECT_EQ(encodeDoc(doc, &status), kDeclaration + "<doc><item id=\"\"/><note></note><box name=\"\"></box></doc>");
    EXPECT_EQ(status, 0);
}

TEST(CodecWriter, InvalidChoiceFailsWithMinus9AndTheNumber)
{
    for (const auto& [t, object] : std::vector<std::pair<int, int>>{{7, 2}, {0, 0}, {2, 1}}) {
        tdoc doc; // {2, 1}: alternative 2 is a tnote, the object a titem
        doc.entries.push_back(object == 1 ? itemChoice("i") : noteChoice("n"));
        doc.entries.back().t = t;
        if (object == 0)
            doc.entries.back().u.reset();
        int status = 0;
        Params params;
        encodeDoc(doc, &status, &params);
        EXPECT_EQ(status, XB_INVALID_CHOICE) << t;
        EXPECT_EQ(params, Params{std::to_string(t)});
    }
}

// Which characters XML cannot carry is the shared escaper's table (XmlUtils), and the
// hostile text round trips refuse them in texts and attributes; one shows how the codec fails.
TEST(CodecWriter, ValuesXmlCannotCarryFailTheWriteWithMinus46)
{
    int status = 0;
    Params params;
    tdoc doc;
    doc.entries.push_back(itemChoice("fine", "a\x18" "b"));
    const std::string text = encodeDoc(doc, &status, &params);
    EXPECT_EQ(status, XB_UNWRITABLE_TEXT);
    EXPECT_EQ(params, (Params{"titem", "flag"}));
    EXPECT_EQ(text.find("flag="), std::string::npos); // the partial value is not left behind
}

TEST(CodecWriter, IntegerReaderTakesWholeInt32TextsOnly)
{
    const std::vector<std::pair<const char*, std::optional<std::int32_t>>> rows = {
        {"-2147483648", -2147483647 - 1}, {" \t+42\n", 42}, {"2147483648", {}}, {"", {}}, {"-", {}}, {"1 2", {}}};
    for (const auto& [text, expected] : rows) {
        std::int32_t value = 77;
        EXPECT_EQ(parseInt32(text, std::string(text).size(), value), expected.has_value()) << text;
        EXPECT_EQ(value, expected.value_or(77)) << text; // left alone on failure
    }
}
