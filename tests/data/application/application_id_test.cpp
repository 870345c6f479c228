// Product ids and application ids: creation, XML forms, parsing, order, matching, and
// the registry that makes equivalent application ids one instance.
#include <functional>
#include <tuple>

#include <mox/app.h>

#include "AppTesting.h"
#include "data/application/impl/ApplicationIdImpl.h"
#include "data/application/impl/ApplicationRegistry.h"

using MOX::APP::ApplicationIdImpl;
using MOX::APP::IApplicationId;
using MOX::APP::IProductId;
using MOX::RT::SmartPointer;

namespace {
std::string fields(const IProductId& p) { return p.getName() + "|" + p.getComponent() + "|" + p.getVersion(); }
std::size_t registered() { return MOX::APP::ApplicationRegistry::instance().size(); }
} // namespace

TEST(ProductId, ParseReadsTheFirstElementAndOrderAndMatchGoByField)
{
    const auto p = MOX::createProductId("A&B <\"x\">", "comp\tone", "1.2");
    EXPECT_EQ(fields(*MOX::parseProductId(p->marshal())), fields(*p));
    EXPECT_EQ(fields(*MOX::parseProductId("<w><product name=\"In\"/><product name=\"2\"/></w>")), "In||1.0");
    EXPECT_EQ(fields(*MOX::parseProductId("<product component=\"c\" version=\"9\"/>")), "||");
    const auto base = MOX::createProductId("b", "m", "2");
    for (const auto& [n, c, v, less] : {std::make_tuple("a", "z", "9", true), std::make_tuple("b", "l", "9", true),
                                        std::make_tuple("b", "n", "0", false), std::make_tuple("b", "m", "10", true)})
        EXPECT_EQ(MOX::createProductId(n, c, v)->lessThan(*base), less) << n << c << v;
    const auto concrete = MOX::createProductId("Suite", "core", "1.5");
    EXPECT_TRUE(concrete->matches(MOX::createProductId("S*", "c?re", "1.*")));
    EXPECT_FALSE(concrete->matches(MOX::createProductId("S*", "core", "2.*")) || concrete->matches(SmartPointer<IProductId>()));
    EXPECT_FALSE(MOX::createProductId("S*", "*", "*")->matches(concrete)); // never the own fields as patterns
}

TEST(ApplicationId, EquivalentIdsAreOneRegisteredInstanceWithOneApplicationAndOrderByProductThenName)
{
    const std::size_t before = registered();
    const auto a = MOX::createApplicationId(MOX::createProductId("P", "c", "1"), "app");
    EXPECT_TRUE(MOX::parseApplicationId(a->marshal()).sharesWith(a));
    EXPECT_TRUE(MOX::getApplication(a).sharesWith(a->getApplication()));
    const auto otherVersion = MOX::createApplicationId(MOX::createProductId("P", "c", "2"), "app");
    EXPECT_FALSE(otherVersion.sharesWith(a) || otherVersion->getApplication().sharesWith(a->getApplication()));
    EXPECT_EQ(registered(), before + 2);

    const auto id = [](const char* n, const char* v, const char* name) {
        return SmartPointer<IApplicationId>(new ApplicationIdImpl(MOX::createProductId(n, "m", v), name));
    };
    const auto base = id("P", "2", "n");
    for (const auto& [other, less] : {std::make_pair(id("O", "9", "z"), true), std::make_pair(id("P", "1", "z"), true),
                                      std::make_pair(id("P", "3", "a"), false), std::make_pair(id("P", "2", "a"), true)})
        EXPECT_EQ(other->lessThan(*base), less) << other->marshal();
    ApplicationIdImpl x(MOX::createProductId("S", "", "1"), "b"), noProduct; // a missing product: by name alone
    EXPECT_TRUE(noProduct.lessThan(x) && !x.lessThan(noProduct));
}

TEST(ApplicationId, FailuresRegisterNothingAndChangeNothing)
{
    const std::size_t before = registered();
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[] { MOX::createProductId("", "c", "1"); }, "MOX::createProductId"},
        {[] { MOX::createProductId("n", "c", ""); }, "MOX::createProductId"},
        {[] { MOX::parseProductId(""); }, "MOX::parseProductId"},
        {[] { MOX::createApplicationId(SmartPointer<IProductId>(), "x"); }, "MOX::createApplicationId"},
        {[] { MOX::parseApplicationId(""); }, "MOX::parseApplicationId"},
        // No product element: the product text is empty, so the product parser's exception comes out.
        {[] { MOX::parseApplicationId("<app-id name=\"a\"/>"); }, "MOX::parseProductId"}};
    for (const auto& [f, function] : rows)
        EXPECT_TRUE(moxtest::throwsMox<MOX::EXCEPTIONS::InvalidArgumentException>(f, -1006, function)) << function;
    EXPECT_EQ(registered(), before);
    ApplicationIdImpl id(MOX::createProductId("Keep", "", "1"), "kept");
    EXPECT_THROW(id.unmarshal("<app-id name=\"changed\"/>"), MOX::EXCEPTIONS::InvalidArgumentException);
    EXPECT_EQ(id.getName(), "kept");
    EXPECT_TRUE(moxtest::throwsMox([] { ApplicationIdImpl().marshal(); }, -1004)); // no product: cannot be written
}
