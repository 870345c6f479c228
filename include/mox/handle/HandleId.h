// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Handle identifiers of the flat binding.
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/Object.h>

namespace MOX {
namespace HDL {
class HandleManager;
}

/// The integer identity of a handle of the flat binding; the default constructor also
/// hands out new handle numbers.
///
/// Numbers run 1, 2, 3, ... in a process and are never reused. The counter `LastId` is
/// not synchronised: callers other than the handle manager that default-construct a
/// HandleId must serialise with it.
///
/// Exhaustion: numbers stop at 2,147,483,647. Once `LastId` holds that value, the default
/// constructor throws `BadAllocException` (short form) and leaves `LastId` unchanged, so
/// the counter never overflows, no number is handed out twice and every handed-out
/// number stays positive (which keeps the handle table's order a plain numeric order).
class MOX_API HandleId : public Object {
public:
    /// The last handle number handed out in this process (0 before the first).
    static int LastId;
    /// "handle": the tag callers use for handle values in their own texts.
    static const char TAG[];

    /// Takes the next number (`LastId + 1`); throws `BadAllocException` when the number
    /// space is exhausted (see the class description).
    HandleId();
    /// Refers to the existing number `value`, for looking a handle up; takes no number.
    HandleId(const int& value);
    /// Copies the number; takes no new one.
    HandleId(const HandleId& other);
    /// Copies the number.
    HandleId& operator=(const HandleId& other);
    ~HandleId() override;

    /// The handle number.
    int getId();
    /// `id - other.id` as a wrapping 32-bit subtraction: negative, zero or positive.
    int compare(const HandleId& other) const;
    /// True when both refer to the same number.
    bool equals(const HandleId& other) const;
    /// Always the empty string: a handle has no text form of its own.
    std::string toString() const override;

private:
    // The manager's table orders keys by their number without going through getId().
    friend class HDL::HandleManager;

    int id;
};

namespace HDL {
/// The handle identity under the handle area's own namespace as well.
using MOX::HandleId;
} // namespace HDL

} // namespace MOX
