// ClassIdConverter: version presence rules, the loader that is never carried, the
// create functions' checks on the way back, and loader ids.
#include <gtest/gtest.h>

#include <memory>

#include <mox/class/IClassId.h>
#include <mox/class/IInterfaceId.h>
#include <mox/rt/Exceptions.h>
#include <mox/xb/ClassIdConverter.h>

#include <mox/xb/ClassSchema.h>

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
    EXPECT_FALSE(std::unique_ptr<xbinterface_id>(ClassIdConverter::toXB(MOX::createInterfaceId("N", 1)))->version);
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
    // A document that holds one: toMOX drops it.
    EXPECT_EQ(MOX::getClassIdLoader(ClassIdConverter::toMOX(preset)), "");
}

TEST(ClassIdConverter, ConversionsCheckTheirArguments)
{
    EXPECT_THROW(ClassIdConverter::toXB(SmartPointer<IClassId>()), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_THROW(ClassIdConverter::toXB(SmartPointer<IInterfaceId>()), MOX::EXCEPTIONS::NullPointerException);
    xbclass_id untouched = idDoc<xbclass_id>("Before", std::nullopt);
    EXPECT_THROW(ClassIdConverter::toXB(untouched, SmartPointer<IClassId>()), MOX::EXCEPTIONS::NullPointerException);
    EXPECT_EQ(untouched.class_, "Before");

    expectArgumentError([] { ClassIdConverter::toMOX(idDoc<xbclass_id>("", std::nullopt)); }, "MOX::createClassId");
    expectArgumentError([] { ClassIdConverter::toMOX(idDoc<xbclass_id>("C", -1)); }, "MOX::createClassId");
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
