// Product ids and application ids: creation, XML forms, parsing, order, matching, and
// the registry that makes equivalent application ids one instance.
#include <tuple>

#include <mox/app.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationIdImpl.h"
#include "data/application/impl/ApplicationRegistry.h"
#include "data/application/impl/ProductIdImpl.h"

using MOX::APP::ApplicationIdImpl;
using MOX::APP::IApplicationId;
using MOX::APP::IProductId;
using MOX::APP::ProductIdImpl;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::RT::SmartPointer;

namespace {
SmartPointer<IProductId> product(const std::string& n, const std::string& c, const std::string& v)
{
    return SmartPointer<IProductId>(new ProductIdImpl(n, c, v));
}
std::string fields(const MOX::APP::IProductId& p) { return p.getName() + "|" + p.getComponent() + "|" + p.getVersion(); }
std::size_t registered() { return MOX::APP::ApplicationRegistry::instance().size(); }
} // namespace

TEST(ProductId, CreateParseAndUnmarshal)
{
    EXPECT_EQ(fields(*MOX::createProductId("Suite", "", "2.0")), "Suite||2.0"); // the component may be empty
    for (const auto& [n, c, v] : {std::make_tuple("", "c", "1"), std::make_tuple("n", "c", ""), std::make_tuple("", "", "")})
        EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(
            [&] { MOX::createProductId(n, c, v); }, -1006, "MOX::createProductId"));
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>([] { MOX::parseProductId(""); }, -1006,
                                                                              "MOX::parseProductId"));

    // Escaped text reads back into a new object; defaults; the first element inside other text.
    const auto p = MOX::createProductId("A&B <\"x\">", "comp\tone", "1.2");
    const auto back = MOX::parseProductId(p->marshal());
    EXPECT_FALSE(back.sharesWith(p));
    EXPECT_EQ(fields(*back), "A&B <\"x\">|comp\tone|1.2");
    const std::pair<const char*, const char*> rows[] = {
        {"<?xml version=\"1.0\"?><wrap><product name=\"In\"/><product name=\"Second\"/></wrap>", "In||1.0"},
        {"<product component=\"c\" version=\"9\"/>", "||"}, {"not xml at all", "||"},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(fields(*MOX::parseProductId(text)), expected) << text;

    // Unmarshalling text without a name keeps the old value.
    ProductIdImpl kept("Keep", "me", "7");
    kept.unmarshal("<product component=\"new\" version=\"8\"/>");
    EXPECT_EQ(fields(kept), "Keep|me|7");
    kept.unmarshal("<product name=\"New\"/>");
    EXPECT_EQ(fields(kept), "New||1.0");
}

TEST(ProductId, OrderIsBytewiseByFieldAndMatchingUsesTheOthersPatterns)
{
    const auto base = product("b", "m", "2");
    const std::pair<SmartPointer<IProductId>, bool> less[] = {
        {product("a", "z", "9"), true}, {product("b", "l", "9"), true}, {product("b", "n", "0"), false},
        {product("b", "m", "10"), true}, {product("b", "m", "2"), false}};
    for (const auto& [p, expected] : less)
        EXPECT_EQ(p->lessThan(*base), expected) << fields(*p);
    EXPECT_FALSE(base->lessThan(*product("a", "z", "9")) || base->lessThan(*base));

    const auto concrete = product("Suite", "core", "1.5");
    const std::pair<SmartPointer<IProductId>, bool> matches[] = {
        {product("S*", "c?re", "1.*"), true}, {product("S*", "core", "2.*"), false},
        {product("Suite", "c?", "1.5"), false}, {SmartPointer<IProductId>(), false}};
    for (const auto& [pattern, expected] : matches)
        EXPECT_EQ(concrete->matches(pattern), expected) << (pattern.isNull() ? "null" : fields(*pattern));
    EXPECT_FALSE(product("S*", "*", "*")->matches(concrete)); // never the own fields as patterns
}

TEST(ApplicationId, EquivalentIdsAreOneRegisteredInstanceWithOneApplication)
{
    const std::size_t before = registered();
    const auto a = MOX::createApplicationId(MOX::createProductId("P", "c", "1"), "app");
    const auto b = MOX::createApplicationId(MOX::createProductId("P", "c", "1"), "app");
    EXPECT_TRUE(a.sharesWith(b));
    ASSERT_FALSE(a->getApplication().isNull());
    EXPECT_TRUE(a->getApplication().sharesWith(b->getApplication()));
    EXPECT_TRUE(MOX::getApplication(a).sharesWith(a->getApplication()));
    const auto otherName = MOX::createApplicationId(MOX::createProductId("P", "c", "1"), "app2");
    const auto otherVersion = MOX::createApplicationId(MOX::createProductId("P", "c", "2"), "app");
    EXPECT_FALSE(otherName.sharesWith(a) || otherVersion.sharesWith(a));
    EXPECT_FALSE(otherName->getApplication().sharesWith(a->getApplication()));
    // Parsing the text of a created id gives the same instance.
    EXPECT_TRUE(MOX::parseApplicationId(a->marshal()).sharesWith(a));
    EXPECT_EQ(registered(), before + 3);

    const auto id = MOX::parseApplicationId(
        "<?xml version=\"1.0\"?><app-id name=\"svc\"><product name=\"Suite\" component=\"db\"/></app-id>");
    EXPECT_EQ(id->getName() + "/" + fields(*id->getProductId()), "svc/Suite|db|1.0");
    EXPECT_TRUE(id.sharesWith(MOX::createApplicationId(MOX::createProductId("Suite", "db", "1.0"), "svc")));
    // A product element without a name gives empty fields, no error; no name attribute, the empty name.
    const auto unnamed = MOX::parseApplicationId("<app-id><product version=\"5\"/></app-id>");
    EXPECT_EQ(unnamed->getName() + "/" + fields(*unnamed->getProductId()), "/||");
    EXPECT_FALSE(unnamed->getApplication().isNull());
}

TEST(ApplicationId, FailuresRegisterNothingAndChangeNothing)
{
    const std::size_t before = registered();
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(
        [] { MOX::createApplicationId(SmartPointer<IProductId>(), "x"); }, -1006, "MOX::createApplicationId"));
    EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>([] { MOX::parseApplicationId(""); },
                                                                              -1006, "MOX::parseApplicationId"));
    // No product element (or no app-id at all): the product text is empty, so the product
    // parser's exception comes out. Broken XML is refused by the reader itself.
    EXPECT_THROW(MOX::parseApplicationId("<app-id name=\"a\"><product name=\"P\""),
                 MOX::EXCEPTIONS::SerializationException);
    for (const char* text : {"<app-id name=\"a\"/>", "plain text"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(
            [&] { MOX::parseApplicationId(text); }, -1006, "MOX::parseProductId"));
    }
    EXPECT_EQ(registered(), before);

    ApplicationIdImpl id(MOX::createProductId("Keep", "", "1"), "kept");
    EXPECT_THROW(id.unmarshal("<app-id name=\"changed\"/>"), InvalidArgumentException);
    EXPECT_EQ(id.getName() + "/" + id.getProductId()->getName(), "kept/Keep");
    // An id without a product cannot be written.
    EXPECT_EQ(apptest::failure([] { ApplicationIdImpl().marshal(); }).substr(0, 26), "NullPointerException -1004");
}

TEST(ApplicationId, OrdersByProductFieldsThenName)
{
    const auto id = [](const char* n, const char* c, const char* v, const char* name) {
        return SmartPointer<IApplicationId>(new ApplicationIdImpl(MOX::createProductId(n, c, v), name));
    };
    const auto base = id("P", "m", "2", "n");
    const std::pair<SmartPointer<IApplicationId>, bool> less[] = {
        {id("O", "z", "9", "z"), true},  // product name first
        {id("P", "a", "9", "z"), true},  // then component
        {id("P", "m", "1", "z"), true},  // then version
        {id("P", "m", "3", "a"), false}, // version decides before name
        {id("P", "m", "2", "a"), true},  // equal products: by name
        {base, false}};
    for (const auto& [other, expected] : less)
        EXPECT_EQ(other->lessThan(*base), expected) << other->marshal();
    // The same product object, or a missing product, orders by name alone.
    const auto shared = MOX::createProductId("S", "", "1");
    ApplicationIdImpl x(shared, "b"), y(shared, "a"), noProduct;
    EXPECT_TRUE(y.lessThan(x) && noProduct.lessThan(x)); // "" < "b"
    EXPECT_FALSE(x.lessThan(y) || x.lessThan(noProduct));
}
