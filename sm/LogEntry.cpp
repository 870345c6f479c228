// SPDX-License-Identifier: MIT
#include "LogEntry.h"

#include <utility>

namespace MOX {
namespace SM {

LogEntry::LogEntry(std::string name, std::string value) : m_name(std::move(name)), m_value(std::move(value)) {}

LogEntry::~LogEntry() = default;

std::string LogEntry::toString() const { return m_name + "=" + m_value; }

} // namespace SM
} // namespace MOX
