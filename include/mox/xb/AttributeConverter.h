// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Conversions between attributes or properties and their document objects.
#include <mox/attr/IAttribute.h>
#include <mox/attr/IQualifiedName.h>
#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/IProperties.h>
#include <mox/rt/SmartPointer.h>
#include <mox/xb/AttributesSchema.h>
#include <mox/xb/PropertiesSchema.h>

namespace MOX {
namespace XB {

/// Turns qualified names, attributes, attribute lists and property sets into the
/// document objects of the attributes and properties documents, and back. Document
/// objects returned by pointer belong to the caller. A null qualified name or
/// attribute throws NullPointerException.
///
/// Qualified name to document: "name" always; "type" = the format when it is not empty;
/// "scope" when it is not empty (absent fields of the target are cleared). Document to
/// qualified name, through createQualifiedName (an empty "name" throws
/// InvalidArgumentException -1006): with "type", its name, type and scope (empty when
/// absent); without "type", the format "String" and no scope, whatever "scope" says.
class MOX_API AttributeConverter {
public:
    /// An ordered list of attributes.
    using AttributeList = Vector<RT::SmartPointer<ATTR::IAttribute>>;

    /// Fills `out` from `name`.
    static void toXB(xbqualified_name& out, const RT::SmartPointer<ATTR::IQualifiedName>& name);
    /// A new document object filled from `name`.
    static xbqualified_name* toXB(const RT::SmartPointer<ATTR::IQualifiedName>& name);
    /// Fills the name, type and scope of `out` from `name` (its values stay).
    static void toXB(xbattribute& out, const RT::SmartPointer<ATTR::IQualifiedName>& name);
    /// A new qualified name from `in`.
    static RT::SmartPointer<ATTR::IQualifiedName> toMOX(const xbqualified_name& in);
    /// A new qualified name from the name, type and scope of `in`.
    static RT::SmartPointer<ATTR::IQualifiedName> toId(const xbattribute& in);
    /// A new attribute: the qualified name of `in`, then its values in order.
    static RT::SmartPointer<ATTR::IAttribute> toMOX(const xbattribute& in);
    /// A new document object with the attribute's qualified name and values.
    static xbattribute* toXB(const RT::SmartPointer<ATTR::IAttribute>& attribute);
    /// Appends one "attribute" per element of `list`, in order, to what `out` holds.
    static void toXB(xbattributes& out, const AttributeList& list);
    /// A new document object holding `list`.
    static xbattributes* toXB(const AttributeList& list);
    /// Appends the attributes of `in`, in order, to what `out` holds (on a failure, what
    /// was appended before it stays).
    static void toMOX(AttributeList& out, const xbattributes& in);
    /// A new list of the attributes of `in`.
    static AttributeList toMOX(const xbattributes& in);

    /// Appends one "property" per property of `properties`, in the set's name order,
    /// each with its value (always present, possibly empty).
    static void toXB(xb_properties& out, const I::IProperties& properties);
    /// A new document object holding `properties`.
    static xb_properties* toXB(const I::IProperties& properties);
    /// Sets each entry of `in` into `properties`, in document order; an entry without a
    /// value sets the empty text.
    static void toMOX(I::IProperties& properties, const xb_properties& in);
};

} // namespace XB
} // namespace MOX
