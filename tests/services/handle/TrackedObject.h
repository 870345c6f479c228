#pragma once
// A value object for handle tests that reports its own destruction.
#include <atomic>
#include <string>

#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace hdltest {

class TrackedObject : public MOX::Object {
public:
    TrackedObject(std::string name, std::atomic<int>* destroyed) : m_name(std::move(name)), m_destroyed(destroyed) {}
    ~TrackedObject() override
    {
        if (m_destroyed)
            m_destroyed->fetch_add(1);
    }
    std::string toString() const override { return m_name; }

private:
    std::string m_name;
    std::atomic<int>* m_destroyed;
};

inline MOX::RT::SmartPointer<MOX::Object> makeTracked(const std::string& name, std::atomic<int>* destroyed)
{
    return MOX::RT::SmartPointer<MOX::Object>(new TrackedObject(name, destroyed));
}

} // namespace hdltest
