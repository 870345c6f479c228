// SPDX-License-Identifier: MIT
#include <mox/handle/HandleManager.h>
#include <mox/rt/Raise.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

#include <mox/rt/Mutex.h>
#include <mox/rt/MutexGrabber.h>
#include <mox/rt/Thread.h>

#include "services/handle/HandleHolder.h"

MOX_SOURCE_FILE("services/handle/HandleManager")

namespace MOX {
namespace HDL {

using EXCEPTIONS::BadAllocException;
using EXCEPTIONS::ClassCastException;
using EXCEPTIONS::ErrorCode;
using EXCEPTIONS::InvalidArgumentException;
using EXCEPTIONS::InvalidHandleException;
using EXCEPTIONS::MoxException;
using EXCEPTIONS::UnexpectedException;
using RT::MutexGrabber;
using RT::SmartPointer;

namespace {

// The calling thread's key in the last-exception table: its kernel thread id as a
// signed 32-bit number (Linux thread ids never exceed that range).
int callerKey() noexcept { return static_cast<int>(RT::Thread::myThreadID()); }

// Records the full form of `code` as class E, located at `site`: built in place, never
// thrown, so that recording costs no unwinding.
template <class E>
void recordFixed(ErrorCode code, const EXCEPTIONS::SourceSite& site)
{
    E e(code);
    e.setSourceLocation(site.file, site.line, site.function);
    HandleManager::setException(e);
}

} // namespace

// The state behind the static operations. Two locks: the creation lock (guards creation
// only) and the table mutex (guards both tables and the taking of new handle numbers);
// whenever both are held, the table mutex was taken first.
struct HandleManager::State {
    // Orders the table by handle number. For the numbers the table holds (all positive,
    // see HandleId) this is the order of HandleId::compare; unlike a wrapped difference it
    // stays a strict order for any integer a caller looks up.
    struct IdOrder {
        bool operator()(const HandleId& a, const HandleId& b) const noexcept { return a.id < b.id; }
    };

    std::map<HandleId, Handle*, IdOrder> handles;
    std::map<int, SmartPointer<MoxException>> lastExceptions;
    RT::Mutex mutex;
    // Mirrors handles.size(), written under the mutex, so that getOpenHandleCount can read
    // it without the mutex and without a data race.
    std::atomic<unsigned int> openCount{0};

    // Files `record` under a new handle number; the caller holds the mutex.
    HandleId store(Handle* record)
    {
        HandleId id;
        handles.emplace(id, record);
        openCount.store(static_cast<unsigned int>(handles.size()), std::memory_order_relaxed);
        return id;
    }
    // The record of `handle`, or null; the caller holds the mutex.
    Handle* find(const HandleId& handle) const
    {
        const auto it = handles.find(handle);
        return it == handles.end() ? nullptr : it->second;
    }
};

namespace {
// Created while the library is loaded and never destroyed, so that creating the state
// works from any thread at any time, even while static objects are being torn down.
RT::Mutex* const creationLock = new RT::Mutex();
} // namespace

HandleManager::State& HandleManager::state()
{
    static State* created = nullptr;
    MutexGrabber grab(*creationLock);
    if (created == nullptr)
        created = new State();
    return *created;
}

HandleId HandleManager::newObjectHandle(const std::string& classname, const SmartPointer<Object>& object)
{
    State& self = state();
    MutexGrabber grab(self.mutex);
    // Owned here until it is filed, so that a failure to take a number or to insert
    // releases the object again.
    std::unique_ptr<ObjectHandleHolder> record(new ObjectHandleHolder(classname, object));
    const HandleId id = self.store(record.get());
    record.release();
    return id;
}

SmartPointer<Object> HandleManager::getObject(const int& handle)
{
    State& self = state();
    MutexGrabber grab(self.mutex);
    Handle* record = self.find(HandleId(handle));
    if (record == nullptr)
        EXCEPTIONS::raise(InvalidHandleException(), MOX_SITE("MOX::HDL::HandleManager::getObject"));
    // newObjectHandle is the only maker of records, so every record is an object holder.
    return static_cast<ObjectHandleHolder*>(record)->getValue();
}

bool HandleManager::closeHandle(const HandleId& handle)
{
    State& self = state();
    MutexGrabber grab(self.mutex);
    self.lastExceptions.erase(callerKey());
    const auto it = self.handles.find(handle);
    if (it == self.handles.end())
        return false;
    Handle* record = it->second;
    self.handles.erase(it);
    self.openCount.store(static_cast<unsigned int>(self.handles.size()), std::memory_order_relaxed);
    // May run the object's destructor, still under the table mutex.
    delete record;
    return true;
}

const char* HandleManager::findClassType(const int& handle)
{
    State& self = state();
    MutexGrabber grab(self.mutex);
    const Handle* record = self.find(HandleId(handle));
    return record == nullptr ? nullptr : record->getClassname().c_str();
}

unsigned int HandleManager::getOpenHandleCount()
{
    return state().openCount.load(std::memory_order_relaxed);
}

char* HandleManager::copyString(const std::string& text, char** out)
{
    char* buffer = static_cast<char*>(std::calloc(text.size() + 1, 1));
    if (buffer == nullptr)
        EXCEPTIONS::raise(BadAllocException(), MOX_SITE("MOX::HDL::HandleManager::copyString"));
    if (!text.empty())
        std::memcpy(buffer, text.data(), text.size());
    if (out != nullptr)
        *out = buffer;
    return buffer;
}

char** HandleManager::toChar(const Vector<std::string>& texts)
{
    const std::size_t n = texts.size();
    char** array = static_cast<char**>(std::calloc(n + 1, sizeof(char*)));
    if (array == nullptr)
        EXCEPTIONS::raise(BadAllocException(), MOX_SITE("MOX::HDL::HandleManager::toChar"));
    try {
        for (std::size_t i = 0; i < n; ++i)
            array[i] = copyString(texts[i], nullptr);
    } catch (...) {
        // The array is zero-filled, so the copies not yet made are null.
        for (std::size_t i = 0; i < n; ++i)
            std::free(array[i]);
        std::free(array);
        throw;
    }
    return array;
}

std::string HandleManager::getString(const char* text, bool required)
{
    if (text != nullptr)
        return std::string(text);
    if (required)
        EXCEPTIONS::raise(InvalidArgumentException(), MOX_SITE("MOX::HDL::HandleManager::getString"));
    return std::string();
}

void HandleManager::setException(MoxException& e)
{
    State& self = state();
    MutexGrabber grab(self.mutex);
    const int key = callerKey();
    SmartPointer<MoxException> copy(e.clone());
    // Replacing releases the previous copy under the mutex.
    self.lastExceptions[key] = std::move(copy);
}

void HandleManager::classCast()
{
    recordFixed<ClassCastException>(ErrorCode::ClassCast, MOX_SITE("MOX::HDL::HandleManager::classCast"));
}

void HandleManager::invalidHandle()
{
    recordFixed<InvalidHandleException>(ErrorCode::InvalidHandle, MOX_SITE("MOX::HDL::HandleManager::invalidHandle"));
}

void HandleManager::invalidArgument()
{
    recordFixed<InvalidArgumentException>(ErrorCode::InvalidArguments,
                                          MOX_SITE("MOX::HDL::HandleManager::invalidArgument"));
}

void HandleManager::unexpectedError()
{
    recordFixed<UnexpectedException>(ErrorCode::Unknown, MOX_SITE("MOX::HDL::HandleManager::unexpectedError"));
}

void HandleManager::clearLastException()
{
    State& self = state();
    MutexGrabber grab(self.mutex);
    self.lastExceptions.erase(callerKey());
}

const SmartPointer<MoxException> HandleManager::getLastException()
{
    State& self = state();
    MutexGrabber grab(self.mutex);
    const auto it = self.lastExceptions.find(callerKey());
    return it == self.lastExceptions.end() ? SmartPointer<MoxException>() : it->second;
}

int HandleManager::getError(char** message)
{
    // Our own counted copy: the exception's operations run without the table mutex.
    const SmartPointer<MoxException> e = getLastException();
    const char* text = e.isNull() ? "" : e->what();
    if (message != nullptr) {
        *message = ::strdup(text);
        if (*message == nullptr)
            EXCEPTIONS::raise(BadAllocException(), MOX_SITE("MOX::HDL::HandleManager::getError"));
    }
    return e.isNull() ? 0 : e->getCode();
}

const std::string HandleManager::getLastExceptionName()
{
    const SmartPointer<MoxException> e = getLastException();
    return e.isNull() ? std::string("No Error") : e->getName();
}

} // namespace HDL
} // namespace MOX
