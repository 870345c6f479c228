// SPDX-License-Identifier: MIT
#include "data/attribute/QualifiedNameImpl.h"

#include <new>

#include <mox/rt/StringUtils.h>
#include <mox/rt/XmlUtils.h>

namespace MOX {
namespace ATTR {

using RT::XmlUtils;

namespace {

constexpr const char kElement[] = "attribute-id";

// Built while the library loads, before any caller can run; the first is the default.
const std::string s_kinds[] = {"String", "Integer", "Long", "Int64", "Float", "Double"};
const std::string s_noScope;
const std::string& s_defaultFormat = s_kinds[0];

// The constant equal to `format`, or null.
const std::string* constantFormat(const std::string& format) noexcept
{
    for (const std::string& kind : s_kinds)
        if (kind == format)
            return &kind;
    return nullptr;
}

// True when a name needs texts of its own for this format (the constant equal to it, or
// null) and scope.
bool needsOwnTexts(const std::string* constant, const std::string& scope) noexcept
{
    return constant == nullptr || !scope.empty();
}

} // namespace

const std::string& QualifiedNameImpl::defaultFormat() noexcept { return s_defaultFormat; }

RT::SmartPointer<IQualifiedName> QualifiedNameImpl::create(std::string nameText, std::string formatText,
                                                           std::string scopeText)
{
    const Key key{constantFormat(formatText)};
    const std::size_t room = needsOwnTexts(key.constantFormat, scopeText) ? sizeof(Texts) : 0;
    return RT::makeSharedWithTail<QualifiedNameImpl>(room, key, std::move(nameText), std::move(formatText),
                                                     std::move(scopeText));
}

QualifiedNameImpl::QualifiedNameImpl() : format(&s_defaultFormat), scope(&s_noScope) {}

QualifiedNameImpl::QualifiedNameImpl(Key key, std::string nameText, std::string formatText, std::string scopeText)
    : name(std::move(nameText)),
      own(needsOwnTexts(key.constantFormat, scopeText) ? new (tail()) Texts() : nullptr)
{
    assign(std::move(formatText), std::move(scopeText), key.constantFormat);
}

QualifiedNameImpl::~QualifiedNameImpl()
{
    if (own == tail())
        own->~Texts();
    else
        delete own;
}

void QualifiedNameImpl::assign(std::string formatText, std::string scopeText, const std::string* constant)
{
    const bool hasScope = !scopeText.empty();
    if (needsOwnTexts(constant, scopeText)) {
        if (own == nullptr)
            own = new Texts();
        own->format = std::move(formatText);
        own->scope = std::move(scopeText);
    }
    format = constant != nullptr ? constant : &own->format;
    scope = hasScope ? &own->scope : &s_noScope;
}

const std::string& QualifiedNameImpl::getFormat() const { return *format; }

const std::string& QualifiedNameImpl::getName() const { return name; }

const std::string& QualifiedNameImpl::getScope() const { return *scope; }

bool QualifiedNameImpl::lessThan(const IQualifiedName& other) const
{
    if (*format != other.getFormat())
        return *format < other.getFormat();
    if (name != other.getName())
        return name < other.getName();
    return *scope < other.getScope();
}

bool QualifiedNameImpl::matches(const RT::SmartPointer<IQualifiedName>& other) const
{
    if (other.isNull())
        return false;
    return RT::StringUtils::Matches(name, other->getName()) && RT::StringUtils::Matches(*format, other->getFormat()) &&
           RT::StringUtils::Matches(*scope, other->getScope());
}

std::string QualifiedNameImpl::toString() const { return marshal(); }

std::string QualifiedNameImpl::marshal() const
{
    Vector<std::string> attributes;
    attributes.push_back(XmlUtils::ToAttribute("name", name));
    if (*format != s_defaultFormat)
        attributes.push_back(XmlUtils::ToAttribute("format", *format));
    if (!scope->empty())
        attributes.push_back(XmlUtils::ToAttribute("scope", *scope));
    return XmlUtils::ToElement(kElement, std::string(), attributes);
}

void QualifiedNameImpl::unmarshal(const std::string& text)
{
    // Read everything first, so a failing read leaves the name as it was.
    const std::string element = XmlUtils::GetElement(kElement, text);
    std::string newName = XmlUtils::GetAttributeValue("name", element, std::string());
    std::string newFormat = XmlUtils::GetAttributeValue("format", element, s_defaultFormat);
    std::string newScope = XmlUtils::GetAttributeValue("scope", element, std::string());
    const std::string* constant = constantFormat(newFormat);
    assign(std::move(newFormat), std::move(newScope), constant);
    name.swap(newName);
}

} // namespace ATTR
} // namespace MOX
