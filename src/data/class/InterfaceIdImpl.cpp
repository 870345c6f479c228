#include "data/class/InterfaceIdImpl.h"

#include <mox/rt/StringUtils.h>
#include <mox/rt/XmlUtils.h>

namespace MOX {
namespace CLASS {

namespace {
constexpr const char kElement[] = "interface-id";
constexpr const char kTextVersion[] = "::";
} // namespace

InterfaceIdImpl::InterfaceIdImpl() : version(1) {}

InterfaceIdImpl::InterfaceIdImpl(const std::string& name_, int version_) : name(name_), version(version_) {}

InterfaceIdImpl::~InterfaceIdImpl() = default;

const std::string& InterfaceIdImpl::getName() const { return name; }

int InterfaceIdImpl::getVersion() const { return version; }

bool InterfaceIdImpl::hasName(const std::string& text) const { return name == text; }

bool InterfaceIdImpl::lessThan(const IInterfaceId& other) const
{
    const int order = name.compare(other.getName());
    if (order != 0)
        return order < 0;
    return version < other.getVersion();
}

std::string InterfaceIdImpl::marshal() const
{
    Vector<std::string> attributes;
    attributes.push_back(RT::XmlUtils::ToAttribute("class", name));
    if (version > 1)
        attributes.push_back(RT::XmlUtils::ToAttribute("version", RT::StringUtils::ToString(version)));
    return RT::XmlUtils::ToElement(kElement, std::string(), attributes);
}

void InterfaceIdImpl::unmarshal(const std::string& text)
{
    const std::string element = RT::XmlUtils::GetElement(kElement, text);
    std::string newName;
    int newVersion = version;
    if (!element.empty()) {
        newName = RT::XmlUtils::GetAttributeValue("class", element, std::string());
        const std::string versionText = RT::XmlUtils::GetAttributeValue("version", element, std::string());
        if (!versionText.empty())
            newVersion = RT::StringUtils::AsInteger(versionText);
    } else {
        const std::size_t mark = text.find(kTextVersion);
        if (mark == std::string::npos) {
            newName = text;
            newVersion = 1;
        } else {
            newVersion = RT::StringUtils::AsInteger(text.substr(mark + sizeof kTextVersion - 1));
            newName = text.substr(0, mark);
        }
    }
    name.swap(newName);
    version = newVersion;
}

std::string InterfaceIdImpl::toString() const { return marshal(); }

} // namespace CLASS
} // namespace MOX
