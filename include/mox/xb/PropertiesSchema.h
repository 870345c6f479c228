// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Document objects of the properties document. The root element's name is the
/// caller's; its children are empty "property" elements:
///
///     <settings>
///       <property name="color" value="red"/>
///       <property name="size"/>
///     </settings>
///
/// "name" is required, "value" optional (absent when never set). Entries keep document
/// order; a later entry of the same name wins when they are set into a property set.
#include <optional>
#include <string>
#include <vector>

#include <mox/rt/Export.h>
#include <mox/xb/DocumentElement.h>
#include <mox/xb/XBObject.h>

namespace MOX {
namespace XB {

/// One "property" element.
class MOX_API xbproperty : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    std::string name;                 ///< "name" (required)
    std::optional<std::string> value; ///< "value": present only when set
};

/// The document body: the "property" elements in order.
class MOX_API xb_properties : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    std::vector<xbproperty> list; ///< the "property" elements, in document order
};

/// The document element over an xb_properties. `rootName` is the caller's root element
/// name; when decoding, an empty one accepts any root.
class MOX_API properties_CC : public DocumentElement {
public:
    /// Binds the root element `rootName` to `top`.
    properties_CC(const std::string& rootName, xb_properties& top);
    ~properties_CC() override;
};

} // namespace XB
} // namespace MOX
