#include <mox/app.h>
#include <mox/rt/XmlUtils.h>

#include "AppTesting.h"
#include "data/application/impl/ProductIdImpl.h"

using MOX::APP::IProductId;
using MOX::APP::ProductIdImpl;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::RT::SmartPointer;
using MOX::RT::XmlUtils;

namespace {

SmartPointer<IProductId> product(const std::string& n, const std::string& c, const std::string& v)
{
    return SmartPointer<IProductId>(new ProductIdImpl(n, c, v));
}

} // namespace

TEST(ProductId, CreateChecksNameAndVersionButNotComponent)
{
    const auto p = MOX::createProductId("Suite", "", "2.0");
    EXPECT_EQ(p->getName(), "Suite");
    EXPECT_EQ(p->getComponent(), "");
    EXPECT_EQ(p->getVersion(), "2.0");

    for (const auto& args : {std::vector<std::string>{"", "c", "1"}, std::vector<std::string>{"n", "c", ""},
                             std::vector<std::string>{"", "", ""}}) {
        const auto e = apptest::expectThrow<InvalidArgumentException>(
            [&] { MOX::createProductId(args[0], args[1], args[2]); });
        apptest::expectFullForm(e, "InvalidArgumentException", -1006, apptest::kInvalidArguments,
                                "MOX::createProductId");
    }
}

TEST(ProductId, XmlFormHasNameComponentVersionInOrderAndReadsBack)
{
    const auto p = MOX::createProductId("A&B <\"x\">", "comp\tone", "1.2");
    const std::string xml = p->marshal();
    EXPECT_EQ(p->toString(), xml);
    EXPECT_EQ(XmlUtils::GetElement("product", xml), xml);
    const auto nameAt = xml.find("name=");
    const auto componentAt = xml.find("component=");
    const auto versionAt = xml.find("version=");
    ASSERT_NE(nameAt, std::string::npos);
    EXPECT_LT(nameAt, componentAt);
    EXPECT_LT(componentAt, versionAt);
    EXPECT_NE(versionAt, std::string::npos);

    const auto back = MOX::parseProductId(xml);
    EXPECT_FALSE(back.sharesWith(p)); // product ids are never shared
    EXPECT_EQ(back->getName(), "A&B <\"x\">");
    EXPECT_EQ(back->getComponent(), "comp\tone");
    EXPECT_EQ(back->getVersion(), "1.2");
}

TEST(ProductId, ParseDefaultsAndMissingName)
{
    const auto onlyName = MOX::parseProductId("<product name=\"Solo\"/>");
    EXPECT_EQ(onlyName->getName(), "Solo");
    EXPECT_EQ(onlyName->getComponent(), "");
    EXPECT_EQ(onlyName->getVersion(), "1.0");

    // The element is found inside other text, and only the first one counts.
    const auto nested = MOX::parseProductId(
        "<?xml version=\"1.0\"?><wrap><product name=\"In\" version=\"3\"/><product name=\"Second\"/></wrap>");
    EXPECT_EQ(nested->getName(), "In");
    EXPECT_EQ(nested->getVersion(), "3");

    for (const char* text : {"<product component=\"c\" version=\"9\"/>", "<other name=\"x\"/>", "not xml at all",
                             "<product name=\"\" version=\"2\"/>"}) {
        const auto p = MOX::parseProductId(text);
        EXPECT_EQ(p->getName(), "") << text;
        EXPECT_EQ(p->getComponent(), "") << text;
        EXPECT_EQ(p->getVersion(), "") << text;
    }

    const auto e = apptest::expectThrow<InvalidArgumentException>([] { MOX::parseProductId(""); });
    apptest::expectFullForm(e, "InvalidArgumentException", -1006, apptest::kInvalidArguments, "MOX::parseProductId");
}

TEST(ProductId, UnmarshalWithoutNameKeepsTheOldValue)
{
    ProductIdImpl p("Keep", "me", "7");
    p.unmarshal("<product component=\"new\" version=\"8\"/>");
    EXPECT_EQ(p.getName(), "Keep");
    EXPECT_EQ(p.getComponent(), "me");
    EXPECT_EQ(p.getVersion(), "7");
    p.unmarshal("<product name=\"New\"/>");
    EXPECT_EQ(p.getName(), "New");
    EXPECT_EQ(p.getComponent(), "");
    EXPECT_EQ(p.getVersion(), "1.0");
}

TEST(ProductId, OrdersByNameThenComponentThenVersionBytewise)
{
    const auto base = product("b", "m", "2");
    EXPECT_TRUE(product("a", "z", "9")->lessThan(*base));
    EXPECT_FALSE(base->lessThan(*product("a", "z", "9")));
    EXPECT_TRUE(product("b", "l", "9")->lessThan(*base));
    EXPECT_FALSE(product("b", "n", "0")->lessThan(*base));
    EXPECT_TRUE(product("b", "m", "10")->lessThan(*base)); // text, not numbers
    EXPECT_FALSE(product("b", "m", "2")->lessThan(*base));
    EXPECT_TRUE(product("B", "m", "2")->lessThan(*base)); // case-sensitive bytes
    EXPECT_FALSE(base->lessThan(*base));
}

TEST(ProductId, MatchesOwnFieldsAgainstTheOthersPatterns)
{
    const auto concrete = product("Suite", "core", "1.5");
    EXPECT_TRUE(concrete->matches(product("Suite", "core", "1.5")));
    EXPECT_TRUE(concrete->matches(product("S*", "c?re", "1.*")));
    EXPECT_TRUE(concrete->matches(product("*", "*", "*")));
    EXPECT_FALSE(concrete->matches(product("S*", "core", "2.*")));
    EXPECT_FALSE(concrete->matches(product("Suite", "c?", "1.5")));
    EXPECT_FALSE(concrete->matches(product("suite", "core", "1.5")));
    // The other's fields are the patterns, never the own ones.
    EXPECT_FALSE(product("S*", "*", "*")->matches(concrete));
    EXPECT_FALSE(concrete->matches(SmartPointer<IProductId>()));
}
