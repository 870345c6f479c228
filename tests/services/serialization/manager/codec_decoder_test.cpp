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

namespace {

struct Result {
    int status = 0;
    ErrorRecord errors;
    int depthAfter = 0;
    int skipAfter = 0;
    bool cdata = false;
};

Result decode(const std::string& text, tdoc& doc, const DecodeLimits& limits = DecodeLimits(),
              const std::string& root = "doc")
{
    DecodeBuffer buffer(text, limits);
    doc_CC element(doc, root);
    Result r;
    r.status = element.decode(buffer);
    r.errors = buffer.errors();
    r.depthAfter = buffer.depth();
    r.skipAfter = buffer.skipLevel();
    r.cdata = buffer.inCData();
    return r;
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

using Params = std::vector<std::string>;

} // namespace

TEST(CodecDecoder, FillsEveryBuildingBlock)
{
    tdoc doc;
    const Result r = decode("<doc>"
                            "<item id='a' size=' 7 ' flag=''/>"
                            "<note lang='en'>hi</note>"
                            "<box name='b'><value>1</value><value/><note>n</note><item id='i1'/><item id='i2'/></box>"
                            "<item id='c'/>"
                            "<pick><item id='p'/></pick>"
                            "</doc>",
                            doc);
    ASSERT_EQ(r.status, 0) << r.errors.info();
    ASSERT_EQ(doc.entries.size(), 3u);
    ASSERT_NE(doc.entries[0].item(), nullptr);
    EXPECT_EQ(doc.entries[0].item()->id, "a");
    EXPECT_EQ(doc.entries[0].item()->size, 7);
    EXPECT_EQ(doc.entries[0].item()->flag, std::string());
    ASSERT_NE(doc.entries[1].note(), nullptr);
    EXPECT_EQ(doc.entries[1].note()->lang, "en");
    EXPECT_EQ(doc.entries[1].note()->text, "hi");
    EXPECT_EQ(doc.entries[2].item()->id, "c");
    EXPECT_FALSE(doc.entries[2].item()->size.has_value());
    EXPECT_FALSE(doc.entries[2].item()->flag.has_value());
    ASSERT_EQ(doc.boxes.size(), 1u);
    EXPECT_EQ(doc.boxes[0].name, "b");
    EXPECT_EQ(doc.boxes[0].values, (Params{"1", ""}));
    ASSERT_NE(doc.boxes[0].note, nullptr);
    EXPECT_EQ(doc.boxes[0].note->text, "n");
    ASSERT_EQ(doc.boxes[0].items.size(), 2u);
    EXPECT_EQ(doc.boxes[0].items[1]->id, "i2");
    ASSERT_NE(doc.pick, nullptr);
    ASSERT_NE(doc.pick->item(), nullptr);
    EXPECT_EQ(doc.pick->item()->id, "p");
    EXPECT_EQ(r.depthAfter, 0);
    EXPECT_EQ(r.errors.count(), 0u);
}

TEST(CodecDecoder, SyntaxErrorsCarryExpatsTextLineAndColumn)
{
    for (const std::string& text : {std::string(), std::string("hello"), std::string("<doc><box name='a'>\n  <value>"),
                                   std::string("<doc>\n<item id='a' id='b'/></doc>"), std::string("<doc></dog>"),
                                   std::string("  \n\n   ")}) {
        tdoc doc;
        const Result r = decode(text, doc);
        EXPECT_EQ(r.status, XB_XML_SYNTAX) << text;
        EXPECT_EQ(r.errors.parameters(), Params{expatError(text)}) << text;
        EXPECT_NE(r.errors.info().find(expatError(text)), std::string::npos);
    }
}

TEST(CodecDecoder, RootNameMismatchFailsEvenWithValidContentAndPrefixesAreStripped)
{
    tdoc doc;
    Result r = decode("<docs><box name='a'/></docs>", doc);
    EXPECT_EQ(r.status, XB_ELEMENT_MISMATCH);
    EXPECT_EQ(r.errors.parameters(), (Params{"doc", "docs"}));
    EXPECT_EQ(doc.boxes.size(), 1u); // decoding went on

    tdoc prefixed;
    r = decode("<p:doc xmlns:p='urn:a' xmlns='urn:b' xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' "
               "xsi:type='p:T'><p:box name='a' xsi:nil='false'><q:value xmlns:q='urn:q'>v</q:value></p:box></p:doc>",
               prefixed);
    EXPECT_EQ(r.status, 0) << r.errors.info();
    ASSERT_EQ(prefixed.boxes.size(), 1u);
    EXPECT_EQ(prefixed.boxes[0].values, Params{"v"});

    // An empty root name accepts any root element.
    tdoc any;
    r = decode("<whatever><box name='a'/></whatever>", any, DecodeLimits(), "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(any.boxes.size(), 1u);
}

TEST(CodecDecoder, UnexpectedElementsAreSkippedWholeAndFailTheDecode)
{
    tdoc doc;
    Result r = decode("<doc><box name='a'/><junk><box name='inside'/><deeper><item id='x'/></deeper>text</junk>"
                      "<box name='b'/></doc>",
                      doc);
    EXPECT_EQ(r.status, XB_UNEXPECTED_ELEMENT);
    EXPECT_EQ(r.errors.parameters(), Params{"junk"});
    EXPECT_EQ(r.errors.count(), 1u); // nothing inside the skipped element was examined
    ASSERT_EQ(doc.boxes.size(), 2u);
    EXPECT_EQ(doc.boxes[1].name, "b");
    EXPECT_TRUE(doc.entries.empty());

    // A choice element must hold one alternative.
    for (const char* text : {"<doc><pick/></doc>", "<doc><pick>text only</pick></doc>", "<doc><pick><junk/></pick></doc>"}) {
        tdoc empty;
        r = decode(text, empty);
        EXPECT_EQ(r.errors.count(), std::string(text).find("junk") == std::string::npos ? 1u : 2u) << text;
        if (std::string(text).find("junk") == std::string::npos) {
            EXPECT_EQ(r.status, XB_MISSING_ELEMENT) << text;
            EXPECT_EQ(r.errors.parameters(), Params{"tchoice"});
        }
    }

    // The parameter is the name as written, prefix included.
    tdoc prefixed;
    r = decode("<doc><x:junk xmlns:x='u'/></doc>", prefixed);
    EXPECT_EQ(r.errors.parameters(), Params{"x:junk"});

    struct Case {
        const char* text;
        const char* element;
    };
    for (const Case& k : {Case{"<doc><note>a<b>x</b>c</note></doc>", "b"},        // child in simple content
                          Case{"<doc><item id='a'><sub/></item></doc>", "sub"},  // child in attribute-only type
                          Case{"<doc><box name='a'><value><v/></value></box></doc>", "v"}, // child in a text item
                          Case{"<doc><box name='a'><note/><note/></box></doc>", "note"},    // second single child
                          Case{"<doc><pick><item id='a'/><note/></pick></doc>", "note"},    // second alternative
                          Case{"<doc><pick><note/></pick><pick><note/></pick></doc>", "pick"}}) {
        tdoc d;
        r = decode(k.text, d);
        EXPECT_EQ(r.status, XB_UNEXPECTED_ELEMENT) << k.text;
        EXPECT_EQ(r.errors.parameters(), Params{k.element}) << k.text;
    }
}

TEST(CodecDecoder, AttributeRulesUnknownBadValueMissingAndIgnored)
{
    struct Case {
        const char* text;
        int status;
        Params params;
    };
    for (const Case& k : {
             Case{"<doc><box name='a' color='red'/></doc>", XB_INVALID_ATTRIBUTE, {"tbox", "color"}},
             Case{"<doc><item id='a' size='big'/></doc>", XB_INVALID_VALUE, {"titem", "size"}},
             Case{"<doc><item id='a' size='99999999999'/></doc>", XB_INVALID_VALUE, {"titem", "size"}},
             Case{"<doc><box/></doc>", XB_MISSING_ATTRIBUTE, {"tbox", "name"}},
             Case{"<doc><item size='1'/></doc>", XB_MISSING_ATTRIBUTE, {"titem", "id"}},
             Case{"<doc><box name='a'><value lang='x'>v</value></box></doc>", XB_INVALID_ATTRIBUTE,
                  {"tbox_value", "lang"}},
             Case{"<doc><box p:name='a' xmlns:p='u'/></doc>", XB_INVALID_ATTRIBUTE, {"tbox", "p:name"}},
             Case{"<doc><box name='a' xmlnsx='1'/></doc>", XB_INVALID_ATTRIBUTE, {"tbox", "xmlnsx"}},
             Case{"<doc size='1'/>", XB_INVALID_ATTRIBUTE, {"tdoc", "size"}},
         }) {
        tdoc doc;
        const Result r = decode(k.text, doc);
        EXPECT_EQ(r.status, k.status) << k.text;
        EXPECT_EQ(r.errors.parameters(), k.params) << k.text;
    }

    tdoc ok;
    const Result r = decode("<doc xmlns='u' xmlns:xsi='x' xsi:schemaLocation='l'><item xsi:type='t' id='a' "
                            "xmlns:z='q'/><box name='n'><value xsi:nil='false'>v</value></box></doc>",
                            ok);
    EXPECT_EQ(r.status, 0) << r.errors.info();

    // Several errors: the first one's status and parameters are kept, all are counted.
    tdoc many;
    const Result m = decode("<doc><box/><item id='a' size='x'/><junk/></doc>", many);
    EXPECT_EQ(m.status, XB_MISSING_ATTRIBUTE);
    EXPECT_EQ(m.errors.count(), 3u);
    EXPECT_NE(m.errors.info().find("3 errors"), std::string::npos) << m.errors.info();
}

TEST(CodecDecoder, SimpleContentKeepsWhiteSpaceAndContainersIgnoreText)
{
    tdoc doc;
    const Result r = decode("<doc>\n  loose text\n  <note>  two  words \n</note>"
                            "<note/><note></note><note>a &amp; b &#x41;<![CDATA[ <raw> ]]>z</note>"
                            "<box name='b'>ignored<value>  </value>ignored too</box></doc>",
                            doc);
    ASSERT_EQ(r.status, 0) << r.errors.info();
    ASSERT_EQ(doc.entries.size(), 4u);
    EXPECT_EQ(doc.entries[0].note()->text, "  two  words \n");
    EXPECT_EQ(doc.entries[1].note()->text, std::string()); // empty, but set
    EXPECT_EQ(doc.entries[2].note()->text, std::string());
    EXPECT_EQ(doc.entries[3].note()->text, "a & b A <raw> z");
    EXPECT_TRUE(r.cdata);
    EXPECT_EQ(doc.boxes[0].values, Params{"  "});
}

TEST(CodecDecoder, NothingAfterTheRootEndIsRead)
{
    for (const char* tail : {"trailing text", "<box name='late'/>", "<<<not xml", "<doc><box/></doc>",
                                   "\n<!DOCTYPE x [<!ENTITY a 'b'>]>"}) {
        tdoc doc;
        const Result r = decode(std::string("<doc><box name='a'/></doc>") + tail, doc);
        EXPECT_EQ(r.status, 0) << tail << ": " << r.errors.info();
        ASSERT_EQ(doc.boxes.size(), 1u) << tail;
        EXPECT_EQ(doc.boxes[0].name, "a");
    }
    // The input ends at its first NUL character.
    std::string withNul = "<doc><box name='a'/></doc>";
    withNul += '\0';
    withNul += "<box name='b'/>";
    tdoc doc;
    DecodeBuffer buffer(withNul);
    EXPECT_EQ(buffer.size(), withNul.find('\0'));
    doc_CC element(doc);
    EXPECT_EQ(element.decode(buffer), 0);
}

TEST(CodecDecoder, BufferKindAndParserStateStatuses)
{
    tdoc doc;
    doc_CC element(doc);
    EncodeBuffer encodeBuffer;
    EXPECT_EQ(element.decode(encodeBuffer), XB_NOT_DECODE_BUFFER);
    const std::string text = "<doc/>";
    DecodeBuffer decodeBuffer(text);
    EXPECT_EQ(element.encode(decodeBuffer), XB_NOT_DECODE_BUFFER);
    EXPECT_TRUE(decodeBuffer.errors().failed());

    // A decode uses the parser up; decoding the same buffer again finds none.
    DecodeBuffer once(text);
    EXPECT_TRUE(once.isInitialised());
    EXPECT_EQ(element.decode(once), 0);
    EXPECT_FALSE(once.isInitialised());
    EXPECT_EQ(element.decode(once), XB_NOT_INITIALISED);

    // A moved-from buffer has no parser either.
    DecodeBuffer source(text);
    DecodeBuffer target(std::move(source));
    EXPECT_EQ(element.decode(source), XB_NOT_INITIALISED); // NOLINT(bugprone-use-after-move)
    tdoc other;
    doc_CC otherElement(other);
    EXPECT_EQ(otherElement.decode(target), 0);
}

TEST(CodecDecoder, DocumentTypeDeclarationsAreRefusedBeforeAnyEntityIsExpanded)
{
    const std::string laughs = "<?xml version='1.0'?><!DOCTYPE doc [<!ENTITY a 'aaaaaaaaaa'>"
                               "<!ENTITY b '&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'><!ENTITY c '&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'>"
                               "<!ENTITY d '&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;'>]><doc><note>&d;&d;&d;</note></doc>";
    const std::string external = "<!DOCTYPE doc SYSTEM 'file:///etc/passwd'><doc><note>&x;</note></doc>";
    for (const std::string& text : {laughs, external}) {
        tdoc doc;
        const Result r = decode(text, doc);
        EXPECT_EQ(r.status, XB_FORBIDDEN_MARKUP);
        EXPECT_EQ(r.errors.parameters(), Params{"DOCTYPE doc"});
        EXPECT_EQ(r.errors.count(), 1u); // the abort adds no syntax error
        EXPECT_TRUE(doc.entries.empty());
    }
    // An entity reference without a declaration is a syntax error, never a lookup.
    tdoc doc;
    EXPECT_EQ(decode("<doc><note>&ext;</note></doc>", doc).status, XB_XML_SYNTAX);
}

TEST(CodecDecoder, LimitsStopTheParseAndNothingLaterReachesTheObjects)
{
    DecodeLimits limits;
    limits.maxDepth = 3;
    tdoc deep;
    Result r = decode("<doc><junk><a><b><c/></b></a></junk><box name='late'/></doc>", deep, limits);
    EXPECT_EQ(r.status, XB_UNEXPECTED_ELEMENT); // the first error stays first
    EXPECT_EQ(r.errors.count(), 2u);
    EXPECT_LT(r.skipAfter, 0);
    EXPECT_TRUE(deep.boxes.empty());

    tdoc deepOnly;
    std::string nested = "<doc>";
    for (int i = 0; i < 1000; ++i)
        nested += "<x>";
    r = decode(nested, deepOnly); // default limit, unfinished document
    EXPECT_EQ(r.status, XB_UNEXPECTED_ELEMENT);
    EXPECT_EQ(r.errors.count(), 2u);
    tdoc depthFirst;
    limits.maxDepth = 1;
    r = decode("<doc><box name='a'/></doc>", depthFirst, limits);
    EXPECT_EQ(r.status, XB_LIMIT_EXCEEDED);
    EXPECT_EQ(r.errors.parameters(), (Params{"depth", "1"}));
    EXPECT_TRUE(depthFirst.boxes.empty());

    DecodeLimits errors;
    errors.maxErrors = 3;
    std::string noisy = "<doc>";
    for (int i = 0; i < 10; ++i)
        noisy += "<box name='n' bad='1'/>";
    noisy += "</doc>";
    tdoc many;
    r = decode(noisy, many, errors);
    EXPECT_EQ(r.status, XB_INVALID_ATTRIBUTE);
    EXPECT_EQ(r.errors.count(), 3u);
    EXPECT_EQ(many.boxes.size(), 3u); // the fourth box was never started

    DecodeLimits text;
    text.maxTextBytes = 8;
    tdoc shortText;
    EXPECT_EQ(decode("<doc><note>12345678</note></doc>", shortText, text).status, 0);
    tdoc longText;
    r = decode("<doc><note>123456789</note><box name='late'/></doc>", longText, text);
    EXPECT_EQ(r.status, XB_LIMIT_EXCEEDED);
    EXPECT_EQ(r.errors.parameters(), (Params{"text", "8"}));
    EXPECT_FALSE(longText.entries.at(0).note()->text.has_value()); // never set
    EXPECT_TRUE(longText.boxes.empty());
    // Text outside simple content is never collected, so it is not bounded by the limit.
    tdoc looseText;
    EXPECT_EQ(decode("<doc>" + std::string(100, 'x') + "</doc>", looseText, text).status, 0);
}

TEST(CodecDecoder, ErrorInfoNamesTheStatusAndItsParameters)
{
    ErrorRecord record;
    EXPECT_EQ(record.info(), "");
    record.record(XB_INVALID_ATTRIBUTE, {"tbox", "color"});
    const std::string one = record.info();
    EXPECT_NE(one.find("-33"), std::string::npos);
    EXPECT_NE(one.find(statusText(XB_INVALID_ATTRIBUTE)), std::string::npos);
    EXPECT_NE(one.find("'tbox'"), std::string::npos);
    EXPECT_NE(one.find("'color'"), std::string::npos);
    record.record(XB_UNEXPECTED_ELEMENT, {"later"});
    EXPECT_EQ(record.status(), XB_INVALID_ATTRIBUTE);
    EXPECT_EQ(record.info().find("later"), std::string::npos);
    EXPECT_NE(record.info().find("2 errors"), std::string::npos);
    record.clear();
    EXPECT_FALSE(record.failed());
    EXPECT_EQ(record.status(), XB_OK);

    for (int status : {XB_ELEMENT_MISMATCH, XB_INVALID_CHOICE, XB_NOT_INITIALISED, XB_XML_SYNTAX,
                       XB_INVALID_ATTRIBUTE, XB_MISSING_ATTRIBUTE, XB_MISSING_ELEMENT, XB_UNEXPECTED_ELEMENT, XB_NOT_DECODE_BUFFER,
                       XB_INVALID_VALUE, XB_UNWRITABLE_TEXT, XB_FORBIDDEN_MARKUP, XB_LIMIT_EXCEEDED}) {
        EXPECT_STRNE(statusText(status), "") << status;
        ErrorRecord r;
        r.record(status, {"P1"});
        EXPECT_NE(r.info().find(std::to_string(status)), std::string::npos);
        EXPECT_NE(r.info().find("P1"), std::string::npos);
    }
}
