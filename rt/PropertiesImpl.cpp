// SPDX-License-Identifier: MIT
#include <mox/rt/PropertiesImpl.h>
#include <mox/rt/Raise.h>

#include <algorithm>
#include <utility>

#include <mox/rt/Exceptions.h>
#include <mox/rt/StringUtils.h>
#include <mox/rt/XmlUtils.h>

MOX_SOURCE_FILE("rt/PropertiesImpl")

namespace MOX {
namespace RT {

const char* const PropertiesImpl::PROPERTY = "PROPERTY";
const char* const PropertiesImpl::PROPERTIES = "PROPERTIES";

namespace {
// Attribute names of one PROPERTY element.
constexpr const char kName[] = "name";
constexpr const char kValue[] = "value";
} // namespace

PropertiesImpl::PropertiesImpl() = default;
PropertiesImpl::~PropertiesImpl() = default;
PropertiesImpl::PropertiesImpl(const PropertiesImpl&) = default;
PropertiesImpl& PropertiesImpl::operator=(const PropertiesImpl&) = default;

Vector<std::string> PropertiesImpl::getPropertyNames() const { return m_order; }

std::string PropertiesImpl::getProperty(const std::string& name, const std::string& defaultValue) const
{
    const auto it = m_values.find(name);
    return it == m_values.end() ? defaultValue : it->second;
}

void PropertiesImpl::setProperty(const std::string& name, const std::string& value)
{
    const auto inserted = m_values.emplace(name, value);
    if (!inserted.second) {
        inserted.first->second = value;
        return;
    }
    try {
        m_order.push_back(name);
    } catch (...) {
        m_values.erase(inserted.first);  // keep order and values in step
        throw;
    }
}

void PropertiesImpl::removeProperty(const std::string& name)
{
    if (m_values.erase(name) == 0)
        return;
    m_order.erase(std::find(m_order.begin(), m_order.end(), name));
}

void PropertiesImpl::assignPropertyFromXML(const std::string& element)
{
    // A marker default tells "no name attribute" apart from an empty name.
    const std::string missing(1, '\0');
    const std::string name = XmlUtils::GetAttributeValue(kName, element, missing);
    if (name == missing)
        return;
    setProperty(name, XmlUtils::GetAttributeValue(kValue, element));
}

std::string PropertiesImpl::propertyToXML(const std::string& name, const std::string& value)
{
    return XmlUtils::ToElement(PROPERTY, std::string(),
                               {XmlUtils::ToAttribute(kName, name), XmlUtils::ToAttribute(kValue, value)});
}

void PropertiesImpl::unmarshal(const std::string& text)
{
    if (!StringUtils::Trim(text).empty() && !XmlUtils::IsXML(text)) {
        using namespace EXCEPTIONS;
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::Unmarshal, MOX_SITE("MOX::RT::PropertiesImpl::unmarshal"), "properties text is not XML");
    }
    // Filled aside and swapped in, so a failure leaves the old contents whole.
    PropertiesImpl fresh;
    for (const std::string& element : XmlUtils::getElements(PROPERTY, text))
        fresh.assignPropertyFromXML(element);
    m_order.swap(fresh.m_order);
    m_values.swap(fresh.m_values);
}

std::string PropertiesImpl::marshal() const
{
    std::string content;
    for (const std::string& name : m_order)
        content += propertyToXML(name, m_values.at(name));
    return XmlUtils::ToElement(PROPERTIES, content);
}

} // namespace RT
} // namespace MOX
