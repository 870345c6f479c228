// The product id factories.
#include <mox/app/IProductId.h>

#include <mox/rt/Exceptions.h>

#include "data/application/impl/ProductIdImpl.h"

namespace MOX {

using EXCEPTIONS::ErrorCode;
using EXCEPTIONS::InvalidArgumentException;

namespace {
const char kSourceFile[] = "data/application/ProductId";
}

RT::SmartPointer<APP::IProductId> createProductId(const std::string& name, const std::string& component,
                                                  const std::string& version)
{
    if (name.empty() || version.empty())
        MOX_THROW(InvalidArgumentException(ErrorCode::InvalidArguments), kSourceFile, "MOX::createProductId");
    return RT::SmartPointer<APP::IProductId>(new APP::ProductIdImpl(name, component, version));
}

RT::SmartPointer<APP::IProductId> parseProductId(const std::string& xml)
{
    if (xml.empty())
        MOX_THROW(InvalidArgumentException(ErrorCode::InvalidArguments), kSourceFile, "MOX::parseProductId");
    RT::SmartPointer<APP::IProductId> product(new APP::ProductIdImpl());
    product->unmarshal(xml);
    return product;
}

} // namespace MOX
