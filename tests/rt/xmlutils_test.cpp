#include <string>

#include <gtest/gtest.h>

#include <mox/rt/XmlUtils.h>

using MOX::Vector;
using MOX::RT::XmlUtils;

TEST(XmlUtilsWriters, ElementAndAttributeForms)
{
    EXPECT_EQ(XmlUtils::ToElement("a", ""), "<a/>");
    EXPECT_EQ(XmlUtils::ToElement("a", "<b/>"), "<a><b/></a>");
    const Vector<std::string> attrs = {XmlUtils::ToAttribute("x", "1"), XmlUtils::ToAttribute("y", "a\"<>&b")};
    EXPECT_EQ(XmlUtils::ToElement("p:a", "t", attrs), "<p:a x=\"1\" y=\"a&quot;&lt;&gt;&amp;b\">t</p:a>");
    EXPECT_EQ(XmlUtils::ToElement("a", "", attrs), "<a x=\"1\" y=\"a&quot;&lt;&gt;&amp;b\"/>");
    EXPECT_EQ(XmlUtils::Escape("a<b>&\"c\"\t\n\r"), "a&lt;b&gt;&amp;\"c\"\t\n\r");
    EXPECT_EQ(XmlUtils::Escape("a\"\t\n\r'", true), "a&quot;&#9;&#10;&#13;'");
    EXPECT_EQ(XmlUtils::Escape("\xc3\xa9\xe2\x82\xac", true), "\xc3\xa9\xe2\x82\xac");
}

TEST(XmlUtilsRoundTrip, AttributeValuesReadBackExactly)
{
    const std::string values[] = {
        "",
        "plain",
        "<tag attr=\"v\">&amp; '&'",
        "a > b",
        "tab\there\nnew line\r\ncrlf  two  spaces ",
        "\xc3\xa9t\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80",
        "]]> <!-- not a comment --> <![CDATA[x]]>",
    };
    for (const std::string& v : values) {
        const std::string element =
            XmlUtils::ToElement("item", XmlUtils::Escape(v), {XmlUtils::ToAttribute("k", v), XmlUtils::ToAttribute("j", "2")});
        EXPECT_EQ(XmlUtils::GetAttributeValue("k", element, "dflt"), v) << element;
        EXPECT_EQ(XmlUtils::GetAttributeValue("j", element), "2");
        EXPECT_EQ(XmlUtils::GetElement("item", element), element);
        EXPECT_EQ(XmlUtils::GetElementValue("item", element), XmlUtils::Escape(v));
        // The element found inside a larger text is the same exact text.
        const std::string doc = "<?xml version=\"1.0\"?>\n<root>\n  " + element + "\n</root>";
        EXPECT_EQ(XmlUtils::GetElement("item", doc), element);
        EXPECT_EQ(XmlUtils::GetAttributeValue("k", XmlUtils::GetElement("item", doc)), v);
    }
}

TEST(XmlUtilsReaders, NestedSameNameElementsAndExactSource)
{
    const std::string inner = "<a n=\"2\"><a n=\"3\"/></a>";
    const std::string outer = "<a n=\"1\" >text<!-- <a> --><![CDATA[</a><a>]]>" + inner + "tail</a >";
    const std::string text = "<x/>" + outer + "<a n=\"4\">four</a>";
    EXPECT_EQ(XmlUtils::GetElement("a", text), outer);
    EXPECT_EQ(XmlUtils::GetElementValue("a", text), "text<!-- <a> --><![CDATA[</a><a>]]>" + inner + "tail");
    EXPECT_EQ(XmlUtils::GetAttributeValue("n", text, "none"), "none");  // the first element is <x/>
    EXPECT_EQ(XmlUtils::GetAttributeValue("n", outer), "1");
    const Vector<std::string> all = XmlUtils::getElements("a", text);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0], outer);
    EXPECT_EQ(all[1], "<a n=\"4\">four</a>");
    EXPECT_EQ(XmlUtils::getElements("a", inner), Vector<std::string>({inner}));
    // Elements nested in a non-matching parent are found at any depth.
    EXPECT_EQ(XmlUtils::getElements("b", "<r><b>1</b><q><b/></q></r><b>3</b>"),
              Vector<std::string>({"<b>1</b>", "<b/>", "<b>3</b>"}));
    EXPECT_EQ(XmlUtils::GetElementValue("b", "<r><b/></r>"), "");
    EXPECT_EQ(XmlUtils::GetElementValue("b", "<b></b>"), "");
    EXPECT_EQ(XmlUtils::GetElement("b", "<r><b></b></r>"), "<b></b>");
    // Names are matched as written, prefix included.
    EXPECT_EQ(XmlUtils::GetElement("p:b", "<r xmlns:p=\"u\"><b>1</b><p:b>2</p:b></r>"), "<p:b>2</p:b>");
    EXPECT_EQ(XmlUtils::GetElement("b", "<r><p:b xmlns:p=\"u\">2</p:b></r>"), "");
    EXPECT_EQ(XmlUtils::GetElement("", "<a/>"), "");
    EXPECT_EQ(XmlUtils::GetElement("missing", "<a/>"), "");
    EXPECT_TRUE(XmlUtils::getElements("missing", "<a/>").empty());
    // A fragment element named like the parser's own wrapper is an ordinary element.
    EXPECT_EQ(XmlUtils::GetElement("mox-rt-fragment", "<mox-rt-fragment>x</mox-rt-fragment>"),
              "<mox-rt-fragment>x</mox-rt-fragment>");
}

TEST(XmlUtilsReaders, DeclarationsByteOrderMarkAndEncodings)
{
    const std::string element = "<v a=\"\xc3\xa9\">\xe2\x82\xac</v>";
    for (const std::string& prefix :
         {std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"), std::string("\xEF\xBB\xBF<?xml version='1.0'?>\n"),
          std::string("  \n<?xml version=\"1.0\" standalone=\"yes\" ?>  "), std::string("\xEF\xBB\xBF"),
          std::string("text before ")}) {
        const std::string text = prefix + element + "<v>second</v>";
        EXPECT_EQ(XmlUtils::GetElement("v", text), element) << prefix;
        EXPECT_EQ(XmlUtils::GetElementValue("v", text), "\xe2\x82\xac") << prefix;
        EXPECT_EQ(XmlUtils::getElements("v", text).size(), 2u) << prefix;
    }
    EXPECT_EQ(XmlUtils::GetAttributeValue("a", "<?xml version=\"1.0\"?>" + element), "\xc3\xa9");
    // A processing instruction that only looks like a declaration is not stripped as one.
    EXPECT_EQ(XmlUtils::GetElement("v", "<?xml-stylesheet href=\"s\"?>" + element), element);
    // Invalid UTF-8 is not well-formed.
    EXPECT_EQ(XmlUtils::GetElement("v", "<v>\xff</v>"), "");
}

TEST(XmlUtilsReaders, RefusesDocumentTypesAndEntities)
{
    const std::string dtd = "<!DOCTYPE v [<!ENTITY e \"expanded\">]><v a=\"&e;\">&e;</v>";
    EXPECT_EQ(XmlUtils::GetElement("v", dtd), "");
    EXPECT_EQ(XmlUtils::GetAttributeValue("a", dtd, "dflt"), "dflt");
    EXPECT_EQ(XmlUtils::GetElement("v", "<?xml version=\"1.0\"?>" + dtd), "");
    EXPECT_EQ(XmlUtils::GetElement("v", "<!DOCTYPE v SYSTEM \"file:///etc/passwd\"><v/>"), "");
    // Undeclared entities are an error; predefined and character references are fine.
    EXPECT_EQ(XmlUtils::GetAttributeValue("a", "<v a=\"&e;\"/>", "dflt"), "dflt");
    EXPECT_EQ(XmlUtils::GetAttributeValue("a", "<v a=\"&lt;&#65;&#x42;&apos;\"/>"), "<AB'");
}

TEST(XmlUtilsReaders, MalformedTextYieldsWhatEndedBeforeTheError)
{
    EXPECT_EQ(XmlUtils::GetElement("a", "<a>1</a><b><"), "<a>1</a>");
    EXPECT_EQ(XmlUtils::getElements("a", "<a>1</a><a>2</a><a>3"), Vector<std::string>({"<a>1</a>", "<a>2</a>"}));
    EXPECT_EQ(XmlUtils::GetElement("a", "<a>unclosed"), "");
    EXPECT_EQ(XmlUtils::GetElement("a", "<a></b>"), "");
    EXPECT_EQ(XmlUtils::GetElementValue("a", "<a x=1>v</a>"), "");
    EXPECT_EQ(XmlUtils::GetAttributeValue("x", "<a x=\"1\" x=\"2\"/>", "dup"), "dup");
    EXPECT_EQ(XmlUtils::GetElement("a", ""), "");
    EXPECT_EQ(XmlUtils::GetElement("a", "no markup at all"), "");
    // The answer is known before the error: the reader stops early.
    EXPECT_EQ(XmlUtils::GetAttributeValue("x", "<a x=\"1\"><broken"), "1");
    EXPECT_EQ(XmlUtils::GetElement("a", "<a/><?xml version=\"1.0\"?>"), "<a/>");
}

TEST(XmlUtilsReaders, IsXML)
{
    EXPECT_TRUE(XmlUtils::IsXML("<a/>"));
    EXPECT_TRUE(XmlUtils::IsXML(" \t\r\n<"));
    EXPECT_FALSE(XmlUtils::IsXML(""));
    EXPECT_FALSE(XmlUtils::IsXML("   "));
    EXPECT_FALSE(XmlUtils::IsXML("a<b/>"));
    EXPECT_FALSE(XmlUtils::IsXML("\xEF\xBB\xBF<a/>"));
}
