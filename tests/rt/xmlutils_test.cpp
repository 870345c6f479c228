// SPDX-License-Identifier: MIT
#include <string>

#include <gtest/gtest.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/XmlUtils.h>

using MOX::Vector;
using MOX::RT::XmlUtils;

TEST(XmlUtils, WritersEscape)
{
    const Vector<std::string> attrs = {XmlUtils::ToAttribute("x", "1"), XmlUtils::ToAttribute("y", "a\"<>&b")};
    EXPECT_EQ(XmlUtils::ToElement("p:a", "t", attrs), "<p:a x=\"1\" y=\"a&quot;&lt;&gt;&amp;b\">t</p:a>");
    EXPECT_EQ(XmlUtils::ToElement("a", ""), "<a/>");
    EXPECT_EQ(XmlUtils::Escape("a<b>&\"c\"\t\n\r"), "a&lt;b&gt;&amp;\"c\"\t\n&#13;");
    EXPECT_EQ(XmlUtils::Escape("a\"\t\n\r'\xc3\xa9", true), "a&quot;&#9;&#10;&#13;'\xc3\xa9");
}

TEST(XmlUtils, ReadersReadBackWhatWritersEscapedExactly)
{
    const std::string v = "<t a=\"v\">&amp; '&'\t\r\n ]]> <!-- x --> <![CDATA[x]]>";
    const std::string element = XmlUtils::ToElement("item", XmlUtils::Escape(v), {XmlUtils::ToAttribute("k", v)});
    const std::string doc = "<?xml version=\"1.0\"?>\n<root>\n  " + element + "\n</root>";
    EXPECT_EQ(XmlUtils::GetElement("item", doc), element); // the exact source text
    EXPECT_EQ(XmlUtils::GetAttributeValue("k", element, "dflt"), v);
    EXPECT_EQ(XmlUtils::GetElementValue("item", doc), XmlUtils::Escape(v));
}

TEST(XmlUtils, NestedSameNameElements)
{
    const std::string inner = "<a n=\"2\"><a n=\"3\"/></a>";
    const std::string outer = "<a n=\"1\" >text<!-- <a> --><![CDATA[</a><a>]]>" + inner + "tail</a >";
    const std::string text = "<x/>" + outer + "<a n=\"4\">four</a>";
    EXPECT_EQ(XmlUtils::GetElementValue("a", text), "text<!-- <a> --><![CDATA[</a><a>]]>" + inner + "tail");
    EXPECT_EQ(XmlUtils::GetAttributeValue("n", text, "none"), "none");  // the first element is <x/>
    EXPECT_EQ(XmlUtils::getElements("a", text), Vector<std::string>({outer, "<a n=\"4\">four</a>"}));
}

TEST(XmlUtils, NamesMatchAsWrittenPrefixIncluded)
{
    // No match is the empty text.
    EXPECT_EQ(XmlUtils::GetElement("p:b", "<r xmlns:p=\"u\"><b>1</b><p:b>2</p:b></r>"), "<p:b>2</p:b>");
    EXPECT_EQ(XmlUtils::GetElement("b", "<r><p:b xmlns:p=\"u\">2</p:b></r>"), "");
}

TEST(XmlUtils, ReadersSkipWhatPrecedesTheFirstElement)
{
    const std::string element = "<v a=\"\xc3\xa9\">\xe2\x82\xac</v>";
    for (const std::string prefix : {"\xEF\xBB\xBF<?xml version='1.0'?>\n", "text before "})
        EXPECT_EQ(XmlUtils::getElements("v", prefix + element + "<v>2</v>"), Vector<std::string>({element, "<v>2</v>"}));
}

TEST(XmlUtils, ReadersRaiseOnMalformedTextOnlyWhenTheAnswerIsIncomplete)
{
    // A reader whose answer is not complete when the parser meets an error raises; what
    // ended before the error is still an answer.
    const struct { const char *name, *text, *found; } elements[] = {
        {"v", "<v>\xff</v>", nullptr},  // invalid UTF-8
        {"v", "<!DOCTYPE v [<!ENTITY e \"expanded\">]><v>&e;</v>", nullptr},
        {"a", "<a>1</a><b><", "<a>1</a>"},
        {"a", "<a/><?xml version=\"1.0\"?>", "<a/>"}};
    for (const auto& r : elements) {
        if (r.found != nullptr)
            EXPECT_EQ(XmlUtils::GetElement(r.name, r.text), r.found) << r.text;
        else
            EXPECT_THROW(XmlUtils::GetElement(r.name, r.text), MOX::EXCEPTIONS::SerializationException) << r.text;
    }
    EXPECT_THROW(XmlUtils::getElements("a", "<a>1</a><a>2</a><a>3"), MOX::EXCEPTIONS::SerializationException);
    EXPECT_THROW(XmlUtils::GetElementValue("a", "<a x=1>v</a>"), MOX::EXCEPTIONS::SerializationException);
    const struct { const char *text, *value; } attributes[] = {
        {"<v a=\"&e;\"/>", nullptr}, {"<v a=\"&lt;&#65;&#x42;&apos;\"/>", "<AB'"}, {"<v a=\"1\" a=\"2\"/>", nullptr},
        {"<v a=\"1\"><broken", "1"}, {"<v b=\"1\"/>", "dflt"}};
    for (const auto& r : attributes) {
        if (r.value != nullptr)
            EXPECT_EQ(XmlUtils::GetAttributeValue("a", r.text, "dflt"), r.value) << r.text;
        else
            EXPECT_THROW(XmlUtils::GetAttributeValue("a", r.text, "dflt"), MOX::EXCEPTIONS::SerializationException)
                << r.text;
    }
}

TEST(XmlUtils, IsXmlLooksForATagAfterWhiteSpace)
{
    EXPECT_TRUE(XmlUtils::IsXML(" \t\r\n<"));
    EXPECT_FALSE(XmlUtils::IsXML("   "));
    EXPECT_FALSE(XmlUtils::IsXML("a<b/>"));
}

TEST(XmlUtils, WritersRefuseWhatXmlCannotCarry)
{
    // Control characters, broken or overlong UTF-8, surrogates and the two non-characters.
    for (const std::string& bad : std::initializer_list<std::string>{"a\x01" "b", std::string("a\0b", 3), "\xc3", "\xc0\x80",
                                  "\xed\xa0\x80", "\xef\xbf\xbe", "\xf4\x90\x80\x80"}) {
        std::string out = "kept";
        EXPECT_FALSE(XmlUtils::AppendEscaped(out, bad.data(), bad.size(), true));
        EXPECT_EQ(out, "kept");
        EXPECT_THROW(XmlUtils::ToAttribute("a", bad), MOX::EXCEPTIONS::SerializationException);
    }
    // \x7f (DEL) and the highest characters are allowed.
    std::string out;
    EXPECT_TRUE(XmlUtils::AppendEscaped(out, "\x7f\xf4\x8f\xbf\xbf\xef\xbf\xbd", 8, false));
}

TEST(XmlUtils, NamesAreXmlNamesTheReaderTakes)
{
    // Names whose qualified reading the hostile name round trips already decide are left to them.
    const struct { const char* name; bool qualified, plain; } cases[] = {
        {"_x.-9\xc2\xb7", true, true}, {"p:a", true, true}, {"a:b:c", false, true}, {":a", false, true},
        {"a:", false, true}, {"-x", false, false}, {".x", false, false}, {"a=\"", false, false}, {"a\xc3", false, false},
        {"\xed\xa0\x80", false, false}, {"x\xc3\x97", false, false}, {"\xcc\x80x", false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(XmlUtils::IsName(c.name), c.qualified);
        EXPECT_EQ(XmlUtils::IsName(c.name, false), c.plain);
    }
    // The refusal names the text, in printable ASCII.
    try {
        XmlUtils::ToElement("a\xff b", "");
        ADD_FAILURE();
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), -1006);
        EXPECT_EQ(e.getDetail(), "not an XML name: \"a\\xff b\"");
        EXPECT_EQ(e.getFunction(), "MOX::RT::XmlUtils::ToElement");
    }
}

TEST(XmlUtils, WritersRefuseWhatTheReadersLimitsRefuse)
{
    Vector<std::string> attributes;
    for (int i = 0; i < 64; ++i)
        attributes.push_back(XmlUtils::ToAttribute("a" + std::to_string(i), "v"));
    EXPECT_EQ(XmlUtils::GetAttributeValue("a63", XmlUtils::ToElement("e", "", attributes)), "v");
    attributes.push_back(XmlUtils::ToAttribute("a64", "v"));
    EXPECT_THROW(XmlUtils::ToElement("e", "", attributes), MOX::EXCEPTIONS::SerializationException);
    EXPECT_THROW(XmlUtils::ToAttribute("a", std::string((16u << 20) + 1, 'v')), MOX::EXCEPTIONS::SerializationException);
}
