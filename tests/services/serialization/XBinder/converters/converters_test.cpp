// SPDX-License-Identifier: MIT
// The converters' list and single-value forms that the marshalling functions do not use:
// document objects made from values hold every field, appending keeps what was there,
// and converting back gives equal values.
#include <memory>

#include <gtest/gtest.h>

#include <mox/attr/Attributes.h>
#include <mox/authn.h>
#include <mox/rt/Exceptions.h>
#include <mox/xb/AttributeConverter.h>
#include <mox/xb/IdentityConverter.h>

using namespace MOX;
using RT::SmartPointer;
using XB::AttributeConverter;
using XB::IdentityConverter;

TEST(AttributeConverter, ListsAndNamesConvertBothWays)
{
    const auto color = Attributes::createAttribute(Attributes::createQualifiedName("color", "String", "shop"));
    color->setValues({"red", "blue"});
    const Attributes::AttributeList list{
        color, Attributes::createAttribute(Attributes::createQualifiedName("size", "Integer", ""))};
    const std::unique_ptr<XB::xbattributes> doc(AttributeConverter::toXB(list));
    AttributeConverter::toXB(*doc, list); // appended
    ASSERT_EQ(doc->list.size(), 4u);
    const XB::xbattribute &first = doc->list[0], &second = doc->list[3];
    EXPECT_EQ(first.name + *first.type + *first.scope + first.value_list[1], "colorStringshopblue");
    EXPECT_TRUE(*second.type == "Integer" && !second.scope && second.value_list.empty());
    Attributes::AttributeList back{color};
    AttributeConverter::toMOX(back, *doc);
    EXPECT_EQ(Attributes::marshal(back), Attributes::marshal({color, list[0], list[1], list[0], list[1]}));
    EXPECT_EQ(Attributes::marshal(AttributeConverter::toMOX(*doc)),
              Attributes::marshal(Attributes::AttributeList(back.begin() + 1, back.end())));
    // A name: all three parts; without "type" the format is "String" and the scope dropped.
    std::unique_ptr<XB::xbqualified_name> name(AttributeConverter::toXB(color->getQualifiedName()));
    EXPECT_EQ(AttributeConverter::toMOX(*name)->toString(), color->getQualifiedName()->toString());
    name->type.reset();
    const auto plain = AttributeConverter::toMOX(*name);
    EXPECT_EQ(plain->getFormat() + "|" + plain->getScope(), "String|");
    EXPECT_THROW(AttributeConverter::toXB(SmartPointer<ATTR::IAttribute>()), EXCEPTIONS::NullPointerException);
}

TEST(IdentityConverter, SetsAndItemsConvertBothWays)
{
    const auto nt = createAuthorityId("NT", "CORP");
    const AUTHN::IdentitySet set{createUserIdentity(nt, "alice"), createGroupIdentity("EMAIL", "ops@CORP"),
                                 createIdentity(nt, AUTHN::createAccountId("Printers", "lp"))};
    const std::unique_ptr<XB::xbidentities> doc(IdentityConverter::toXB(set));
    ASSERT_EQ(doc->list.size(), 3u);
    int users = 0, groups = 0, parts = 0;
    for (const XB::xbidentities_1& item : doc->list) {
        users += item.UserIdentifier() != nullptr && *item.UserIdentifier()->value == "NT:CORP/alice";
        groups += item.GroupIdentifier() != nullptr && *item.GroupIdentifier()->format == "EMAIL";
        parts += item.identity() != nullptr && *item.identity()->type + *item.identity()->account == "Printerslp";
    }
    EXPECT_EQ(users + groups + parts, 3);
    // Converting back empties the target first; an item without a choice is skipped.
    doc->list.emplace_back();
    AUTHN::IdentitySet back{createUserIdentity(nt, "zed")};
    IdentityConverter::toMOX(back, *doc);
    EXPECT_EQ(marshalIdentities(back), marshalIdentities(set));
    EXPECT_TRUE(IdentityConverter::toMOX(doc->list.back()).isNull());
    const std::unique_ptr<XB::xbidentities_1> one(IdentityConverter::toXB(*set.begin()));
    EXPECT_EQ(IdentityConverter::toMOX(*one)->getValue(), (*set.begin())->getValue());
}
