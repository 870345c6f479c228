// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The properties document under a chosen root element.
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/IProperties.h>

namespace MOX {
namespace XB {

/// The properties document of `properties` (see PropertiesSchema.h) under the root
/// element `rootName`, one "property" per name in the set's order, each with its value.
/// A `rootName` that is not an XML name (XmlUtils::IsName: empty, "a b", "a><b") throws
/// InvalidArgumentException (-1006) before anything is written; a failed write throws
/// SerializationException (-1055).
MOX_API std::string marshalProperties(const I::IProperties& properties, const std::string& rootName);

/// Sets the properties of the document `text` into `properties`, in document order (a
/// "property" without "value" sets the empty text). The root element's local name (the
/// name without its prefix) must be the local name of `rootName` unless that is empty.
/// A text that does not decode throws SerializationException (-1056) and leaves
/// `properties` unchanged.
MOX_API void unmarshalProperties(const std::string& text, const std::string& rootName, I::IProperties& properties);

} // namespace XB
} // namespace MOX
