// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Product identifiers and their factories.
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/Marshallable.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace APP {

/// Names a product by name, component and version. Product ids are plain values: they
/// are neither registered nor shared by the library.
///
/// XML form: `<product name="..." component="..." version="..."/>`; reading takes the
/// first "product" element, defaults a missing component to "" and a missing version to
/// "1.0", and leaves the object unchanged when the name read is empty.
class MOX_API IProductId : public virtual Object, public virtual Marshallable {
public:
    ~IProductId() override = default;
    /// The product name.
    virtual const std::string& getName() const = 0;
    /// The component within the product (may be empty).
    virtual const std::string& getComponent() const = 0;
    /// The version text.
    virtual const std::string& getVersion() const = 0;
    /// Byte-wise order by name, then component, then version.
    virtual bool lessThan(const IProductId& other) const = 0;
    /// True when each own field (as text) glob-matches the other's field (as pattern):
    /// name, component, version. A null `other` gives false.
    virtual bool matches(const RT::SmartPointer<IProductId>& other) const = 0;
};

} // namespace APP

/// A new product id. The name and the version must be non-empty (the component may be
/// empty); otherwise throws InvalidArgumentException (-1006).
MOX_API RT::SmartPointer<APP::IProductId> createProductId(const std::string& name, const std::string& component,
                                                          const std::string& version);

/// A new product id read from its "product" element. An empty text throws
/// InvalidArgumentException (-1006); a text without a named product gives empty fields.
MOX_API RT::SmartPointer<APP::IProductId> parseProductId(const std::string& xml);

} // namespace MOX
