// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Class identifiers and their factories.
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace CLASS {

/// Names a component class: a class name, a version (1 when not given) and, optionally,
/// the loader that provides the class.
///
/// Text form (`toString`): the name alone for versions up to 1, otherwise the name,
/// " v=" and the version ("Foo v=3"). XML form:
/// `<class-id class="Foo" version="3" loader="L"/>`, "version" only above 1 and
/// "loader" only when set.
class MOX_API IClassId : public virtual Object {
public:
    ~IClassId() override;
    /// The class name.
    virtual const std::string& getName() const = 0;
    /// The class version.
    virtual int getVersion() const = 0;
    /// True when the name is exactly `text` (case-sensitive).
    virtual bool hasName(const std::string& text) const = 0;
    /// Byte-wise by name, then by version (signed); the loader plays no part.
    virtual bool lessThan(const IClassId& other) const = 0;
};

} // namespace CLASS

/// A new class id without a loader. An empty name or a negative version throws
/// InvalidArgumentException (-1006); version 0 is accepted.
MOX_API RT::SmartPointer<CLASS::IClassId> createClassId(const std::string& name, int version);

/// A class id read from its XML form (when the text starts with '<') or its text form.
/// Only an empty text is refused (InvalidArgumentException -1006): the id read may have
/// an empty name or any version. A version that is not a whole number throws
/// InvalidArgumentException (-1009).
MOX_API RT::SmartPointer<CLASS::IClassId> parseClassId(const std::string& text);

/// The XML form ("class-id" element) of a class id made by this library. Throws
/// NullPointerException for a null id and ClassCastException for another implementation.
MOX_API std::string marshalClassId(const RT::SmartPointer<CLASS::IClassId>& id);

/// The loader name of a class id made by this library ("" when none). Throws like
/// marshalClassId.
MOX_API std::string getClassIdLoader(const RT::SmartPointer<CLASS::IClassId>& id);

} // namespace MOX
