// SPDX-License-Identifier: MIT
#include <mox/persist/CacheWriteLock.h>

#include <mox/rt/Check.h>
#include <mox/rt/Tracer.h>

namespace MOX {
namespace PERSIST {

// Members end in reverse order when the body throws: the update handle (if taken) is
// released before the lock member gives the mutex up.
CacheWriteLock::CacheWriteLock(RT::Mutex& mutex, Marshallable& target, RT::SmartPointer<RT::ILocalFile>& file)
    : lock(mutex, target), file(file), saved(false), handle()
{
    RT::Tracer tracer("CacheWriteLock::CacheWriteLock", true);
    handle = RT::checkDeref(this->file).acquireHandle();
    RT::checkDeref(this->file).readWith(handle, lock);
}

CacheWriteLock::~CacheWriteLock()
{
    RT::Tracer tracer("CacheWriteLock::~CacheWriteLock", true);
    handle = nullptr;
    // The lock member ends after this body: the mutex is released last.
}

void CacheWriteLock::saveChanges()
{
    RT::checkDeref(file).writeWith(handle, lock);
    saved = true;
}

} // namespace PERSIST
} // namespace MOX
