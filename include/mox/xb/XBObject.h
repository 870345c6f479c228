// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The base of every schema-bound document object.
#include <mox/rt/Export.h>

namespace MOX {
namespace XB {

class XBType;

/// Base of every schema-bound document object (`xbidentity`, `xbattribute`, ...).
///
/// Document objects are plain data; they know their schema description so that a
/// choice can check that its owned child really is of the alternative it claims, and
/// so that a document element can find the description of its top object.
class MOX_API XBObject {
public:
    virtual ~XBObject();
    /// The schema description of the object's class.
    virtual const XBType& xbType() const noexcept = 0;

protected:
    // Protected so that only whole document objects are made, copied and moved, never a
    // bare base that would slice them.
    /// Made only as part of a document object.
    XBObject() = default;
    /// Copied as part of a document object.
    XBObject(const XBObject&) = default;
    /// Moved as part of a document object.
    XBObject(XBObject&&) = default;
    /// Assigned as part of a document object.
    XBObject& operator=(const XBObject&) = default;
    /// Move-assigned as part of a document object.
    XBObject& operator=(XBObject&&) = default;
};

} // namespace XB
} // namespace MOX

/// Declares the two members every document object class has: the static `schema()`,
/// defined in the schema's source as a function-local `static const XBType`, and the
/// virtual `xbType()` returning it.
#define MOX_XB_DOCUMENT_TYPE()                                                          \
    static const ::MOX::XB::XBType& schema();                                           \
    const ::MOX::XB::XBType& xbType() const noexcept override { return schema(); }
