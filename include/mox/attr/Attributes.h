// SPDX-License-Identifier: MIT
#pragma once
/// Factories of qualified names and attributes, and the functions over attribute lists
/// (`Vector<SmartPointer<IAttribute>>`): search, comparison, matching, cloning and the
/// attributes XML document.
///
/// Every function keeps list order: searches return the first hit, clones and read
/// lists keep the order of their source. A null element, or an attribute without a
/// qualified name, met by an operation throws NullPointerException.
///
/// The attributes document:
///
///     <?xml version="1.0" encoding="UTF-8"?>
///     <attributes><attribute name="color" type="String"><value>red</value><value>blue</value></attribute></attributes>
///
/// "name" is always written, "type" (the format) when not empty, "scope" when not empty;
/// one "value" element per value text, in order.
#include <iosfwd>
#include <string>

#include <mox/attr/IAttribute.h>
#include <mox/attr/IQualifiedName.h>
#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace Attributes {

/// An attribute list.
using AttributeList = Vector<RT::SmartPointer<ATTR::IAttribute>>;

/// A new qualified name; an empty `format` becomes the default format "String". An
/// empty `name` throws InvalidArgumentException (-1006).
MOX_API RT::SmartPointer<ATTR::IQualifiedName> createQualifiedName(const std::string& name, const std::string& format,
                                                                  const std::string& scope);
/// A qualified name read from its "attribute-id" text (see IQualifiedName), starting
/// from an empty name, format "String" and no scope. An empty `text` throws
/// InvalidArgumentException (-1006); nothing else is checked.
MOX_API RT::SmartPointer<ATTR::IQualifiedName> parseQualifiedName(const std::string& text);
/// A new attribute without values sharing `name` (not checked: a null name gives an
/// attribute whose name-dependent operations throw).
MOX_API RT::SmartPointer<ATTR::IAttribute> createAttribute(const RT::SmartPointer<ATTR::IQualifiedName>& name);
/// A new attribute without values named `name`, format "String", no scope. `second` is
/// not used (kept for callers of the two-text form). An empty `name` throws
/// InvalidArgumentException (-1006).
MOX_API RT::SmartPointer<ATTR::IAttribute> createAttribute(const std::string& name, const std::string& second);

/// The first attribute whose name is exactly `name`, or null. An empty `name` throws
/// InvalidArgumentException (-1006).
MOX_API RT::SmartPointer<ATTR::IAttribute> findAttribute(const std::string& name, const AttributeList& list);
/// The first attribute whose qualified name equals `name` (same object, or equal
/// format, name and scope), or null. A null `name` finds nothing.
MOX_API RT::SmartPointer<ATTR::IAttribute> findAttribute(const RT::SmartPointer<ATTR::IQualifiedName>& name,
                                                        const AttributeList& list);
/// True when findAttribute by qualified name finds one.
MOX_API bool containsAttribute(const RT::SmartPointer<ATTR::IQualifiedName>& name, const AttributeList& list);
/// True when findAttribute by name finds one; an empty `name` throws -1006.
MOX_API bool containsAttribute(const std::string& name, const AttributeList& list);

/// True when the lists have the same length and each attribute of `first` finds, by its
/// qualified name, an equal attribute (same values in the same order) in `second`.
/// The order of the attributes does not matter; the order of values does.
MOX_API bool equals(const AttributeList& first, const AttributeList& second);
/// True when every attribute of `wanted` that `list` also has (by qualified name) asks
/// only for values the attribute of `list` holds (IAttribute::matches). Attributes of
/// `wanted` that `list` lacks are skipped; an empty `wanted` is always met.
MOX_API bool matches(const AttributeList& list, const AttributeList& wanted);
/// The process-wide empty list (never changed).
MOX_API const AttributeList& Empty();
/// A new list of clones in the same order; each clone shares its qualified name and
/// owns a copy of the values.
MOX_API AttributeList clone(const AttributeList& list);

/// The attributes document of `list`. Throws SerializationException (-1055) when it
/// cannot be written.
MOX_API std::string marshal(const AttributeList& list);
/// The list an attributes document holds. A text that does not decode throws
/// SerializationException (-1056, the detail says why); an "attribute" with an empty
/// "name" throws InvalidArgumentException (-1006). A failure returns no list at all.
MOX_API AttributeList unmarshal(const std::string& text);
/// The list of the attributes document read from `input`, incrementally, with the
/// results and errors of the text form (white space between documents is skipped).
/// Reading stops after the root element and nothing that follows it is lost, whatever
/// the stream: the library reads no further than the stream buffer holds (waiting for
/// input only when it holds nothing) and puts back what follows the root (after white
/// space). A part that the buffer cannot take back (a buffer without put-back room, or
/// bytes from an earlier refill) is kept with the stream (in its ios_base storage, freed
/// with it) and read first by the next unmarshal or parseIdentities of the same stream;
/// a caller reading the stream by other means sees only what the buffer took back. If
/// even that cannot be kept, the next read of the stream fails with -1056. Any failure
/// of the stream or its buffer (a state bit, an exception it throws, with or without
/// `exceptions()`) throws SerializationException -1056 ("input stream read failed") and
/// leaves the stream bad; no other exception escapes.
MOX_API AttributeList unmarshal(std::istream& input);
/// The "attribute" element of `attribute` alone (no declaration, no root).
MOX_API std::string marshal(const RT::SmartPointer<ATTR::IAttribute>& attribute);
/// The first attribute of one or more "attribute" elements (as marshal of one attribute
/// writes). An empty text, or one that holds no attribute, throws
/// InvalidArgumentException (-1006); a text that does not decode fails as unmarshal.
MOX_API RT::SmartPointer<ATTR::IAttribute> parseAttribute(const std::string& text);

} // namespace Attributes
} // namespace MOX
