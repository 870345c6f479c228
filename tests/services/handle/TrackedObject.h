#pragma once
// A value object for handle tests that counts its own destruction.
#include <atomic>
#include <string>

#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace hdltest {

/// Adds one to `*destroyed` when destroyed; prints as `name`.
struct TrackedObject : MOX::Object {
    TrackedObject(std::string name, std::atomic<int>* destroyed) : name(std::move(name)), destroyed(destroyed) {}
    ~TrackedObject() override { destroyed->fetch_add(1); }
    std::string toString() const override { return name; }
    std::string name;
    std::atomic<int>* destroyed;
};

/// A new TrackedObject behind a smart pointer to its base.
inline MOX::RT::SmartPointer<MOX::Object> makeTracked(const std::string& name, std::atomic<int>* destroyed)
{
    return MOX::RT::SmartPointer<MOX::Object>(new TrackedObject(name, destroyed));
}

} // namespace hdltest
