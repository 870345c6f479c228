#pragma once
// Test doubles for the cache locks: a cached object whose text shows tearing, and an
// in-memory local file that logs each call with whether the mutex was held.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <mox/rt/Exceptions.h>
#include <mox/rt/ILocalFile.h>
#include <mox/rt/Mutex.h>

namespace persisttest {

// True when another thread cannot take `mutex` right now.
inline bool heldElsewhere(MOX::RT::Mutex& mutex)
{
    bool taken = false;
    std::thread([&] {
        if ((taken = mutex.lock(1)))
            mutex.unlock();
    }).join();
    return !taken;
}

// A version and a payload; the text repeats the head at the end, so a torn text is
// refused on reading.
class CachedState : public MOX::Marshallable {
public:
    int version = 0;
    std::string payload;
    bool failMarshal = false;

    std::string marshal() const override
    {
        if (failMarshal)
            throw MOX::EXCEPTIONS::SerializationException("refused", MOX::EXCEPTIONS::ErrorCode::Marshal);
        const std::string head = std::to_string(version) + " " + std::to_string(payload.size());
        return "BEGIN " + head + "\n" + payload + "\nEND " + head;
    }
    void unmarshal(const std::string& text) override
    {
        int v = 0;
        std::size_t size = 0;
        const std::size_t eol = text.find('\n');
        if (eol == std::string::npos || std::sscanf(text.c_str(), "BEGIN %d %zu", &v, &size) != 2)
            throw std::runtime_error("torn head");
        const std::string tail = "\nEND " + std::to_string(v) + " " + std::to_string(size);
        if (text.size() != eol + 1 + size + tail.size() || text.compare(eol + 1 + size, std::string::npos, tail) != 0)
            throw std::runtime_error("torn body");
        version = v;
        payload = text.substr(eol + 1, size);
    }
};

// An in-memory file; `failOn` names the operation that throws SystemException.
class RecordingFile : public MOX::RT::ILocalFile {
public:
    using Handle = MOX::RT::SmartPointer<MOX::RT::IUpdateHandle>;

    RecordingFile(std::vector<std::string>& log, MOX::RT::Mutex& mutex) : m_log(log), m_mutex(mutex) {}

    std::string content; // empty: no state
    std::string failOn;
    const MOX::Marshallable* lastPassed = nullptr;

    void writeWith(const Handle& handle, const MOX::Marshallable& source) override
    {
        enter("writeWith", &handle, &source);
        content = source.marshal();
    }
    void readWith(const Handle& handle, MOX::Marshallable& target) override
    {
        enter("readWith", &handle, &target);
        if (!content.empty())
            target.unmarshal(content);
    }
    void readInto(MOX::Marshallable& target) override
    {
        enter("readInto", nullptr, &target);
        if (!content.empty())
            target.unmarshal(content);
    }
    Handle acquireHandle() override
    {
        enter("acquireHandle", nullptr, nullptr);
        Handle given(new LoggedHandle(*this));
        m_given = given.get();
        return given;
    }
    std::string getPath() const override { return "memory"; }
    std::string toString() const override { return "memory"; }

private:
    // Reports its own release to the log.
    struct LoggedHandle : MOX::RT::IUpdateHandle {
        explicit LoggedHandle(RecordingFile& file) : file(file) {}
        ~LoggedHandle() override { file.note("handle released"); }
        RecordingFile& file;
    };

    void note(std::string line) { m_log.push_back(line + (heldElsewhere(m_mutex) ? " (mutex held)" : " (mutex free)")); }
    void enter(const std::string& op, const Handle* handle, const MOX::Marshallable* passed)
    {
        note(handle == nullptr ? op : op + (handle->get() == m_given ? " (its handle)" : " (other handle)"));
        lastPassed = passed;
        if (failOn == op)
            throw MOX::EXCEPTIONS::SystemException(MOX::EXCEPTIONS::ErrorCode::Unknown);
    }

    std::vector<std::string>& m_log;
    MOX::RT::Mutex& m_mutex;
    const MOX::RT::IUpdateHandle* m_given = nullptr;
};

} // namespace persisttest
