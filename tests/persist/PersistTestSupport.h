#pragma once
// Test doubles for the cache locks: a cached object with a checkable text form, a
// recording local file, and a shared event log that also receives trace scopes.
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <mox/rt/Exceptions.h>
#include <mox/rt/ILocalFile.h>
#include <mox/rt/Marshallable.h>
#include <mox/rt/Mutex.h>
#include <mox/rt/Tracer.h>

namespace persisttest {

// True when a thread other than the caller cannot take `mutex` right now.
inline bool heldElsewhere(MOX::RT::Mutex& mutex)
{
    bool taken = false;
    std::thread probe([&] {
        taken = mutex.lock(1);
        if (taken)
            mutex.unlock();
    });
    probe.join();
    return !taken;
}

// An ordered record of what happened, shared by the doubles, the trace sink and tests.
class EventLog {
public:
    void add(const std::string& event)
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_events.push_back(event);
    }
    std::vector<std::string> take()
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        std::vector<std::string> out;
        out.swap(m_events);
        return out;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_events;
};

// Sends trace scope entries and exits ("enter Scope", "leave Scope") to a log while it
// lives.
class ScopeTrace {
public:
    explicit ScopeTrace(EventLog& log)
    {
        MOX::RT::Tracer::setScopeTracing(true);
        MOX::RT::Tracer::setSink([&log](const std::string& scope, const std::string& line) {
            if (scope.rfind("Cache", 0) == 0)
                log.add(line + " " + scope);
        });
    }
    ~ScopeTrace()
    {
        MOX::RT::Tracer::setSink({});
        MOX::RT::Tracer::setScopeTracing(false);
    }
};

// A cached object: a version number and a payload. Its text carries both twice with the
// payload's length, so that a torn text is recognised on reading.
class CachedState : public MOX::Marshallable {
public:
    int version = 0;
    std::string payload;

    std::string marshal() const override
    {
        if (failMarshal)
            throw MOX::EXCEPTIONS::SerializationException("refused", MOX::EXCEPTIONS::ErrorCode::Marshal);
        const std::string head = std::to_string(version) + " " + std::to_string(payload.size());
        return "BEGIN " + head + "\n" + payload + "\nEND " + head;
    }
    void unmarshal(const std::string& text) override
    {
        ++reads;
        const std::size_t eol = text.find('\n');
        int v = 0;
        std::size_t size = 0;
        if (eol == std::string::npos || std::sscanf(text.c_str(), "BEGIN %d %zu", &v, &size) != 2)
            throw std::runtime_error("torn head");
        const std::string tail = "\nEND " + std::to_string(v) + " " + std::to_string(size);
        if (text.size() != eol + 1 + size + tail.size() || text.compare(eol + 1 + size, std::string::npos, tail) != 0)
            throw std::runtime_error("torn body");
        version = v;
        payload = text.substr(eol + 1, size);
    }

    bool failMarshal = false;
    mutable int reads = 0;
};

// An update handle that reports its release.
class RecordingHandle : public MOX::RT::IUpdateHandle {
public:
    RecordingHandle(EventLog& log, MOX::RT::Mutex& mutex) : m_log(log), m_mutex(mutex) {}
    ~RecordingHandle() override
    {
        m_log.add(std::string("handle released") + (heldElsewhere(m_mutex) ? " (mutex held)" : " (mutex free)"));
    }

private:
    EventLog& m_log;
    MOX::RT::Mutex& m_mutex;
};

// A local file in memory that logs each call with whether the mutex was held at the time,
// and can be told to fail any operation.
class RecordingFile : public MOX::RT::ILocalFile {
public:
    RecordingFile(EventLog& log, MOX::RT::Mutex& mutex) : m_log(log), m_mutex(mutex) {}

    std::string content; // empty: no state
    std::string failOn;  // the operation that throws SystemException
    const MOX::RT::IUpdateHandle* lastHandle = nullptr; // the last one handed out
    const MOX::Marshallable* lastPassed = nullptr;

    void writeWith(const MOX::RT::SmartPointer<MOX::RT::IUpdateHandle>& handle,
                   const MOX::Marshallable& source) override
    {
        note("writeWith", &handle);
        lastPassed = &source;
        maybeFail("writeWith");
        content = source.marshal();
    }
    void readWith(const MOX::RT::SmartPointer<MOX::RT::IUpdateHandle>& handle, MOX::Marshallable& target) override
    {
        note("readWith", &handle);
        lastPassed = &target;
        maybeFail("readWith");
        if (!content.empty())
            target.unmarshal(content);
    }
    void readInto(MOX::Marshallable& target) override
    {
        note("readInto", nullptr);
        lastPassed = &target;
        maybeFail("readInto");
        if (!content.empty())
            target.unmarshal(content);
    }
    MOX::RT::SmartPointer<MOX::RT::IUpdateHandle> acquireHandle() override
    {
        note("acquireHandle", nullptr);
        maybeFail("acquireHandle");
        MOX::RT::SmartPointer<MOX::RT::IUpdateHandle> given(new RecordingHandle(m_log, m_mutex));
        lastHandle = given.get();
        return given;
    }
    std::string getPath() const override { return "memory"; }
    std::string toString() const override { return "RecordingFile"; }

private:
    void note(const char* op, const MOX::RT::SmartPointer<MOX::RT::IUpdateHandle>* handle)
    {
        std::string line = op;
        if (handle != nullptr)
            line += !handle->isNull() && handle->get() == lastHandle ? " (its handle)" : " (other handle)";
        line += heldElsewhere(m_mutex) ? " (mutex held)" : " (mutex free)";
        m_log.add(line);
    }
    void maybeFail(const char* op)
    {
        if (failOn == op)
            throw MOX::EXCEPTIONS::SystemException(MOX::EXCEPTIONS::ErrorCode::Unknown);
    }

    EventLog& m_log;
    MOX::RT::Mutex& m_mutex;
};

} // namespace persisttest
