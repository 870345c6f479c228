// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Document objects of the class-id schema types. Other components' documents embed
/// them as empty elements with attributes, under element names of their own choosing:
///
///     <component class="Printer" version="2" loader="Boot"/>     an xbclass_id
///     <service class="IPrint" version="3"/>                      an xbinterface_id
///     <provider loader="Boot"/>                                  an xbloader_id
///
/// "class" (and "loader" of xbloader_id) is required; "version" is a decimal 32-bit
/// integer. An optional attribute that is not set is not written; decoding sets it only
/// when it appears. No document of this library has one of these types as its root.
#include <cstdint>
#include <optional>
#include <string>

#include <mox/rt/Export.h>
#include <mox/xb/XBObject.h>

namespace MOX {
namespace XB {

/// A class id: name, version and loader name.
class MOX_API xbclass_id : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    /// No field set.
    xbclass_id() = default;
    /// Copies every field.
    xbclass_id(const xbclass_id&) = default;
    /// Replaces every field.
    xbclass_id& operator=(const xbclass_id&) = default;
    ~xbclass_id() override;
    std::optional<std::string> class_;     ///< "class": the class name (required)
    std::optional<std::int32_t> version;   ///< "version": set when present
    std::optional<std::string> loader;     ///< "loader": set when present
};

/// An interface id: name and version.
class MOX_API xbinterface_id : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    /// No field set.
    xbinterface_id() = default;
    /// Copies every field.
    xbinterface_id(const xbinterface_id&) = default;
    /// Replaces every field.
    xbinterface_id& operator=(const xbinterface_id&) = default;
    ~xbinterface_id() override;
    std::optional<std::string> class_;     ///< "class": the interface name (required)
    std::optional<std::int32_t> version;   ///< "version": set when present
};

/// A loader, by name only.
class MOX_API xbloader_id : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    /// No field set.
    xbloader_id() = default;
    /// Copies every field.
    xbloader_id(const xbloader_id&) = default;
    /// Replaces every field.
    xbloader_id& operator=(const xbloader_id&) = default;
    ~xbloader_id() override;
    std::optional<std::string> loader;     ///< "loader": the loader name (required)
};

} // namespace XB
} // namespace MOX
