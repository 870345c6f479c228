// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Application identifiers and their factories.
#include <string>

#include <mox/app/IProductId.h>
#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace APP {

class IApplication;

/// Names one application of a product. Every application id the library hands out is
/// the process registry's shared instance: equivalent ids (neither before the other)
/// are one object, bound to one application object.
///
/// XML form: `<app-id name="..."><product .../></app-id>`.
///
/// Like every interface a service library receives (IProductId, IApplication), it has
/// nothing out of line, so a service library uses it without linking libmox.
class MOX_API IApplicationId : public virtual Object {
public:
    ~IApplicationId() override = default;
    /// The application name.
    virtual const std::string& getName() const = 0;
    /// The product this application belongs to.
    virtual RT::SmartPointer<IProductId> getProductId() const = 0;
    /// The application object bound by the registry (null only for an unregistered id).
    virtual RT::SmartPointer<IApplication> getApplication() const = 0;
    /// Order by product (when both products are set and distinct objects), then by name.
    virtual bool lessThan(const IApplicationId& other) const = 0;
    /// Reads the "app-id" element of `xml`; throws InvalidArgumentException (-1006, from
    /// parseProductId) when it holds no "product" element. On failure nothing changes.
    /// Changing a registered id this way changes its registry key: do not.
    virtual void unmarshal(const std::string& xml) = 0;
    /// The "app-id" element; throws NullPointerException when the product is not set.
    virtual std::string marshal() const = 0;
};

} // namespace APP

/// The registered application id for `product` and `name`: an equivalent id registered
/// before is returned instead of a new one. A null product throws
/// InvalidArgumentException (-1006); nothing is registered then.
MOX_API RT::SmartPointer<APP::IApplicationId> createApplicationId(const RT::SmartPointer<APP::IProductId>& product,
                                                                  const std::string& name);

/// The registered application id read from an "app-id" element. An empty text throws
/// InvalidArgumentException (-1006, "MOX::parseApplicationId"); a text without a
/// "product" element throws the one of parseProductId. Nothing is registered on failure.
MOX_API RT::SmartPointer<APP::IApplicationId> parseApplicationId(const std::string& xml);

} // namespace MOX
