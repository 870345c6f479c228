// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>

#include <mox/time/IDateTime.h>

namespace MOX {
namespace TIME {

/// The library's date-time: microseconds since the epoch and the resolution of its
/// text form (0 seconds, 1 milliseconds, 2 microseconds).
class DateTimeImpl : public IDateTime {
public:
    /// The epoch, microsecond resolution.
    DateTimeImpl();
    /// `microseconds` since the epoch, microsecond resolution.
    explicit DateTimeImpl(long long microseconds);
    ~DateTimeImpl() override;

    long long getSeconds() const override;
    long long getMicroseconds() const override;
    long long getTime() const override;
    void add(long long microseconds) override;
    std::string toMillisecondString() const override;
    std::string toMicrosecondString() const override;
    bool lessThan(const IDateTime& other) const override;

    /// `marshal()`.
    std::string toString() const override;
    /// Reads a text form. A text rejected for its shape (no final Z, a '+') leaves the
    /// object unchanged; a text rejected by the field scan or for its month leaves the
    /// time unchanged but the resolution set to the one of the text.
    void unmarshal(const std::string& text) override;
    /// The text form at the stored resolution.
    std::string marshal() const override;

    /// The resolution of the text form (0, 1 or 2).
    int getResolution() const noexcept { return resolution; }

private:
    std::int32_t resolution;
    long long time;
};

} // namespace TIME
} // namespace MOX
