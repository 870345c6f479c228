// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Document objects of the identities document:
///
///     <identities>
///       <identity format="QEL" authority="NT:CORP" account="lp1" type="Printers"/>
///       <UserIdentifier format="QEL">NT:CORP/alice</UserIdentifier>
///       <GroupIdentifier format="EMAIL">staff@example.org</GroupIdentifier>
///     </identities>
///
/// The items may come in any order and number; every attribute shown is required.
#include <optional>
#include <string>
#include <vector>

#include <mox/rt/Export.h>
#include <mox/xb/DocumentElement.h>
#include <mox/xb/XBChoice.h>
#include <mox/xb/XBObject.h>

namespace MOX {
namespace XB {

/// The "identity" item: an identity that is neither a user nor a group, by its parts.
class MOX_API xbidentity : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    std::optional<std::string> format;    ///< the authority's format
    std::optional<std::string> authority; ///< the authority's name
    std::optional<std::string> account;   ///< the account name
    std::optional<std::string> type;      ///< the account type
};

/// The "UserIdentifier" and "GroupIdentifier" items: an identity text in a format.
class MOX_API xbAbstractNameIdentifier : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    std::optional<std::string> value;  ///< the element's text (the identity text)
    std::optional<std::string> format; ///< the identity's format
};

/// One item of the list: a choice of the three item elements.
class MOX_API xbidentities_1 : public XBChoice {
public:
    MOX_XB_DOCUMENT_TYPE()
    /// Alternative numbers.
    enum : int { T_identity = 1, T_UserIdentifier = 2, T_GroupIdentifier = 3 };

    /// The "identity" item when that is the one chosen, else null.
    xbidentity* identity() const noexcept { return chosen<xbidentity>(T_identity); }
    /// The "UserIdentifier" item when that is the one chosen, else null.
    xbAbstractNameIdentifier* UserIdentifier() const noexcept
    {
        return chosen<xbAbstractNameIdentifier>(T_UserIdentifier);
    }
    /// The "GroupIdentifier" item when that is the one chosen, else null.
    xbAbstractNameIdentifier* GroupIdentifier() const noexcept
    {
        return chosen<xbAbstractNameIdentifier>(T_GroupIdentifier);
    }
};

/// The content of the root: the items in document order (owned).
class MOX_API xbidentities : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    std::vector<xbidentities_1> list; ///< the items, in document order
};

/// The document element: root "identities" over an xbidentities.
class MOX_API identities_CC : public DocumentElement {
public:
    /// Binds the root "identities" to `top`, which must be an xbidentities.
    explicit identities_CC(XBObject& top);
    ~identities_CC() override;
    /// The top object as the xbidentities it is.
    xbidentities& getTop() const noexcept { return static_cast<xbidentities&>(top()); }
};

} // namespace XB
} // namespace MOX
