// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Name/value property stores.
#include <string>

#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>

namespace MOX {
namespace I {

/// A name/value store of texts.
class MOX_RT_API IProperties {
public:
    virtual ~IProperties();
    /// The names held, in the order they were first set.
    virtual Vector<std::string> getPropertyNames() const = 0;
    /// The value of `name`, or `defaultValue` when it is not set.
    virtual std::string getProperty(const std::string& name, const std::string& defaultValue = std::string()) const = 0;
    /// Sets `name` to `value` (a name already set keeps its place in the order).
    virtual void setProperty(const std::string& name, const std::string& value) = 0;
    /// Removes `name`; nothing happens when it is not set.
    virtual void removeProperty(const std::string& name) = 0;
};

} // namespace I
} // namespace MOX
