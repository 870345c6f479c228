// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/rt/Object.h>

namespace MOX {
namespace SM {

/// One log entry: a property name and the value it was set to.
class LogEntry : public virtual Object {
public:
    LogEntry(std::string name, std::string value);
    ~LogEntry() override;
    const std::string& getName() const noexcept { return m_name; }
    const std::string& getValue() const noexcept { return m_value; }
    /// "name=value".
    std::string toString() const override;

private:
    std::string m_name;
    std::string m_value;
};

} // namespace SM
} // namespace MOX
