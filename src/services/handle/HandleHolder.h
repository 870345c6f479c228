// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/handle/Handle.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace HDL {

/// A handle record that also holds the object; only the handle manager makes them.
template <class T>
class HandleHolder;

/// The record of an object handle: while it exists, the object stays alive.
template <>
class HandleHolder<const RT::SmartPointer<Object>> : public Handle {
public:
    /// Builds the Handle part, then shares `value` (its count goes up by one).
    HandleHolder(const std::string& classname, const RT::SmartPointer<Object>& value);
    HandleHolder(const HandleHolder&) = delete;
    HandleHolder& operator=(const HandleHolder&) = delete;
    /// Releases the object (the last release deletes it), then the Handle part.
    ~HandleHolder() override;

    /// A shared copy of the held pointer.
    RT::SmartPointer<Object> getValue() const;

private:
    RT::SmartPointer<Object> value;
};

/// The only record type of the handle table.
using ObjectHandleHolder = HandleHolder<const RT::SmartPointer<Object>>;

} // namespace HDL
} // namespace MOX
