// SPDX-License-Identifier: MIT
#include <mox/persist/CacheReadLock.h>

#include <mox/rt/Check.h>
#include <mox/rt/Tracer.h>

namespace MOX {
namespace PERSIST {

// Should reading throw, the lock member is destroyed on the way out: the mutex is free.
CacheReadLock::CacheReadLock(RT::Mutex& mutex, Marshallable& target, RT::SmartPointer<RT::ILocalFile>& file)
    : lock(mutex, target)
{
    RT::Tracer tracer("CacheReadLock::CacheReadLock", true);
    RT::checkDeref(file).readInto(lock);
}

CacheReadLock::~CacheReadLock()
{
    {
        RT::Tracer tracer("CacheReadLock::~CacheReadLock", true);
    }
    // The lock member ends after this body: the mutex is released last.
}

} // namespace PERSIST
} // namespace MOX
