// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Records of the handle table.
#include <string>

#include <mox/rt/Export.h>

namespace MOX {
namespace HDL {

/// A record of the handle table: remembers the class name the creator gave for the
/// object behind a handle. The concrete records also hold the object itself.
class MOX_API Handle {
public:
    /// Keeps a copy of `classname`.
    explicit Handle(const std::string& classname);
    /// Copies the class name.
    Handle(const Handle& other);
    Handle& operator=(const Handle&) = delete;
    /// Records are deleted through this destructor by the handle manager.
    virtual ~Handle();

    /// The class name given at construction; valid as long as the record lives.
    const std::string& getClassname() const;

private:
    std::string classname;
};

} // namespace HDL
} // namespace MOX
