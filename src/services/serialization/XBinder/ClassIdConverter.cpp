// SPDX-License-Identifier: MIT
#include <mox/xb/ClassIdConverter.h>

#include <memory>

#include <mox/rt/Check.h>

namespace MOX {
namespace CLASS {
namespace XB {

namespace {

// "version" is carried only above 1; 0 and 1 both read back as 1.
template <class Document, class Id>
void fill(Document& target, const Id& id)
{
    const auto& source = RT::checkDeref(id);
    const int version = source.getVersion();
    if (version > 1)
        target.version = version;
    else
        target.version.reset();
    target.class_ = source.getName();
}

template <class Document>
int versionOf(const Document& source)
{
    return source.version ? *source.version : 1;
}

} // namespace

void ClassIdConverter::toXB(::MOX::XB::xbclass_id& target, const RT::SmartPointer<IClassId>& id) { fill(target, id); }

void ClassIdConverter::toXB(::MOX::XB::xbinterface_id& target, const RT::SmartPointer<IInterfaceId>& id)
{
    fill(target, id);
}

::MOX::XB::xbclass_id* ClassIdConverter::toXB(const RT::SmartPointer<IClassId>& id)
{
    std::unique_ptr<::MOX::XB::xbclass_id> target(new ::MOX::XB::xbclass_id());
    toXB(*target, id);
    return target.release();
}

::MOX::XB::xbinterface_id* ClassIdConverter::toXB(const RT::SmartPointer<IInterfaceId>& id)
{
    std::unique_ptr<::MOX::XB::xbinterface_id> target(new ::MOX::XB::xbinterface_id());
    toXB(*target, id);
    return target.release();
}

RT::SmartPointer<IClassId> ClassIdConverter::toMOX(const ::MOX::XB::xbclass_id& source)
{
    return createClassId(source.class_.value_or(std::string()), versionOf(source));
}

RT::SmartPointer<IInterfaceId> ClassIdConverter::toMOX(const ::MOX::XB::xbinterface_id& source)
{
    return createInterfaceId(source.class_.value_or(std::string()), versionOf(source));
}

void ClassIdConverter::toXB(::MOX::XB::xbloader_id& target, const LoaderId& loader) { target.loader = loader.getName(); }

::MOX::XB::xbloader_id* ClassIdConverter::toXB(const LoaderId& loader)
{
    std::unique_ptr<::MOX::XB::xbloader_id> target(new ::MOX::XB::xbloader_id());
    toXB(*target, loader);
    return target.release();
}

void ClassIdConverter::toMOX(LoaderId& target, const ::MOX::XB::xbloader_id& source)
{
    target.setName(source.loader.value_or(std::string()));
}

LoaderId ClassIdConverter::toMOX(const ::MOX::XB::xbloader_id& source)
{
    LoaderId loader;
    toMOX(loader, source);
    return loader;
}

} // namespace XB
} // namespace CLASS
} // namespace MOX
