// ClassIdConverter: version presence rules, the loader that is never carried, the
// create functions' checks on the way back, and loader ids; also whole round trips
// through the enclosing test document.
#include <gtest/gtest.h>

#include <memory>

#include <mox/class/IClassId.h>
#include <mox/class/IInterfaceId.h>
#include <mox/rt/Exceptions.h>
#include <mox/xb/ClassIdConverter.h>

#include "services/serialization/XBinder/class/ComponentDocument.h"

using MOX::CLASS::IClassId;
using MOX::CLASS::IInterfaceId;
using MOX::CLASS::XB::ClassIdConverter;
using MOX::RT::SmartPointer;
using MOX::XB::xbclass_id;
using MOX::XB::xbinterface_id;
using MOX::XB::xbloader_id;

namespace {

template <class F>
void expectArgumentError(F f, const char* function)
{
    try {
        f();
        ADD_FAILURE() << "no exception from " << function;
    } catch (const MOX::EXCEPTIONS::InvalidArgumentException& e) {
        EXPECT_EQ(e.getCode(), -1006);
        EXPECT_EQ(e.getMessage(), "The arguments specified in the operation were invalid");
        EXPECT_EQ(e.getFunction(), function);
    }
}

template <class Doc>
Doc idDoc(const char* name, std::optional<int> version)
{
    Doc doc;
    doc.class_ = name;
    doc.version = version;
    return doc;
}

} // namespace

TEST(ClassIdConverter, VersionIsPresentOnlyAboveOne)
{
    for (int version : {0, 1, 2, 40}) {
        xbclass_id cls;
        cls.version = 77; // a stale value must not survive
        ClassIdConverter::toXB(cls, MOX::createClassId("C", version));
        EXPECT_EQ(cls.class_, "C");
        EXPECT_EQ(cls.version, version > 1 ? std::optional<int>(version) : std::nullopt) << version;
        EXPECT_EQ(ClassIdConverter::toMOX(cls)->getVersion(), version > 1 ? version : 1);

        xbinterface_id itf;
        itf.version = 77;
        ClassIdConverter::toXB(itf, MOX::createInterfaceId("I", version));
        EXPECT_EQ(itf.class_, "I");
        EXPECT_EQ(itf.version, version > 1 ? std::optional<int>(version) : std::nullopt) << version;
        const SmartPointer<IInterfaceId> back = ClassIdConverter::toMOX(itf);
        EXPECT_EQ(back->getName() + std::to_string(back->getVersion()), "I" + std::to_string(version > 1 ? version : 1));
    }
    // A version present in a document is taken as it stands, even 0.
    EXPECT_EQ(ClassIdConverter::toMOX(idDoc<xbclass_id>("C", 0))->getVersion(), 0);
    // The pointer-returning forms fill the same way.
    const std::unique_ptr<xbclass_id> made(ClassIdConverter::toXB(MOX::createClassId("M", 3)));
    EXPECT_EQ(made->class_.value_or("") + std::to_string(made->version.value_or(-9)), "M3");
    EXPECT_FALSE(made->loader.has_value());
    const std::unique_ptr<xbinterface_id> madeItf(ClassIdConverter::toXB(MOX::createInterfaceId("N", 1)));
    EXPECT_EQ(madeItf->class_, "N");
    EXPECT_FALSE(madeItf->version.has_value());
}

TEST(ClassIdConverter, LoaderOfAClassIdIsNeitherWrittenNorRead)
{
    const SmartPointer<IClassId> withLoader = MOX::parseClassId("<class-id class='C' version='2' loader='Boot'/>");
    ASSERT_EQ(MOX::getClassIdLoader(withLoader), "Boot");
    xbclass_id fresh;
    ClassIdConverter::toXB(fresh, withLoader);
    EXPECT_FALSE(fresh.loader.has_value());
    xbclass_id preset;
    preset.loader = "Kept";
    ClassIdConverter::toXB(preset, withLoader);
    EXPECT_EQ(preset.loader, "Kept");

    // Decoded from an element that carries "loader": the document holds it, toMOX drops it.
    classdoc::xbcomponent doc;
    classdoc::decode("<component><implementation class='C' version='3' loader='Boot'/></component>", doc);
    ASSERT_TRUE(doc.implementation);
    EXPECT_EQ(doc.implementation->loader, "Boot");
    const SmartPointer<IClassId> id = ClassIdConverter::toMOX(*doc.implementation);
    EXPECT_EQ(id->getName() + std::to_string(id->getVersion()) + MOX::getClassIdLoader(id), "C3");
}

TEST(ClassIdConverter, ConversionsCheckTheirArguments)
{
    EXPECT_THROW(ClassIdConverter::toXB(SmartPointer<IClassId>()), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_THROW(ClassIdConverter::toXB(SmartPointer<IInterfaceId>()), MOX::EXCEPTIONS::NullPointerException);
    xbclass_id untouched = idDoc<xbclass_id>("Before", std::nullopt);
    EXPECT_THROW(ClassIdConverter::toXB(untouched, SmartPointer<IClassId>()), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_EQ(untouched.class_, "Before");

    expectArgumentError([] { ClassIdConverter::toMOX(idDoc<xbclass_id>("", std::nullopt)); }, "MOX::createClassId");
    expectArgumentError([] { ClassIdConverter::toMOX(xbclass_id()); }, "MOX::createClassId");
    expectArgumentError([] { ClassIdConverter::toMOX(idDoc<xbclass_id>("C", -1)); }, "MOX::createClassId");
    expectArgumentError([] { ClassIdConverter::toMOX(xbinterface_id()); }, "MOX::createInterfaceId");
    expectArgumentError([] { ClassIdConverter::toMOX(idDoc<xbinterface_id>("I", -3)); }, "MOX::createInterfaceId");
}

TEST(ClassIdConverter, LoaderTravelsByNameOnly)
{
    const MOX::LoaderId boot("Boot", "/opt/boot.so");
    xbloader_id doc;
    ClassIdConverter::toXB(doc, boot);
    EXPECT_EQ(doc.loader, "Boot");
    EXPECT_EQ(std::unique_ptr<xbloader_id>(ClassIdConverter::toXB(boot))->loader, "Boot");

    MOX::LoaderId target("Old", "/keep/me.so");
    ClassIdConverter::toMOX(target, doc);
    EXPECT_EQ(target.getName() + "|" + target.getFile(), "Boot|/keep/me.so");
    const MOX::LoaderId fresh = ClassIdConverter::toMOX(doc);
    EXPECT_EQ(fresh.getName() + "|" + fresh.getFile(), "Boot|");
    // A loader document never filled reads as an empty loader.
    EXPECT_TRUE(ClassIdConverter::toMOX(xbloader_id()).isEmpty());
}

TEST(ClassIdConverter, IdsRoundTripThroughTheDocument)
{
    classdoc::xbcomponent doc;
    doc.implementation.reset(ClassIdConverter::toXB(MOX::createClassId("Printer & Co", 0)));
    for (int version : {1, 2, 9})
        doc.provides.push_back(*std::unique_ptr<xbinterface_id>(
            ClassIdConverter::toXB(MOX::createInterfaceId("I<" + std::to_string(version) + ">", version))));
    doc.provider.reset(ClassIdConverter::toXB(MOX::LoaderId("Boot", "/x.so")));
    classdoc::xbcomponent back;
    classdoc::decode(classdoc::encode(doc), back);
    const SmartPointer<IClassId> cls = ClassIdConverter::toMOX(*back.implementation);
    EXPECT_EQ(cls->getName() + std::to_string(cls->getVersion()), "Printer & Co1"); // version 0 is not carried
    ASSERT_EQ(back.provides.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(ClassIdConverter::toMOX(back.provides[i]) == ClassIdConverter::toMOX(doc.provides[i])) << i;
    EXPECT_EQ(ClassIdConverter::toMOX(*back.provider).getName(), "Boot");
}
