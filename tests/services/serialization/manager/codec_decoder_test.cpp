// The parser adapter and the generic handlers: every row of the failure table, the
// naming rules, skipping, text collection and the hardening limits.
#include <gtest/gtest.h>

#include <expat.h>

#include <cstdio>

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

// Decodes `text` without error, then writes the object back (without the declaration):
// the writer's own tests pin down its text, so this shows exactly what was read.
std::string readBack(const std::string& text, const std::string& root = "doc")
{
    tdoc doc;
    const Result r = decode(text, doc, DecodeLimits(), root);
    EXPECT_EQ(r.status, 0) << text << ": " << r.errors.info();
    EncodeBuffer buffer;
    doc_CC element(doc);
    EXPECT_EQ(element.encode(buffer), 0);
    return buffer.text().substr(buffer.text().find("<doc>"));
}

// What a plain expat parse reports for `text`, in the adapter's format (the oracle for
// the -26 parameter).
std::string expatError(const std::string& text)
{
    XML_Parser p = XML_ParserCreate(nullptr);
    EXPECT_EQ(XML_Parse(p, text.data(), static_cast<int>(text.size()), XML_TRUE), XML_STATUS_ERROR);
    char line[256];
    std::snprintf(line, sizeof line, "%s, line = %i, column = %i", XML_ErrorString(XML_GetErrorCode(p)),
                  static_cast<int>(XML_GetCurrentLineNumber(p)), static_cast<int>(XML_GetCurrentColumnNumber(p)));
    XML_ParserFree(p);
    return line;
}

DecodeLimits limits(int depth, std::size_t errors, std::size_t text)
{
    DecodeLimits l;
    l.maxDepth = depth;
    l.maxErrors = errors;
    l.maxTextBytes = text;
    return l;
}

} // namespace

TEST(CodecDecoder, FillsEveryBuildingBlockAndIgnoresWhatTheRulesAllow)
{
    EXPECT_EQ(readBack("<doc><item id='a' size=' 7 ' flag=''/><note lang='en'>hi</note>"
                       "<box name='b'><value>1</value><value/><note>n</note><item id='i1'/><item id='i2'/></box>"
                       "<item id='c'/><pick><item id='p'/></pick></doc>"),
              "<doc><item id=\"a\" size=\"7\" flag=\"\"/><note lang=\"en\">hi</note><item id=\"c\"/>"
              "<box name=\"b\"><value>1</value><value></value><note>n</note><item id=\"i1\"/><item id=\"i2\"/></box>"
              "<pick><item id=\"p\"/></pick></doc>");
    // Attributes in any order, each read into its own field.
    for (const char* order : {"flag='f' size='2' id='x'", "size='2' flag='f' id='x'", "flag='f' id='x' size='2'"})
        EXPECT_EQ(readBack(std::string("<doc><item ") + order + "/></doc>"),
                  "<doc><item id=\"x\" size=\"2\" flag=\"f\"/></doc>")
            << order;
    // Prefixes are stripped; namespace and schema-instance attributes are ignored.
    EXPECT_EQ(readBack("<p:doc xmlns:p='urn:a' xmlns='urn:b' xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' "
                       "xsi:type='p:T' xsi:schemaLocation='l'><p:box name='a' xsi:nil='false'><q:value "
                       "xmlns:q='urn:q'>v</q:value></p:box><item xsi:type='t' id='a' xmlns:z='q'/></p:doc>"),
              "<doc><item id=\"a\"/><box name=\"a\"><value>v</value></box></doc>");
    // An empty root name accepts any root element; nothing after the root's end is read.
    EXPECT_EQ(readBack("<whatever><box name='a'/></whatever>", ""), "<doc><box name=\"a\"></box></doc>");
    for (const char* tail : {"<box name='late'/>", "<<<not xml", "\n<!DOCTYPE x [<!ENTITY a 'b'>]>"})
        EXPECT_EQ(readBack(std::string("<doc><box name='a'/></doc>") + tail), "<doc><box name=\"a\"></box></doc>")
            << tail;
    // The input ends at its first NUL character.
    const std::string withNul = std::string("<doc><box name='a'/></doc>\0<box name='b'/>", 41);
    EXPECT_EQ(DecodeBuffer(withNul).size(), withNul.find('\0'));
    EXPECT_EQ(readBack(withNul), "<doc><box name=\"a\"></box></doc>");
}

TEST(CodecDecoder, SimpleContentKeepsWhiteSpaceAndContainersIgnoreText)
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

TEST(CodecDecoder, EachFailureRecordsItsStatusAndParametersAndStopsOrSkipsAsItShould)
{
    std::string nested = "<doc>";
    for (int i = 0; i < 1000; ++i)
        nested += "<x>";
    std::string noisy = "<doc>";
    for (int i = 0; i < 10; ++i)
        noisy += "<box name='n' bad='1'/>";
    noisy += "</doc>";
    const std::string laughs = "<?xml version='1.0'?><!DOCTYPE doc [<!ENTITY a 'aaaaaaaaaa'>"
                               "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'><!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'>"
                               "<!ENTITY d '&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;'>]><doc><note>&d;&d;&d;</note></doc>";
    const DecodeLimits none;
    struct Row {
        std::string text;
        int status;
        Params params;
        std::size_t count;   // errors recorded
        int boxes;           // boxes that reached the object, -1: not checked
        DecodeLimits limits;
    };
    const Row rows[] = {
        // The root name is checked, and decoding goes on.
        {"<docs><box name='a'/></docs>", XB_ELEMENT_MISMATCH, {"doc", "docs"}, 1, 1, none},
        // Unknown or surplus elements, named as written, are skipped whole: nothing inside is examined.
        {"<doc><box name='a'/><junk><box name='in'/><deeper><item id='x'/></deeper>text</junk><box name='b'/></doc>",
         XB_UNEXPECTED_ELEMENT, {"junk"}, 1, 2, none},
        {"<doc><x:junk xmlns:x='u'/></doc>", XB_UNEXPECTED_ELEMENT, {"x:junk"}, 1, 0, none},
        {"<doc><note>a<b>x</b>c</note></doc>", XB_UNEXPECTED_ELEMENT, {"b"}, 1, 0, none},      // in simple content
        {"<doc><box name='a'><note/><note/></box></doc>", XB_UNEXPECTED_ELEMENT, {"note"}, 1, 1, none},
        {"<doc><pick><item id='a'/><note/></pick></doc>", XB_UNEXPECTED_ELEMENT, {"note"}, 1, 0, none},
        // A choice element must hold one alternative.
        {"<doc><pick/></doc>", XB_MISSING_ELEMENT, {"tchoice"}, 1, 0, none},
        {"<doc><pick><junk/></pick></doc>", XB_UNEXPECTED_ELEMENT, {"junk"}, 2, 0, none},
        // Attributes: undeclared (prefix included), of the wrong kind, missing.
        {"<doc><box name='a' color='red'/></doc>", XB_INVALID_ATTRIBUTE, {"tbox", "color"}, 1, -1, none},
        {"<doc><box p:name='a' xmlns:p='u'/></doc>", XB_INVALID_ATTRIBUTE, {"tbox", "p:name"}, 2, -1, none},
        {"<doc><box name='a' xmlnsx='1'/></doc>", XB_INVALID_ATTRIBUTE, {"tbox", "xmlnsx"}, 1, -1, none},
        {"<doc><item id='a' size='big'/></doc>", XB_INVALID_VALUE, {"titem", "size"}, 1, 0, none},
        {"<doc><box/></doc>", XB_MISSING_ATTRIBUTE, {"tbox", "name"}, 1, -1, none},
        // Several errors: the first one's status and parameters are kept, all are counted.
        {"<doc><box/><item id='a' size='x'/><junk/></doc>", XB_MISSING_ATTRIBUTE, {"tbox", "name"}, 3, -1, none},
        // Document type declarations are refused before any entity is expanded; the abort
        // adds no syntax error. An undeclared entity is a syntax error, never a lookup.
        {laughs, XB_FORBIDDEN_MARKUP, {"DOCTYPE doc"}, 1, 0, none},
        {"<doc><note>&ext;</note></doc>", XB_XML_SYNTAX, {expatError("<doc><note>&ext;</note></doc>")}, 1, 0, none},
        // Limits stop the parse: nothing later reaches the objects.
        {nested, XB_UNEXPECTED_ELEMENT, {"x"}, 2, 0, none},
        {"<doc><box name='a'/></doc>", XB_LIMIT_EXCEEDED, {"depth", "1"}, 1, 0, limits(1, 100, 100)},
        {noisy, XB_INVALID_ATTRIBUTE, {"tbox", "bad"}, 3, 3, limits(256, 3, 100)},
        {"<doc><note>123456789</note><box name='late'/></doc>", XB_LIMIT_EXCEEDED, {"text", "8"}, 1, 0,
         limits(256, 100, 8)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 120));
        tdoc doc;
        const Result r = decode(row.text, doc, row.limits);
        EXPECT_EQ(r.status, row.status) << r.errors.info();
        EXPECT_EQ(r.errors.parameters(), row.params);
        EXPECT_EQ(r.errors.count(), row.count) << r.errors.info();
        EXPECT_TRUE(row.boxes < 0 || doc.boxes.size() == static_cast<std::size_t>(row.boxes)) << doc.boxes.size();
        if (row.status == XB_LIMIT_EXCEEDED && row.params[0] == "text") { // the long text is never set
            EXPECT_FALSE(doc.entries.at(0).note()->text.has_value());
        }
        EXPECT_TRUE(row.status != XB_FORBIDDEN_MARKUP || doc.entries.empty());
    }

    // Syntax errors carry expat's text, line and column.
    for (const std::string& text : {std::string(), std::string("<doc><box name='a'>\n  <value>"),
                                   std::string("<doc>\n<item id='a' id='b'/></doc>")}) {
        tdoc doc;
        const Result r = decode(text, doc);
        EXPECT_EQ(r.status, XB_XML_SYNTAX) << text;
        EXPECT_EQ(r.errors.parameters(), Params{expatError(text)}) << text;
        EXPECT_NE(r.errors.info().find(expatError(text)), std::string::npos);
    }
    // A text of exactly the limit is read; text outside simple content is never collected.
    tdoc shortText, looseText;
    EXPECT_EQ(decode("<doc><note>12345678</note></doc>", shortText, limits(256, 100, 8)).status, 0);
    EXPECT_EQ(decode("<doc>" + std::string(100, 'x') + "</doc>", looseText, limits(256, 100, 8)).status, 0);
}

TEST(CodecDecoder, ErrorInfoNamesTheFirstStatusItsParametersAndTheCount)
{
    ErrorRecord record;
    EXPECT_EQ(record.info(), "");
    record.record(XB_INVALID_ATTRIBUTE, {"tbox", "color"});
    for (const std::string& part : {std::string("-33"), std::string(statusText(XB_INVALID_ATTRIBUTE)),
                                    std::string("'tbox'"), std::string("'color'")})
        EXPECT_NE(record.info().find(part), std::string::npos) << part;
    record.record(XB_UNEXPECTED_ELEMENT, {"later"});
    EXPECT_EQ(record.status(), XB_INVALID_ATTRIBUTE);
    EXPECT_EQ(record.info().find("later"), std::string::npos);
    EXPECT_NE(record.info().find("2 errors"), std::string::npos);
    record.clear();
    EXPECT_FALSE(record.failed());
    EXPECT_EQ(record.status(), XB_OK);
}
