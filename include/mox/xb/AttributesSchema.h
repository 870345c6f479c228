// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Document objects of the attributes document:
///
///     <attributes>
///       <attribute name="color" type="String" scope="paint"><value>red</value><value>blue</value></attribute>
///     </attributes>
///
/// "name" is required, "type" (the qualified name's format) and "scope" are optional,
/// written in that order when present; "value" elements hold one text each, white space
/// kept. No element or attribute has a namespace.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <mox/rt/Export.h>
#include <mox/xb/DocumentElement.h>
#include <mox/xb/XBObject.h>

namespace MOX {
namespace XB {

/// A qualified name on its own (no document of this library uses it as an element):
/// an empty element with "name", then "type" and "scope" when present.
class MOX_API xbqualified_name : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    std::string name;                 ///< "name" (required)
    std::optional<std::string> type;  ///< "type": the format; absent means the schema default "String"
    std::optional<std::string> scope; ///< "scope": absent when there is none
};

/// One "attribute" element: the qualified name's fields as in xbqualified_name, then the
/// value texts.
class MOX_API xbattribute : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    std::string name;                    ///< "name" (required)
    std::optional<std::string> type;     ///< "type": the format
    std::optional<std::string> scope;    ///< "scope"
    std::vector<std::string> value_list; ///< the "value" children, in order
};

/// The content of the root: the "attribute" elements in order.
class MOX_API xbattributes : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    std::vector<xbattribute> list; ///< the "attribute" elements, in document order
};

/// The document element: root "attributes" over a top object that holds the
/// "attribute" elements (an xbattributes, or the library's own streamed list).
class MOX_API attributes_CC : public DocumentElement {
public:
    /// Binds the root "attributes" to `top`.
    explicit attributes_CC(XBObject& top);
    ~attributes_CC() override;
};

} // namespace XB
} // namespace MOX
