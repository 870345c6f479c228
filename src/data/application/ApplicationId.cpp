// SPDX-License-Identifier: MIT
// The application id factories: every id they return is the registry's instance.
#include <mox/app/IApplicationId.h>
#include <mox/rt/Raise.h>

#include <mox/rt/Exceptions.h>

#include "data/application/impl/ApplicationIdImpl.h"
#include "data/application/impl/ApplicationRegistry.h"

MOX_SOURCE_FILE("data/application/ApplicationId")

namespace MOX {

using EXCEPTIONS::ErrorCode;
using EXCEPTIONS::InvalidArgumentException;

namespace {
}

RT::SmartPointer<APP::IApplicationId> createApplicationId(const RT::SmartPointer<APP::IProductId>& product,
                                                          const std::string& name)
{
    if (product.isNull())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::createApplicationId"));
    APP::ApplicationRegistry& registry = APP::ApplicationRegistry::instance();
    // Most calls ask for an id registered long ago: look it up with a candidate on the
    // stack, and build (and register) a heap one only when it is new.
    const APP::ApplicationIdImpl probe(product, name);
    RT::SmartPointer<APP::IApplicationId> registered = registry.find(probe);
    if (!registered.isNull())
        return registered;
    return registry.registerId(RT::makeShared<APP::ApplicationIdImpl>(product, name));
}

RT::SmartPointer<APP::IApplicationId> parseApplicationId(const std::string& xml)
{
    if (xml.empty())
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::parseApplicationId"));
    const auto id = RT::makeShared<APP::ApplicationIdImpl>();
    id->unmarshal(xml);
    return APP::ApplicationRegistry::instance().registerId(id);
}

} // namespace MOX
