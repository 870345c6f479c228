// SPDX-License-Identifier: MIT
#include "data/application/impl/ApplicationIdImpl.h"

#include <utility>

#include <mox/rt/Check.h>
#include <mox/rt/XmlUtils.h>

#include "data/application/impl/ProductIdImpl.h"

namespace MOX {
namespace APP {

using RT::XmlUtils;

const char* const ApplicationIdImpl::ELEMENT = "app-id";

ApplicationIdImpl::ApplicationIdImpl(RT::SmartPointer<IProductId> product, std::string name)
    : m_product(std::move(product)), m_name(std::move(name))
{
}

ApplicationIdImpl::~ApplicationIdImpl() = default;

bool ApplicationIdImpl::lessThan(const IApplicationId& other) const
{
    // Called on every registry lookup: the own product is read in place, only the
    // other's is copied (its getter hands out a counted pointer).
    const IProductId* p = m_product.get();
    const RT::SmartPointer<IProductId> q = other.getProductId();
    if (p != nullptr && !q.isNull() && p != q.get()) {
        if (p->lessThan(*q))
            return true;
        if (q->lessThan(*p))
            return false;
    }
    return m_name < other.getName();
}

void ApplicationIdImpl::unmarshal(const std::string& text)
{
    const std::string element = XmlUtils::GetElement(ELEMENT, text);
    const std::string productElement = XmlUtils::GetElement(ProductIdImpl::ELEMENT, element);
    std::string name = XmlUtils::GetAttributeValue("name", element, "");
    // The product is read before anything is assigned, so a text without a product
    // leaves this id as it was.
    RT::SmartPointer<IProductId> product = parseProductId(productElement);
    m_name = std::move(name);
    m_product = std::move(product);
}

std::string ApplicationIdImpl::marshal() const
{
    const std::string product = RT::checkDeref(m_product).marshal();
    return XmlUtils::ToElement(ELEMENT, product, {XmlUtils::ToAttribute("name", m_name)});
}

} // namespace APP
} // namespace MOX
