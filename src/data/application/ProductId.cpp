// SPDX-License-Identifier: MIT
// The product id factories.
#include <mox/app/IProductId.h>
#include <mox/rt/Raise.h>

#include <mox/rt/Exceptions.h>

#include "data/application/impl/ProductIdImpl.h"

MOX_SOURCE_FILE("data/application/ProductId")

namespace MOX {

using EXCEPTIONS::ErrorCode;
using EXCEPTIONS::InvalidArgumentException;

namespace {
}

RT::SmartPointer<APP::IProductId> createProductId(const std::string& name, const std::string& component,
                                                  const std::string& version)
{
    if (name.empty() || version.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::createProductId"));
    return RT::makeShared<APP::ProductIdImpl>(name, component, version);
}

RT::SmartPointer<APP::IProductId> parseProductId(const std::string& xml)
{
    if (xml.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::parseProductId"));
    const RT::SmartPointer<APP::IProductId> product = RT::makeShared<APP::ProductIdImpl>();
    product->unmarshal(xml);
    return product;
}

} // namespace MOX
