// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Attributes: a qualified name with an ordered list of value texts.
#include <cstddef>
#include <string>

#include <mox/attr/IQualifiedName.h>
#include <mox/rt/Cloneable.h>
#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace ATTR {

/// A named, multi-valued property of some subject: a qualified name and an ordered list
/// of value texts (duplicates and empty texts allowed).
///
/// `toString` is the qualified name's text form (values do not appear in it). `clone`
/// (from Cloneable) makes a new attribute that shares the qualified-name object and
/// holds its own copy of the values. Not synchronised.
class MOX_API IAttribute : public virtual Object, public virtual Cloneable {
public:
    ~IAttribute() override;

    /// The qualified name (shared, not copied; null only if created from a null one).
    virtual RT::SmartPointer<IQualifiedName> getQualifiedName() const = 0;
    /// The qualified name's name; NullPointerException when there is no qualified name.
    virtual std::string getName() const = 0;
    /// The qualified name's format; NullPointerException when there is no qualified name.
    virtual std::string getFormat() const = 0;
    /// A copy of the values, in order.
    virtual Vector<std::string> getValues() const = 0;
    /// Replaces all values with a copy of `values`.
    virtual void setValues(const Vector<std::string>& values) = 0;
    /// The value at `index` (from 0); std::out_of_range at or past getValueCount().
    virtual std::string getValue(std::size_t index) const = 0;
    /// The number of values.
    virtual std::size_t getValueCount() const = 0;
    /// Appends `value`, also when an equal text is already held.
    virtual void addValue(const std::string& value) = 0;
    /// Removes the first value equal to `value`; later equal ones stay.
    virtual void removeValue(const std::string& value) = 0;
    /// Removes every value.
    virtual void removeAllValues() = 0;
    /// True when some value equals `value` exactly.
    virtual bool containsValue(const std::string& value) const = 0;
    /// True when `other` is null, or when the qualified names match (this one's fields
    /// as texts, `other`'s as patterns) and every value of `other` is among this one's.
    virtual bool matches(const RT::SmartPointer<IAttribute>& other) const = 0;
    /// True when there is at least one value.
    virtual bool hasValues() const = 0;
    /// By qualified name (a null or shared one orders neither way), then by value count
    /// (fewer first), then by the values position by position. Equal attributes hold
    /// equal names and the same values in the same order.
    virtual bool lessThan(const IAttribute& other) const = 0;
};

} // namespace ATTR
} // namespace MOX
