#include <mox/app.h>
#include <mox/rt/XmlUtils.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationIdImpl.h"
#include "data/application/impl/ApplicationRegistry.h"

using MOX::APP::ApplicationIdImpl;
using MOX::APP::ApplicationRegistry;
using MOX::APP::IApplicationId;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::EXCEPTIONS::NullPointerException;
using MOX::RT::SmartPointer;
using MOX::RT::XmlUtils;

namespace {

std::size_t registered() { return ApplicationRegistry::instance().size(); }

} // namespace

TEST(ApplicationId, EquivalentIdsAreOneRegisteredInstanceWithOneApplication)
{
    const std::size_t before = registered();
    const auto a = MOX::createApplicationId(MOX::createProductId("P", "c", "1"), "app");
    const auto b = MOX::createApplicationId(MOX::createProductId("P", "c", "1"), "app");
    EXPECT_TRUE(a.sharesWith(b));
    ASSERT_FALSE(a->getApplication().isNull());
    EXPECT_TRUE(a->getApplication().sharesWith(b->getApplication()));
    EXPECT_TRUE(a->getApplication()->getApplicationId().sharesWith(a));
    EXPECT_TRUE(MOX::getApplication(a).sharesWith(a->getApplication()));

    const auto otherName = MOX::createApplicationId(MOX::createProductId("P", "c", "1"), "app2");
    const auto otherVersion = MOX::createApplicationId(MOX::createProductId("P", "c", "2"), "app");
    EXPECT_FALSE(otherName.sharesWith(a));
    EXPECT_FALSE(otherVersion.sharesWith(a));
    EXPECT_FALSE(otherName->getApplication().sharesWith(a->getApplication()));
    EXPECT_EQ(registered(), before + 3);

    // Parsing the same text twice, or the text of a created id, gives the same instance.
    const std::string text = a->marshal();
    const auto parsed1 = MOX::parseApplicationId(text);
    const auto parsed2 = MOX::parseApplicationId(text);
    EXPECT_TRUE(parsed1.sharesWith(a));
    EXPECT_TRUE(parsed2.sharesWith(a));
    EXPECT_EQ(registered(), before + 3);
}

TEST(ApplicationId, XmlFormIsAppIdWithNameAndTheProductInside)
{
    const auto product = MOX::createProductId("Prod \"q\"", "", "4.1");
    const auto id = MOX::createApplicationId(product, "my <app>");
    const std::string xml = id->marshal();
    EXPECT_EQ(id->toString(), xml);
    EXPECT_EQ(XmlUtils::GetElement("app-id", xml), xml);
    EXPECT_EQ(XmlUtils::GetAttributeValue("name", xml), "my <app>");
    EXPECT_EQ(XmlUtils::GetElementValue("app-id", xml), product->marshal());
    EXPECT_TRUE(id->getProductId().sharesWith(product));
    EXPECT_EQ(id->getName(), "my <app>");

    // An id without a product cannot be written.
    ApplicationIdImpl empty;
    const auto e = apptest::expectThrow<NullPointerException>([&] { empty.marshal(); });
    EXPECT_EQ(e.getCode(), -1004);
    EXPECT_TRUE(empty.getApplication().isNull());
}

TEST(ApplicationId, FailuresRegisterNothing)
{
    const std::size_t before = registered();

    auto e = apptest::expectThrow<InvalidArgumentException>(
        [] { MOX::createApplicationId(SmartPointer<MOX::APP::IProductId>(), "x"); });
    apptest::expectFullForm(e, "InvalidArgumentException", -1006, apptest::kInvalidArguments,
                            "MOX::createApplicationId");

    e = apptest::expectThrow<InvalidArgumentException>([] { MOX::parseApplicationId(""); });
    apptest::expectFullForm(e, "InvalidArgumentException", -1006, apptest::kInvalidArguments,
                            "MOX::parseApplicationId");

    // No product element (or no app-id at all, or broken XML): the product text is empty,
    // so the product parser's exception comes out.
    for (const char* text : {"<app-id name=\"a\"/>", "<app-id name=\"a\"><other/></app-id>", "plain text",
                             "<product name=\"P\"/>", "<app-id name=\"a\"><product name=\"P\""}) {
        e = apptest::expectThrow<InvalidArgumentException>([&] { MOX::parseApplicationId(text); });
        apptest::expectFullForm(e, "InvalidArgumentException", -1006, apptest::kInvalidArguments,
                                "MOX::parseProductId");
    }
    EXPECT_EQ(registered(), before);

    // A failed unmarshal leaves the id as it was.
    ApplicationIdImpl id(MOX::createProductId("Keep", "", "1"), "kept");
    EXPECT_THROW(id.unmarshal("<app-id name=\"changed\"/>"), InvalidArgumentException);
    EXPECT_EQ(id.getName(), "kept");
    EXPECT_EQ(id.getProductId()->getName(), "Keep");
}

TEST(ApplicationId, ParseReadsNameAndProductAndAcceptsAnUnnamedProduct)
{
    const auto id = MOX::parseApplicationId(
        "<?xml version=\"1.0\"?><app-id name=\"svc\"><product name=\"Suite\" component=\"db\"/></app-id>");
    EXPECT_EQ(id->getName(), "svc");
    EXPECT_EQ(id->getProductId()->getName(), "Suite");
    EXPECT_EQ(id->getProductId()->getComponent(), "db");
    EXPECT_EQ(id->getProductId()->getVersion(), "1.0");
    EXPECT_TRUE(id.sharesWith(MOX::createApplicationId(MOX::createProductId("Suite", "db", "1.0"), "svc")));

    // A product element without a name gives a product with empty fields, no error; an
    // app-id without a name attribute gets the empty name.
    const auto unnamed = MOX::parseApplicationId("<app-id><product version=\"5\"/></app-id>");
    EXPECT_EQ(unnamed->getName(), "");
    EXPECT_EQ(unnamed->getProductId()->getName(), "");
    EXPECT_EQ(unnamed->getProductId()->getVersion(), "");
    EXPECT_FALSE(unnamed->getApplication().isNull());
}

TEST(ApplicationId, OrdersByProductFieldsThenName)
{
    const auto id = [](const char* n, const char* c, const char* v, const char* name) {
        return SmartPointer<IApplicationId>(new ApplicationIdImpl(MOX::createProductId(n, c, v), name));
    };
    const auto base = id("P", "m", "2", "n");
    EXPECT_TRUE(id("O", "z", "9", "z")->lessThan(*base));   // product name first
    EXPECT_TRUE(id("P", "a", "9", "z")->lessThan(*base));   // then component
    EXPECT_TRUE(id("P", "m", "1", "z")->lessThan(*base));   // then version
    EXPECT_FALSE(id("P", "m", "3", "a")->lessThan(*base));  // version decides before name
    EXPECT_TRUE(id("P", "m", "2", "a")->lessThan(*base));   // equal products: by name
    EXPECT_FALSE(id("P", "m", "2", "n")->lessThan(*base));
    EXPECT_FALSE(base->lessThan(*base));

    // The same product object, or a missing product, orders by name alone.
    const auto shared = MOX::createProductId("S", "", "1");
    ApplicationIdImpl x(shared, "b"), y(shared, "a"), noProduct;
    EXPECT_TRUE(y.lessThan(x));
    EXPECT_FALSE(x.lessThan(y));
    EXPECT_TRUE(noProduct.lessThan(x)); // "" < "b"
    EXPECT_FALSE(x.lessThan(noProduct));
}
