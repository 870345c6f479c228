// SPDX-License-Identifier: MIT
#pragma once
#include <cstddef>
#include <mutex>
#include <set>
#include <string>

#include <mox/app/ILogService.h>

namespace MOX {
namespace SM {

/// The sample log service: keeps the entries it is given, in order.
///
/// An entry "LogService.Pause.<key>" pauses <key>, "LogService.Resume.<key>" resumes it
/// (both are kept). While <key> is paused, entries named <key> or <key>.<anything> are
/// dropped and counted as suppressed. Thread safe.
class LogService : public virtual I::ILogService {
public:
    LogService();
    ~LogService() override;

    /// Takes an entry of `createEntry`; anything else throws InvalidArgumentException.
    void submit(const RT::SmartPointer<Object>& entry) override;
    RT::SmartPointer<Object> createEntry(const std::string& name, const std::string& value) override;
    /// The text after `prefix` and its dot; "" when `name` does not continue the prefix
    /// with a dot.
    std::string extractKey(const std::string& name, const std::string& prefix) override;
    Vector<RT::SmartPointer<Object>> getEntries() const override;
    Vector<std::string> getPausedKeys() const override;
    /// The number of entries dropped because their key was paused.
    std::size_t getSuppressedCount() const;
    /// "LogService(entries=N, suppressed=M, paused=[k1,k2])".
    std::string toString() const override;

    /// The property prefixes that steer the service.
    static const char* const PAUSE;
    static const char* const RESUME;

private:
    bool isPausedLocked(const std::string& name) const;

    mutable std::mutex m_mutex;
    Vector<RT::SmartPointer<Object>> m_entries;
    std::set<std::string> m_paused;
    std::size_t m_suppressed = 0;
};

} // namespace SM
} // namespace MOX
