// SPDX-License-Identifier: MIT
#include <mox/persist/CacheLock.h>

#include <mox/rt/Tracer.h>

namespace MOX {
namespace PERSIST {

CacheLock::CacheLock(RT::Mutex& mutex, Marshallable& target) : target(target), mutex(mutex)
{
    RT::Tracer tracer("CacheLock::CacheLock", true);
    this->mutex.lock(0);
}

CacheLock::~CacheLock()
{
    RT::Tracer tracer("CacheLock::~CacheLock", true);
    mutex.unlock();
}

void CacheLock::unmarshal(const std::string& text) { target.unmarshal(text); }

std::string CacheLock::marshal() const { return target.marshal(); }

} // namespace PERSIST
} // namespace MOX
