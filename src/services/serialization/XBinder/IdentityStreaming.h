// SPDX-License-Identifier: MIT
#pragma once
// The identities document written item by item, straight from the identities' own
// texts: no document object per identity, no copy of its texts.
#include <memory>
#include <string>

#include <mox/xb/XBChoice.h>

#include "services/serialization/manager/XBType.h"

namespace MOX {
namespace XB {

/// An "identity" item written from texts it points to; described like xbidentity.
class xbidentity_ref : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    const std::string* format = nullptr;
    const std::string* authority = nullptr;
    const std::string* account = nullptr;
    const std::string* type = nullptr;
};

/// A "UserIdentifier" or "GroupIdentifier" item written from texts it points to;
/// described like xbAbstractNameIdentifier.
class xbname_ref : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    const std::string* value = nullptr;
    const std::string* format = nullptr;
};

/// One item: the choice of xbidentities_1 over the pointing alternatives.
class xbidentities_ref_1 : public XBChoice {
public:
    MOX_XB_DOCUMENT_TYPE()
    enum : int { T_identity = 1, T_UserIdentifier = 2, T_GroupIdentifier = 3 };
};

/// The content of the root "identities" written as a streamed list of items.
class xbidentities_out : public XBStream<xbidentities_ref_1> {
public:
    MOX_XB_DOCUMENT_TYPE()
    using XBStream<xbidentities_ref_1>::XBStream;
};

} // namespace XB
} // namespace MOX
