// SPDX-License-Identifier: MIT
// The date-time interface and its factories.
#include <ctime>

#include <mox/time/IDateTime.h>

#include "data/time/DateTimeImpl.h"

namespace MOX {

TIME::IDateTime::~IDateTime() = default;

RT::SmartPointer<TIME::IDateTime> getCurrentTime()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    // Whole milliseconds, like the platform's millisecond clock.
    const long long milliseconds = static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    return RT::makeShared<TIME::DateTimeImpl>(milliseconds * 1000);
}

RT::SmartPointer<TIME::IDateTime> createDateTime(long long microseconds)
{
    return RT::makeShared<TIME::DateTimeImpl>(microseconds);
}

} // namespace MOX
