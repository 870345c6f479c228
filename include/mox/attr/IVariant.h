// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Variants: small typed values held as text.
#include <string>

#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>
#include <mox/rt/StringUtils.h>

namespace MOX {
namespace ATTR {

/// A small typed value held as text: a kind ("String", "Integer", "Long", "Int64",
/// "Float", "Double"), the value text and a caller-chosen tag.
///
/// Numbers are turned into text when set and parsed from the text on every read, so a
/// variant compares and copies as three texts. "Long" is a 32-bit kind wherever a variant
/// is read, and "Int64" a 64-bit one. The `long` overloads give "Long" for a value that
/// fits in 32 bits and "Int64" for a wider one (possible where `long` has 64 bits, as on
/// LP64 Linux, where `std::int64_t` is `long`), so no writer makes a "Long" that a peer
/// with a 32-bit `long` cannot read back. `MOX::Int64` (`long long`) always gives "Int64":
/// pass it for a value that must be an "Int64" whatever its size.
///
/// Not synchronised: readers may share a variant, a writer needs it to itself. Changing
/// a variant that a set holds breaks the set's order.
class MOX_API IVariant : public Object {
public:
    ~IVariant() override;

    /// The tag: the first key of the order.
    virtual const std::string& getTag() const = 0;
    /// Replaces the tag.
    virtual void setTag(const std::string& tag) = 0;
    /// The kind's name as stored (the two-text setValue stores any text).
    virtual const std::string& getType() const = 0;
    /// True when the stored kind is exactly `name` (case-sensitive).
    virtual bool isType(const std::string& name) const = 0;
    /// The value text.
    virtual const std::string& getValue() const = 0;

    /// Stores the value text and then the kind, both verbatim and unchecked. Every typed
    /// setValue ends in this one (through virtual dispatch), so an override sees every
    /// update.
    virtual void setValue(const std::string& valueText, const std::string& typeName) = 0;
    /// Kind "Integer".
    virtual void setValue(int value) = 0;
    /// Kind "Long" for a value within 32 bits; a wider one is stored as setValue(Int64) does.
    virtual void setValue(long value) = 0;
    /// Kind "Int64".
    virtual void setValue(Int64 value) = 0;
    /// Kind "Float" (written with the float text form, not the double one).
    virtual void setValue(float value) = 0;
    /// Kind "Double".
    virtual void setValue(double value) = 0;

    /// The value of an "Integer" variant. Any other kind throws
    /// InvalidArgumentException (-1009); there is no conversion between kinds. A text
    /// that does not read as the kind throws what StringUtils raises.
    virtual int asInteger() const = 0;
    /// The value of a "Long" variant; otherwise as asInteger.
    virtual long asLong() const = 0;
    /// The value of an "Int64" variant; otherwise as asInteger.
    virtual Int64 asInt64() const = 0;
    /// The value of a "Float" variant; otherwise as asInteger (same -1009 message).
    virtual float asFloat() const = 0;
    /// The value of a "Double" variant; otherwise as asInteger (same -1009 message).
    virtual double asDouble() const = 0;

    /// Order: by tag, then (for equal kinds) by value text, else by kind name. All three
    /// are byte-wise text comparisons: numbers never compare as numbers ("10" < "9").
    virtual bool lessThan(const IVariant& other) const = 0;
    /// A new variant with the same tag, kind and value text; the caller owns it.
    virtual IVariant* clone() const = 0;
};

/// The set the library keeps variants in: ordered by IVariant::lessThan, so a set
/// holds one variant per (tag, kind, value text).
using VariantSet = Set<RT::SmartPointer<IVariant>, std::less<RT::SmartPointer<IVariant>>>;

} // namespace ATTR

/// A "String" variant holding `value` verbatim.
MOX_API RT::SmartPointer<ATTR::IVariant> createVariant(const std::string& value, const std::string& tag);
/// An "Integer" variant.
MOX_API RT::SmartPointer<ATTR::IVariant> createVariant(const int& value, const std::string& tag);
/// A "Double" variant.
MOX_API RT::SmartPointer<ATTR::IVariant> createVariant(const double& value, const std::string& tag);
/// A "Float" variant.
MOX_API RT::SmartPointer<ATTR::IVariant> createVariant(const float& value, const std::string& tag);
/// A "Long" variant for a value within 32 bits, else an "Int64" one (see IVariant).
MOX_API RT::SmartPointer<ATTR::IVariant> createVariant(const long& value, const std::string& tag);
/// An "Int64" variant.
MOX_API RT::SmartPointer<ATTR::IVariant> createVariant(const Int64& value, const std::string& tag);

/// Empties `target`, then inserts a new clone of each element of `source` in its order.
/// A null element throws NullPointerException; `target` then holds the clones made so far.
MOX_API void cloneVariants(const ATTR::VariantSet& source, ATTR::VariantSet& target);

} // namespace MOX
