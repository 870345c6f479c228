// SPDX-License-Identifier: MIT
#pragma once
// Test doubles for the cache locks: a cached object and a scratch directory.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>

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

} // namespace persisttest
