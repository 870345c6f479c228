// Product ids and application ids: creation, XML forms, parsing, order, matching, and
// the registry that makes equivalent application ids one instance.
#include <functional>
#include <tuple>

#include <mox/app.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationIdImpl.h"
#include "data/application/impl/ApplicationRegistry.h"
#include "data/application/impl/ProductIdImpl.h"

using MOX::APP::ApplicationIdImpl;
using MOX::APP::IApplicationId;
using MOX::APP::IProductId;
using MOX::EXCEPTIONS::InvalidArgumentException;
using MOX::RT::SmartPointer;

namespace {
SmartPointer<IProductId> product(const char* n, const char* c, const char* v)
{
    return SmartPointer<IProductId>(new MOX::APP::ProductIdImpl(n, c, v));
}
std::string fields(const IProductId& p) { return p.getName() + "|" + p.getComponent() + "|" + p.getVersion(); }
std::size_t registered() { return MOX::APP::ApplicationRegistry::instance().size(); }
} // namespace

TEST(ProductId, ParseReadsTheFirstElementAndOrderAndMatchGoByField)
{
    const auto p = MOX::createProductId("A&B <\"x\">", "comp\tone", "1.2");
    EXPECT_EQ(fields(*MOX::parseProductId(p->marshal())), fields(*p));
    const std::pair<const char*, const char*> rows[] = {
        {"<wrap><product name=\"In\"/><product name=\"Second\"/></wrap>", "In||1.0"}, // defaults
        {"<product component=\"c\" version=\"9\"/>", "||"}, {"not xml at all", "||"}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(fields(*MOX::parseProductId(text)), expected) << text;

    const auto base = product("b", "m", "2");
    const std::pair<SmartPointer<IProductId>, bool> less[] = {
        {product("a", "z", "9"), true}, {product("b", "l", "9"), true}, {product("b", "n", "0"), false},
        {product("b", "m", "10"), true}, {product("b", "m", "2"), false}};
    for (const auto& [other, expected] : less)
        EXPECT_EQ(other->lessThan(*base), expected) << fields(*other);
    const auto concrete = product("Suite", "core", "1.5");
    const std::pair<SmartPointer<IProductId>, bool> matches[] = {
        {product("S*", "c?re", "1.*"), true}, {product("S*", "core", "2.*"), false}, {SmartPointer<IProductId>(), false}};
    for (const auto& [pattern, expected] : matches)
        EXPECT_EQ(concrete->matches(pattern), expected) << (pattern ? fields(*pattern) : "null");
    EXPECT_FALSE(product("S*", "*", "*")->matches(concrete)); // never the own fields as patterns
}

TEST(ApplicationId, EquivalentIdsAreOneRegisteredInstanceWithOneApplication)
{
    const std::size_t before = registered();
    const auto a = MOX::createApplicationId(MOX::createProductId("P", "c", "1"), "app");
    EXPECT_TRUE(a.sharesWith(MOX::createApplicationId(MOX::createProductId("P", "c", "1"), "app")));
    EXPECT_TRUE(MOX::parseApplicationId(a->marshal()).sharesWith(a));
    EXPECT_TRUE(MOX::getApplication(a).sharesWith(a->getApplication()));
    const auto otherVersion = MOX::createApplicationId(MOX::createProductId("P", "c", "2"), "app");
    EXPECT_FALSE(otherVersion.sharesWith(a) || otherVersion->getApplication().sharesWith(a->getApplication()));
    EXPECT_EQ(registered(), before + 2);
    const auto unnamed = MOX::parseApplicationId("<app-id><product version=\"5\"/></app-id>"); // no error
    EXPECT_EQ(unnamed->getName() + "/" + fields(*unnamed->getProductId()), "/||");
}

TEST(ApplicationId, FailuresRegisterNothingAndChangeNothing)
{
    const std::size_t before = registered();
    const std::tuple<std::function<void()>, int, const char*> rows[] = {
        {[] { MOX::createProductId("", "c", "1"); }, -1006, "MOX::createProductId"},
        {[] { MOX::createProductId("n", "c", ""); }, -1006, "MOX::createProductId"},
        {[] { MOX::parseProductId(""); }, -1006, "MOX::parseProductId"},
        {[] { MOX::createApplicationId(SmartPointer<IProductId>(), "x"); }, -1006, "MOX::createApplicationId"},
        {[] { MOX::parseApplicationId(""); }, -1006, "MOX::parseApplicationId"},
        // No product element: the product text is empty, so the product parser's exception comes out.
        {[] { MOX::parseApplicationId("<app-id name=\"a\"/>"); }, -1006, "MOX::parseProductId"},
        {[] { MOX::parseApplicationId("<app-id name=\"a\"><product name=\"P\""); }, -1006, "MOX::parseProductId"}};
    for (const auto& [f, code, function] : rows)
        EXPECT_TRUE(moxtest::throwsMox<InvalidArgumentException>(f, code, function)) << function;
    EXPECT_EQ(registered(), before);
    ApplicationIdImpl id(MOX::createProductId("Keep", "", "1"), "kept");
    EXPECT_THROW(id.unmarshal("<app-id name=\"changed\"/>"), InvalidArgumentException);
    EXPECT_EQ(id.getName(), "kept");
    // An id without a product cannot be written.
    EXPECT_TRUE(moxtest::throwsMox([] { ApplicationIdImpl().marshal(); }, -1004));
}

TEST(ApplicationId, OrdersByProductFieldsThenName)
{
    const auto id = [](const char* n, const char* v, const char* name) {
        return SmartPointer<IApplicationId>(new ApplicationIdImpl(MOX::createProductId(n, "m", v), name));
    };
    const auto base = id("P", "2", "n");
    const std::pair<SmartPointer<IApplicationId>, bool> less[] = {
        {id("O", "9", "z"), true}, {id("P", "1", "z"), true},
        {id("P", "3", "a"), false}, // version decides before name
        {id("P", "2", "a"), true}, {base, false}};
    for (const auto& [other, expected] : less)
        EXPECT_EQ(other->lessThan(*base), expected) << other->marshal();
    ApplicationIdImpl x(MOX::createProductId("S", "", "1"), "b"), noProduct; // a missing product: by name alone
    EXPECT_TRUE(noProduct.lessThan(x) && !x.lessThan(noProduct));
}
