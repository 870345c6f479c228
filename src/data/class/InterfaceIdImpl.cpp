// SPDX-License-Identifier: MIT
#include "data/class/InterfaceIdImpl.h"

#include <mox/rt/XmlUtils.h>

namespace MOX {
namespace CLASS {

namespace {
constexpr const char kElement[] = "interface-id";
constexpr const char kTextVersion[] = "::";
} // namespace

InterfaceIdImpl::InterfaceIdImpl() = default;

InterfaceIdImpl::InterfaceIdImpl(const std::string& name_, int version_) : id(name_, version_) {}

InterfaceIdImpl::~InterfaceIdImpl() = default;

const std::string& InterfaceIdImpl::getName() const { return id.getName(); }

int InterfaceIdImpl::getVersion() const { return id.getVersion(); }

bool InterfaceIdImpl::hasName(const std::string& text) const { return id.getName() == text; }

bool InterfaceIdImpl::lessThan(const IInterfaceId& other) const
{
    return id.lessThan(other.getName(), other.getVersion());
}

std::string InterfaceIdImpl::marshal() const
{
    return RT::XmlUtils::ToElement(kElement, std::string(), id.toAttributes());
}

void InterfaceIdImpl::unmarshal(const std::string& text)
{
    const std::string element = RT::XmlUtils::GetElement(kElement, text);
    id = element.empty() ? NamedVersion::fromText(text, kTextVersion) : NamedVersion::fromElement(element, id.getVersion());
}

std::string InterfaceIdImpl::toString() const { return marshal(); }

} // namespace CLASS
} // namespace MOX
