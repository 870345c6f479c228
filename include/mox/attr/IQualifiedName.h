// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Qualified names: the name, value format and scope of an attribute.
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/Marshallable.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace ATTR {

/// Which attribute an attribute is: a name, the format (kind) of its values and an
/// optional scope.
///
/// Text form (`marshal`, also `toString`): an "attribute-id" element carrying "name",
/// then "format" only when it is not the default format "String", then "scope" only
/// when it is not empty, for example `<attribute-id name="size" format="Integer"/>`.
/// `unmarshal` reads the first "attribute-id" element of a text and overwrites all three
/// fields without checking them: a missing name reads as empty, a missing format as
/// "String", a format attribute that is present but empty as the empty format.
///
/// Attributes share their qualified name when cloned, so an unmarshal into a qualified
/// name is seen by every attribute holding it. Not synchronised.
class MOX_API IQualifiedName : public virtual Object, public virtual Marshallable {
public:
    ~IQualifiedName() override;

    /// The format of the values ("String" unless set otherwise).
    virtual const std::string& getFormat() const = 0;
    /// The attribute's name.
    virtual const std::string& getName() const = 0;
    /// The scope; empty for none.
    virtual const std::string& getScope() const = 0;
    /// Byte-wise by format, then name, then scope. Names that order neither way are
    /// equal (this is the equality of the attribute-list functions).
    virtual bool lessThan(const IQualifiedName& other) const = 0;
    /// Glob match: this name, format and scope against `other`'s as patterns
    /// (StringUtils::Matches, '*' and '?'); a null `other` matches nothing.
    virtual bool matches(const RT::SmartPointer<IQualifiedName>& other) const = 0;
};

} // namespace ATTR
} // namespace MOX
