// SPDX-License-Identifier: MIT
// Class, interface and loader ids in the C binding.
#include "Binding.h"

#include <mox/class/IClassId.h>
#include <mox/class/IInterfaceId.h>
#include <mox/class/LoaderId.h>

MOX_SOURCE_FILE("c/ClassIdBinding")

using MOX::LoaderId;
using MOX::CLASS::IClassId;
using MOX::CLASS::IInterfaceId;
using namespace moxc;

extern "C" {

int mox_class_id_create(const char* name, int version, mox_handle* out)
{
    const Site site = MOX_SITE("mox_class_id_create");
    site.rule("the name must not be empty and the version must be 0 or more");
    return makeHandle<MOX::CLASS::IClassId>(out, site, [&] {
        const std::string nameText = requireText(name, "name", site);
        site.keep("version", std::to_string(version));
        return MOX::createClassId(nameText, version);
    });
}

int mox_class_id_parse(const char* text, mox_handle* out)
{
    const Site site = MOX_SITE("mox_class_id_parse");
    site.rule("must be a \"class-id\" element or a text form such as \"Foo v=3\", not empty");
    return makeHandle<MOX::CLASS::IClassId>(out, site,
                                            [&] { return MOX::parseClassId(requireText(text, "text", site)); });
}

int mox_class_id_name(mox_handle id, char** out)
{
    const Site site = MOX_SITE("mox_class_id_name");
    return readText<IClassId>(id, out, site, [](const IClassId& c) { return c.getName(); });
}

int mox_class_id_version(mox_handle id, int* out)
{
    const Site site = MOX_SITE("mox_class_id_version");
    return readValue<IClassId>(id, out, site, [](const IClassId& c) { return c.getVersion(); });
}

int mox_class_id_loader(mox_handle id, char** out)
{
    const Site site = MOX_SITE("mox_class_id_loader");
    reset(out);
    return guarded(site, [&] {
        char** target = requireOut(out, "out", site);
        handOut(MOX::getClassIdLoader(objectOf<IClassId>(id, site)), target);
    });
}

int mox_class_id_marshal(mox_handle id, char** xml)
{
    const Site site = MOX_SITE("mox_class_id_marshal");
    reset(xml);
    return guarded(site, [&] {
        char** target = requireOut(xml, "xml", site);
        handOut(MOX::marshalClassId(objectOf<IClassId>(id, site)), target);
    });
}

int mox_interface_id_create(const char* name, int version, mox_handle* out)
{
    const Site site = MOX_SITE("mox_interface_id_create");
    site.rule("the name must not be empty and the version must be 0 or more");
    return makeHandle<MOX::CLASS::IInterfaceId>(out, site, [&] {
        const std::string nameText = requireText(name, "name", site);
        site.keep("version", std::to_string(version));
        return MOX::createInterfaceId(nameText, version);
    });
}

int mox_interface_id_parse(const char* text, mox_handle* out)
{
    const Site site = MOX_SITE("mox_interface_id_parse");
    site.rule("must be an \"interface-id\" element or a text form such as \"Name::4\", not empty");
    return makeHandle<MOX::CLASS::IInterfaceId>(out, site,
                                                [&] { return MOX::parseInterfaceId(requireText(text, "text", site)); });
}

int mox_interface_id_name(mox_handle id, char** out)
{
    const Site site = MOX_SITE("mox_interface_id_name");
    return readText<IInterfaceId>(id, out, site, [](const IInterfaceId& i) { return i.getName(); });
}

int mox_interface_id_version(mox_handle id, int* out)
{
    const Site site = MOX_SITE("mox_interface_id_version");
    return readValue<IInterfaceId>(id, out, site, [](const IInterfaceId& i) { return i.getVersion(); });
}

int mox_interface_id_marshal(mox_handle id, char** xml)
{
    const Site site = MOX_SITE("mox_interface_id_marshal");
    return readText<IInterfaceId>(id, xml, site, [](const IInterfaceId& i) { return i.toString(); });
}

int mox_loader_id_create(const char* name, const char* file, mox_handle* out)
{
    const Site site = MOX_SITE("mox_loader_id_create");
    return makeHandle<MOX::LoaderId>(out, site, [&] {
        const std::string nameText = requireText(name, "name", site);
        return MOX::RT::makeShared<LoaderId>(nameText, requireText(file, "file", site));
    });
}

int mox_loader_id_parse(const char* xml, mox_handle* out)
{
    const Site site = MOX_SITE("mox_loader_id_parse");
    site.rule("must be a \"loader-id\" element");
    return makeHandle<MOX::LoaderId>(out, site, [&] {
        MOX::RT::SmartPointer<LoaderId> id = MOX::RT::makeShared<LoaderId>();
        id->unmarshal(requireText(xml, "xml", site));
        return id;
    });
}

int mox_loader_id_name(mox_handle id, char** out)
{
    const Site site = MOX_SITE("mox_loader_id_name");
    return readText<LoaderId>(id, out, site, [](const LoaderId& l) { return l.getName(); });
}

int mox_loader_id_file(mox_handle id, char** out)
{
    const Site site = MOX_SITE("mox_loader_id_file");
    return readText<LoaderId>(id, out, site, [](const LoaderId& l) { return l.getFile(); });
}

int mox_loader_id_marshal(mox_handle id, char** xml)
{
    const Site site = MOX_SITE("mox_loader_id_marshal");
    return readText<LoaderId>(id, xml, site, [](const LoaderId& l) { return l.marshal(); });
}

} // extern "C"
