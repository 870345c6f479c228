// SPDX-License-Identifier: MIT
#include "data/class/ClassIdImpl.h"

#include <mox/rt/XmlUtils.h>

namespace MOX {
namespace CLASS {

namespace {
constexpr const char kElement[] = "class-id";
constexpr const char kTextVersion[] = " v=";
} // namespace

ClassIdImpl::ClassIdImpl() = default;

ClassIdImpl::ClassIdImpl(const std::string& name_, int version_, const std::string& loader_)
    : id(name_, version_), loader(loader_)
{
}

ClassIdImpl::~ClassIdImpl() = default;

const std::string& ClassIdImpl::getName() const { return id.getName(); }

int ClassIdImpl::getVersion() const { return id.getVersion(); }

bool ClassIdImpl::hasName(const std::string& text) const { return id.getName() == text; }

bool ClassIdImpl::lessThan(const IClassId& other) const { return id.lessThan(other.getName(), other.getVersion()); }

std::string ClassIdImpl::marshal() const
{
    Vector<std::string> attributes = id.toAttributes();
    if (!loader.empty())
        attributes.push_back(RT::XmlUtils::ToAttribute("loader", loader));
    return RT::XmlUtils::ToElement(kElement, std::string(), attributes);
}

void ClassIdImpl::unmarshal(const std::string& text)
{
    const std::string element = RT::XmlUtils::GetElement(kElement, text);
    NamedVersion newId = NamedVersion::fromElement(element, id.getVersion());
    loader = RT::XmlUtils::GetAttributeValue("loader", element, std::string());
    id = std::move(newId);
}

std::string ClassIdImpl::toString() const { return id.toText(kTextVersion); }

void ClassIdImpl::readText(const std::string& text)
{
    id = NamedVersion::fromText(text, kTextVersion);
    loader.clear();
}

} // namespace CLASS
} // namespace MOX
