#pragma once
// Test doubles for the cache locks: a cached object, an in-memory local file that logs
// each call and counts those made without the mutex or with a foreign handle, and a
// scratch directory.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <mox/rt/Exceptions.h>
#include <mox/rt/ILocalFile.h>
#include <mox/rt/Mutex.h>

namespace persisttest {

using FilePtr = MOX::RT::SmartPointer<MOX::RT::ILocalFile>;

/// True when another thread cannot take `mutex` right now.
inline bool heldElsewhere(MOX::RT::Mutex& mutex)
{
    bool taken = false;
    std::thread([&] {
        if ((taken = mutex.lock(1)))
            mutex.unlock();
    }).join();
    return !taken;
}

/// A directory of its own, removed with its contents at the end.
struct ScratchDir {
    ScratchDir()
    {
        char pattern[] = "/tmp/mox-persist-XXXXXX";
        path = ::mkdtemp(pattern) ? pattern : throw std::runtime_error("mkdtemp");
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    std::string path;
};

/// A version and a payload, marshalled as "version:payload".
struct CachedState : MOX::Marshallable {
    int version = 0;
    std::string payload;
    bool failMarshal = false;

    std::string marshal() const override
    {
        if (failMarshal)
            throw MOX::EXCEPTIONS::SerializationException("refused", MOX::EXCEPTIONS::ErrorCode::Marshal);
        return std::to_string(version) + ":" + payload;
    }
    void unmarshal(const std::string& text) override
    {
        version = std::stoi(text);
        payload = text.substr(text.find(':') + 1);
    }
};

/// An in-memory file; `failOn` names the operation that throws SystemException.
class RecordingFile : public MOX::RT::ILocalFile {
public:
    using Handle = MOX::RT::SmartPointer<MOX::RT::IUpdateHandle>;
    explicit RecordingFile(MOX::RT::Mutex& mutex) : m_mutex(mutex) {}

    std::string content; // empty: no state
    std::string failOn;
    std::vector<std::string> log;
    int unguarded = 0; // calls without the mutex held or with another handle than the one given

    void writeWith(const Handle& handle, const MOX::Marshallable& source) override
    {
        enter("writeWith", &handle);
        content = source.marshal();
    }
    void readWith(const Handle& handle, MOX::Marshallable& target) override { read("readWith", &handle, target); }
    void readInto(MOX::Marshallable& target) override { read("readInto", nullptr, target); }
    Handle acquireHandle() override
    {
        enter("acquireHandle", nullptr);
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
        ~LoggedHandle() override { file.note("handle released", true); }
        RecordingFile& file;
    };

    void note(const std::string& line, bool ownHandle)
    {
        log.push_back(line);
        unguarded += heldElsewhere(m_mutex) && ownHandle ? 0 : 1;
    }
    void read(const std::string& op, const Handle* handle, MOX::Marshallable& target)
    {
        enter(op, handle);
        if (!content.empty())
            target.unmarshal(content);
    }
    void enter(const std::string& op, const Handle* handle)
    {
        note(op, handle == nullptr || handle->get() == m_given);
        if (failOn == op)
            throw MOX::EXCEPTIONS::SystemException(MOX::EXCEPTIONS::ErrorCode::Unknown);
    }

    MOX::RT::Mutex& m_mutex;
    const MOX::RT::IUpdateHandle* m_given = nullptr;
};

} // namespace persisttest
