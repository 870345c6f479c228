// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Conversions between class, interface and loader ids and their document objects.
#include <mox/class/IClassId.h>
#include <mox/class/IInterfaceId.h>
#include <mox/class/LoaderId.h>
#include <mox/rt/Export.h>
#include <mox/rt/SmartPointer.h>
#include <mox/xb/ClassSchema.h>

namespace MOX {
namespace CLASS {
namespace XB {

/// Turns class, interface and loader ids into the class-id schema's document objects
/// and back. Document objects returned by pointer belong to the caller.
///
/// To documents: "class" = the name; "version" = the version, present only above 1; a
/// class id's loader is not carried (the target's "loader" is left as it was); a
/// loader id gives only its name. From documents: the version when present, else 1,
/// through createClassId/createInterfaceId (so an empty or missing "class" or a
/// negative version throws InvalidArgumentException -1006); "loader" of a class
/// document is dropped; a loader gets the "loader" text as its name.
class MOX_API ClassIdConverter {
public:
    /// Fills `target` from `id`; throws NullPointerException for a null id.
    static void toXB(::MOX::XB::xbclass_id& target, const RT::SmartPointer<IClassId>& id);
    /// Fills `target` from `id`; throws NullPointerException for a null id.
    static void toXB(::MOX::XB::xbinterface_id& target, const RT::SmartPointer<IInterfaceId>& id);
    /// A new document object filled from `id`.
    static ::MOX::XB::xbclass_id* toXB(const RT::SmartPointer<IClassId>& id);
    /// A new document object filled from `id`.
    static ::MOX::XB::xbinterface_id* toXB(const RT::SmartPointer<IInterfaceId>& id);
    /// A new class id (without loader) from `source`.
    static RT::SmartPointer<IClassId> toMOX(const ::MOX::XB::xbclass_id& source);
    /// A new interface id from `source`.
    static RT::SmartPointer<IInterfaceId> toMOX(const ::MOX::XB::xbinterface_id& source);
    /// Sets `target`'s "loader" to `loader`'s name.
    static void toXB(::MOX::XB::xbloader_id& target, const LoaderId& loader);
    /// A new document object with "loader" = `loader`'s name.
    static ::MOX::XB::xbloader_id* toXB(const LoaderId& loader);
    /// Sets `target`'s name to the "loader" text; its file stays.
    static void toMOX(LoaderId& target, const ::MOX::XB::xbloader_id& source);
    /// A loader id named by the "loader" text, with an empty file.
    static LoaderId toMOX(const ::MOX::XB::xbloader_id& source);
};

} // namespace XB
} // namespace CLASS
} // namespace MOX
