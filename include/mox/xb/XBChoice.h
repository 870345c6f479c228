// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The base of document objects of a choice type.
#include <memory>

#include <mox/xb/XBObject.h>

namespace MOX {
namespace XB {

/// Base of the document objects of a choice type: the number of the chosen alternative
/// (1..n, 0 for none) and the one owned object of that alternative.
///
/// The schema description of the derived class names the alternatives in order; the
/// writer fails with status -9 when `t` is not one of them or `u` is not of the
/// alternative's class.
class MOX_API XBChoice : public XBObject {
public:
    /// Nothing chosen.
    XBChoice() = default;
    /// Takes over the choice and object of the other, which is left without an object.
    XBChoice(XBChoice&&) = default;
    /// Takes over the choice and object of the other, which is left without an object.
    XBChoice& operator=(XBChoice&&) = default;
    ~XBChoice() override;

    /// The chosen alternative's number; 0 when nothing was chosen.
    int t = 0;
    /// The chosen alternative's object (owned).
    std::unique_ptr<XBObject> u;

    /// Chooses alternative `alternative` with the object `value`.
    void set(int alternative, std::unique_ptr<XBObject> value)
    {
        t = alternative;
        u = std::move(value);
    }

protected:
    /// The chosen object as C when alternative `alternative` is chosen, else null.
    template <class C>
    C* chosen(int alternative) const noexcept
    {
        return t == alternative ? static_cast<C*>(u.get()) : nullptr;
    }
};

} // namespace XB
} // namespace MOX
