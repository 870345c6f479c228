// SPDX-License-Identifier: MIT
#include "LogService.h"
#include <mox/rt/Raise.h>

#include <mox/rt/Exceptions.h>
#include <mox/rt/StringUtils.h>

#include "LogEntry.h"

MOX_SOURCE_FILE("sm/LogService")

namespace MOX {
namespace SM {

using RT::StringUtils;

const char* const LogService::PAUSE = "LogService.Pause";
const char* const LogService::RESUME = "LogService.Resume";

LogService::LogService() = default;

LogService::~LogService() = default;

void LogService::submit(const RT::SmartPointer<Object>& entry)
{
    const auto* logEntry = dynamic_cast<const LogEntry*>(entry.get());
    if (logEntry == nullptr)
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::InvalidArguments, MOX_SITE("MOX::SM::LogService::submit"));
    const std::string& name = logEntry->getName();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (StringUtils::StartsWith(name, PAUSE)) {
        m_paused.insert(extractKey(name, PAUSE));
    } else if (StringUtils::StartsWith(name, RESUME)) {
        m_paused.erase(extractKey(name, RESUME));
    } else if (isPausedLocked(name)) {
        ++m_suppressed;
        return;
    }
    m_entries.push_back(entry);
}

RT::SmartPointer<Object> LogService::createEntry(const std::string& name, const std::string& value)
{
    return RT::makeShared<LogEntry>(name, value);
}

std::string LogService::extractKey(const std::string& name, const std::string& prefix)
{
    if (!StringUtils::StartsWith(name, prefix) || name.size() <= prefix.size() || name[prefix.size()] != '.')
        return std::string();
    return name.substr(prefix.size() + 1);
}

bool LogService::isPausedLocked(const std::string& name) const
{
    for (const std::string& key : m_paused) {
        if (key.empty())
            continue;
        if (name == key || StringUtils::StartsWith(name, key + "."))
            return true;
    }
    return false;
}

Vector<RT::SmartPointer<Object>> LogService::getEntries() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries;
}

Vector<std::string> LogService::getPausedKeys() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return Vector<std::string>(m_paused.begin(), m_paused.end());
}

std::size_t LogService::getSuppressedCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_suppressed;
}

std::string LogService::toString() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string paused;
    for (const std::string& key : m_paused)
        paused += (paused.empty() ? "" : ",") + key;
    return "LogService(entries=" + std::to_string(m_entries.size()) + ", suppressed=" + std::to_string(m_suppressed) +
           ", paused=[" + paused + "])";
}

} // namespace SM
} // namespace MOX
