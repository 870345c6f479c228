// SPDX-License-Identifier: MIT
#include <mox/rt/MutexGrabber.h>

namespace MOX {
namespace RT {

MutexGrabber::MutexGrabber(Mutex& mutex) : m_mutex(mutex) { m_mutex.lock(0); }

MutexGrabber::~MutexGrabber() { m_mutex.unlock(); }

} // namespace RT
} // namespace MOX
