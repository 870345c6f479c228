// SPDX-License-Identifier: MIT
#include "data/application/impl/ProductIdImpl.h"

#include <utility>

#include <mox/rt/StringUtils.h>
#include <mox/rt/XmlUtils.h>

namespace MOX {
namespace APP {

using RT::StringUtils;
using RT::XmlUtils;

const char* const ProductIdImpl::ELEMENT = "product";

ProductIdImpl::ProductIdImpl(std::string name, std::string component, std::string version)
    : m_name(std::move(name)), m_component(std::move(component)), m_version(std::move(version))
{
}

ProductIdImpl::~ProductIdImpl() = default;

bool ProductIdImpl::lessThan(const IProductId& other) const
{
    if (m_name != other.getName())
        return m_name < other.getName();
    if (m_component != other.getComponent())
        return m_component < other.getComponent();
    return m_version < other.getVersion();
}

bool ProductIdImpl::matches(const RT::SmartPointer<IProductId>& other) const
{
    if (other.isNull())
        return false;
    return StringUtils::Matches(m_name, other->getName()) && StringUtils::Matches(m_component, other->getComponent()) &&
           StringUtils::Matches(m_version, other->getVersion());
}

void ProductIdImpl::unmarshal(const std::string& text)
{
    const std::string element = XmlUtils::GetElement(ELEMENT, text);
    std::string name = XmlUtils::GetAttributeValue("name", element, "");
    std::string component = XmlUtils::GetAttributeValue("component", element, "");
    std::string version = XmlUtils::GetAttributeValue("version", element, "1.0");
    // A product without a name is no product: the object keeps what it had.
    if (name.empty())
        return;
    m_name = std::move(name);
    m_component = std::move(component);
    m_version = std::move(version);
}

std::string ProductIdImpl::marshal() const
{
    return XmlUtils::ToElement(ELEMENT, "",
                               {XmlUtils::ToAttribute("name", m_name), XmlUtils::ToAttribute("component", m_component),
                                XmlUtils::ToAttribute("version", m_version)});
}

} // namespace APP
} // namespace MOX
