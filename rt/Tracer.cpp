#include <mox/rt/Tracer.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

namespace MOX {
namespace RT {

namespace {

// State of the process-wide sink. `enabled` is the fast path every trace reads; the
// sink itself is swapped under a mutex and shared so that a line being written while
// the sink is replaced still finishes with the old one.
struct TraceState {
    std::atomic<int> envChecked{0};
    std::atomic<bool> enabled{false};
    std::atomic<bool> scopes{false};
    std::mutex mutex;
    std::shared_ptr<const Tracer::Sink> sink;
};

TraceState& state()
{
    // Never destroyed: tracing may run from static destructors of other libraries.
    static TraceState* s = new TraceState;
    return *s;
}

void defaultSink(const std::string& scope, const std::string& line)
{
    std::fprintf(stderr, "[%s] %s\n", scope.c_str(), line.c_str());
}

void checkEnvironmentOnce()
{
    TraceState& s = state();
    if (s.envChecked.load(std::memory_order_acquire))
        return;
    std::lock_guard<std::mutex> guard(s.mutex);
    if (s.envChecked.load(std::memory_order_relaxed))
        return;
    const char* env = std::getenv("MOX_TRACE");
    if (!s.sink && env && *env) {
        s.sink = std::make_shared<const Tracer::Sink>(defaultSink);
        s.enabled.store(true, std::memory_order_release);
    }
    s.envChecked.store(1, std::memory_order_release);
}

void emit(const char* scope, const std::string& line)
{
    std::shared_ptr<const Tracer::Sink> sink;
    {
        std::lock_guard<std::mutex> guard(state().mutex);
        sink = state().sink;
    }
    if (sink && *sink)
        (*sink)(scope ? scope : "", line);
}

} // namespace

Tracer::Tracer(const char* scope, bool flag) : m_scope(scope), m_flag(flag)
{
    if (state().scopes.load(std::memory_order_relaxed) && isEnabled())
        emit(m_scope, "enter");
}

Tracer::~Tracer()
{
    if (state().scopes.load(std::memory_order_relaxed) && isEnabled())
        emit(m_scope, "leave");
}

void Tracer::printf(const char* format, ...) const
{
    if (!isEnabled() || format == nullptr)
        return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        line.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(args);
    emit(m_scope, line);
}

void Tracer::setSink(Sink sink)
{
    checkEnvironmentOnce();
    TraceState& s = state();
    std::lock_guard<std::mutex> guard(s.mutex);
    if (sink) {
        s.sink = std::make_shared<const Sink>(std::move(sink));
        s.enabled.store(true, std::memory_order_release);
        return;
    }
    const char* env = std::getenv("MOX_TRACE");
    const bool on = env && *env;
    s.sink = on ? std::make_shared<const Sink>(defaultSink) : nullptr;
    s.enabled.store(on, std::memory_order_release);
}

void Tracer::setScopeTracing(bool on) { state().scopes.store(on, std::memory_order_relaxed); }

bool Tracer::isEnabled() noexcept
{
    checkEnvironmentOnce();
    return state().enabled.load(std::memory_order_acquire);
}

} // namespace RT
} // namespace MOX
