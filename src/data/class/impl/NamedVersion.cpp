// SPDX-License-Identifier: MIT
#include "data/class/impl/NamedVersion.h"

#include <utility>

#include <mox/rt/StringUtils.h>
#include <mox/rt/XmlUtils.h>

namespace MOX {
namespace CLASS {

NamedVersion::NamedVersion(std::string name_, int version_) : name(std::move(name_)), version(version_) {}

bool NamedVersion::lessThan(const std::string& otherName, int otherVersion) const
{
    const int order = name.compare(otherName);
    return order != 0 ? order < 0 : version < otherVersion;
}

Vector<std::string> NamedVersion::toAttributes() const
{
    Vector<std::string> attributes{RT::XmlUtils::ToAttribute("class", name)};
    if (version > 1)
        attributes.push_back(RT::XmlUtils::ToAttribute("version", RT::StringUtils::ToString(version)));
    return attributes;
}

NamedVersion NamedVersion::fromElement(const std::string& element, int keptVersion)
{
    std::string newName = RT::XmlUtils::GetAttributeValue("class", element, std::string());
    const std::string versionText = RT::XmlUtils::GetAttributeValue("version", element, std::string());
    return NamedVersion(std::move(newName), versionText.empty() ? keptVersion : RT::StringUtils::AsInteger(versionText));
}

std::string NamedVersion::toText(const char* separator) const
{
    return version > 1 ? name + separator + RT::StringUtils::ToString(version) : name;
}

NamedVersion NamedVersion::fromText(const std::string& text, const std::string& separator)
{
    const std::size_t mark = text.find(separator);
    if (mark == std::string::npos)
        return NamedVersion(text, 1);
    const int newVersion = RT::StringUtils::AsInteger(text.substr(mark + separator.size()));
    return NamedVersion(text.substr(0, mark), newVersion);
}

} // namespace CLASS
} // namespace MOX
