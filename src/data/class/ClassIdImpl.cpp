#include "data/class/ClassIdImpl.h"

#include <mox/rt/StringUtils.h>
#include <mox/rt/XmlUtils.h>

namespace MOX {
namespace CLASS {

namespace {
constexpr const char kElement[] = "class-id";
constexpr const char kTextVersion[] = " v=";
} // namespace

ClassIdImpl::ClassIdImpl() : version(1) {}

ClassIdImpl::ClassIdImpl(const std::string& name_, int version_, const std::string& loader_)
    : name(name_), version(version_), loader(loader_)
{
}

ClassIdImpl::~ClassIdImpl() = default;

const std::string& ClassIdImpl::getName() const { return name; }

int ClassIdImpl::getVersion() const { return version; }

bool ClassIdImpl::hasName(const std::string& text) const { return name == text; }

bool ClassIdImpl::lessThan(const IClassId& other) const
{
    const int order = name.compare(other.getName());
    if (order != 0)
        return order < 0;
    return version < other.getVersion();
}

std::string ClassIdImpl::marshal() const
{
    Vector<std::string> attributes;
    attributes.push_back(RT::XmlUtils::ToAttribute("class", name));
    if (version > 1)
        attributes.push_back(RT::XmlUtils::ToAttribute("version", RT::StringUtils::ToString(version)));
    if (!loader.empty())
        attributes.push_back(RT::XmlUtils::ToAttribute("loader", loader));
    return RT::XmlUtils::ToElement(kElement, std::string(), attributes);
}

void ClassIdImpl::unmarshal(const std::string& text)
{
    const std::string element = RT::XmlUtils::GetElement(kElement, text);
    std::string newName = RT::XmlUtils::GetAttributeValue("class", element, std::string());
    const std::string versionText = RT::XmlUtils::GetAttributeValue("version", element, std::string());
    const int newVersion = versionText.empty() ? version : RT::StringUtils::AsInteger(versionText);
    std::string newLoader = RT::XmlUtils::GetAttributeValue("loader", element, std::string());
    name.swap(newName);
    version = newVersion;
    loader.swap(newLoader);
}

std::string ClassIdImpl::toString() const
{
    if (version <= 1)
        return name;
    return name + kTextVersion + RT::StringUtils::ToString(version);
}

void ClassIdImpl::readText(const std::string& text)
{
    const std::size_t mark = text.find(kTextVersion);
    if (mark == std::string::npos) {
        name = text;
        version = 1;
    } else {
        const int newVersion = RT::StringUtils::AsInteger(text.substr(mark + sizeof kTextVersion - 1));
        name = text.substr(0, mark);
        version = newVersion;
    }
    loader.clear();
}

} // namespace CLASS
} // namespace MOX
