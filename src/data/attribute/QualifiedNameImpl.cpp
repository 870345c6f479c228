// SPDX-License-Identifier: MIT
#include "data/attribute/QualifiedNameImpl.h"

#include <mox/rt/StringUtils.h>
#include <mox/rt/XmlUtils.h>

namespace MOX {
namespace ATTR {

using RT::XmlUtils;

namespace {

constexpr const char kElement[] = "attribute-id";

// Built while the library loads, before any caller can run.
const std::string s_defaultFormat("String");

} // namespace

const std::string& QualifiedNameImpl::defaultFormat() noexcept { return s_defaultFormat; }

QualifiedNameImpl::QualifiedNameImpl() : format(s_defaultFormat) {}

QualifiedNameImpl::QualifiedNameImpl(std::string nameText, std::string formatText, std::string scopeText)
    : name(std::move(nameText)), format(std::move(formatText)), scope(std::move(scopeText))
{
}

QualifiedNameImpl::~QualifiedNameImpl() = default;

const std::string& QualifiedNameImpl::getFormat() const { return format; }

const std::string& QualifiedNameImpl::getName() const { return name; }

const std::string& QualifiedNameImpl::getScope() const { return scope; }

bool QualifiedNameImpl::lessThan(const IQualifiedName& other) const
{
    if (format != other.getFormat())
        return format < other.getFormat();
    if (name != other.getName())
        return name < other.getName();
    return scope < other.getScope();
}

bool QualifiedNameImpl::matches(const RT::SmartPointer<IQualifiedName>& other) const
{
    if (other.isNull())
        return false;
    return RT::StringUtils::Matches(name, other->getName()) && RT::StringUtils::Matches(format, other->getFormat()) &&
           RT::StringUtils::Matches(scope, other->getScope());
}

std::string QualifiedNameImpl::toString() const { return marshal(); }

std::string QualifiedNameImpl::marshal() const
{
    Vector<std::string> attributes;
    attributes.push_back(XmlUtils::ToAttribute("name", name));
    if (format != s_defaultFormat)
        attributes.push_back(XmlUtils::ToAttribute("format", format));
    if (!scope.empty())
        attributes.push_back(XmlUtils::ToAttribute("scope", scope));
    return XmlUtils::ToElement(kElement, std::string(), attributes);
}

void QualifiedNameImpl::unmarshal(const std::string& text)
{
    // Read everything first, so a failing read leaves the name as it was.
    const std::string element = XmlUtils::GetElement(kElement, text);
    std::string newName = XmlUtils::GetAttributeValue("name", element, std::string());
    std::string newFormat = XmlUtils::GetAttributeValue("format", element, s_defaultFormat);
    std::string newScope = XmlUtils::GetAttributeValue("scope", element, std::string());
    name.swap(newName);
    format.swap(newFormat);
    scope.swap(newScope);
}

} // namespace ATTR
} // namespace MOX
