// SPDX-License-Identifier: MIT
#include <mox/class/LoaderId.h>
#include <mox/rt/XmlUtils.h>

namespace MOX {

namespace {
constexpr const char kElement[] = "loader-id";
} // namespace

LoaderId::LoaderId() = default;

LoaderId::LoaderId(const std::string& name_, const std::string& file_) : name(name_), file(file_) {}

LoaderId::LoaderId(const LoaderId& other) = default;

LoaderId& LoaderId::operator=(const LoaderId& other) = default;

LoaderId::~LoaderId() = default;

std::string LoaderId::toString() const { return marshal(); }

bool LoaderId::isDefined() const { return !name.empty(); }

bool LoaderId::isEmpty() const { return name.empty(); }

void LoaderId::unmarshal(const std::string& text)
{
    const std::string element = RT::XmlUtils::GetElement(kElement, text);
    std::string newName = RT::XmlUtils::GetAttributeValue("name", element, std::string());
    std::string newFile = RT::XmlUtils::GetAttributeValue("file", element, std::string());
    name.swap(newName);
    file.swap(newFile);
}

std::string LoaderId::marshal() const
{
    Vector<std::string> attributes;
    attributes.push_back(RT::XmlUtils::ToAttribute("name", name));
    attributes.push_back(RT::XmlUtils::ToAttribute("file", file));
    return RT::XmlUtils::ToElement(kElement, std::string(), attributes);
}

} // namespace MOX
