// SPDX-License-Identifier: MIT
#include <mox/rt/Tracer.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

namespace MOX {
namespace RT {

namespace {

// Which scopes the default sink writes: all of them, or those whose lower-cased name
// contains one of the words.
struct ScopeFilter {
    bool all = false;
    std::vector<std::string> words;

    bool selects(const char* scope) const
    {
        if (all)
            return true;
        std::string name = scope ? scope : "";
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return std::any_of(words.begin(), words.end(),
                           [&](const std::string& w) { return name.find(w) != std::string::npos; });
    }
};

// State of the process-wide sink. `enabled` is the fast path every trace reads; the
// sink and its filter are swapped under a mutex and shared so that a line being written
// while they are replaced still finishes with the old ones. A null filter passes all.
struct TraceState {
    std::atomic<int> envChecked{0};
    std::atomic<bool> enabled{false};
    std::atomic<bool> scopes{false};
    std::mutex mutex;
    std::shared_ptr<const Tracer::Sink> sink;
    std::shared_ptr<const ScopeFilter> filter;
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

std::string lowerWord(const std::string& word)
{
    std::string w = word;
    std::transform(w.begin(), w.end(), w.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (w == "codec")
        return "xbinder";
    return w;
}

// The filter `list` asks for; null when it turns tracing off.
std::shared_ptr<const ScopeFilter> parseScopes(const std::string& list)
{
    auto filter = std::make_shared<ScopeFilter>();
    std::size_t begin = 0;
    while (begin < list.size()) {
        const std::size_t end = std::min(list.find_first_of(", \t;", begin), list.size());
        const std::string word = lowerWord(list.substr(begin, end - begin));
        begin = end + 1;
        if (word.empty() || word == "0" || word == "off" || word == "none" || word == "no" || word == "false")
            continue;
        if (word == "1" || word == "all" || word == "*" || word == "on" || word == "yes" || word == "true")
            filter->all = true;
        else
            filter->words.push_back(word);
    }
    if (!filter->all && filter->words.empty())
        return nullptr;
    return filter;
}

// Points the default sink at `list`; the caller holds the mutex.
void applyScopesLocked(TraceState& s, const std::string& list)
{
    s.filter = parseScopes(list);
    s.sink = s.filter ? std::make_shared<const Tracer::Sink>(defaultSink) : nullptr;
    s.enabled.store(s.sink != nullptr, std::memory_order_release);
}

std::string environmentScopes()
{
    const char* env = std::getenv("MOX_TRACE");
    return env ? env : "";
}

void checkEnvironmentOnce()
{
    TraceState& s = state();
    if (s.envChecked.load(std::memory_order_acquire))
        return;
    std::lock_guard<std::mutex> guard(s.mutex);
    if (s.envChecked.load(std::memory_order_relaxed))
        return;
    if (!s.sink)
        applyScopesLocked(s, environmentScopes());
    s.envChecked.store(1, std::memory_order_release);
}

void emit(const char* scope, const std::string& line)
{
    std::shared_ptr<const Tracer::Sink> sink;
    std::shared_ptr<const ScopeFilter> filter;
    {
        std::lock_guard<std::mutex> guard(state().mutex);
        sink = state().sink;
        filter = state().filter;
    }
    if (sink && *sink && (!filter || filter->selects(scope)))
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
    if (!sink) {
        applyScopesLocked(s, environmentScopes());
        return;
    }
    s.sink = std::make_shared<const Sink>(std::move(sink));
    s.filter = nullptr;
    s.enabled.store(true, std::memory_order_release);
}

void Tracer::setScopes(const std::string& list)
{
    checkEnvironmentOnce();
    TraceState& s = state();
    std::lock_guard<std::mutex> guard(s.mutex);
    applyScopesLocked(s, list);
}

void Tracer::setScopeTracing(bool on) { state().scopes.store(on, std::memory_order_relaxed); }

bool Tracer::isEnabled() noexcept
{
    checkEnvironmentOnce();
    return state().enabled.load(std::memory_order_acquire);
}

bool Tracer::isEnabled(const char* scope) noexcept
{
    if (!isEnabled())
        return false;
    std::shared_ptr<const ScopeFilter> filter;
    {
        std::lock_guard<std::mutex> guard(state().mutex);
        filter = state().filter;
    }
    try {
        return !filter || filter->selects(scope);
    } catch (...) {
        return true; // out of memory while lower-casing: rather trace than lose the line
    }
}

bool Tracer::selects(const std::string& list, const char* scope)
{
    const auto filter = parseScopes(list);
    return filter && filter->selects(scope);
}

} // namespace RT
} // namespace MOX
