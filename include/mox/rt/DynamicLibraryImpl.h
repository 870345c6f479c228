#pragma once
#include <string>

#include <mox/rt/Collections.h>
#include <mox/rt/Object.h>

namespace MOX {
namespace RT {

/// A loaded dynamic library. It stays loaded for the rest of the process (destroying
/// this object does not unload it), so addresses taken from it remain valid.
class MOX_RT_API DynamicLibraryImpl : public virtual Object {
public:
    /// Wraps a handle from dlopen; `path` is the file that was loaded and `tried` the
    /// candidates tried before it, in order.
    DynamicLibraryImpl(void* handle, std::string path, Vector<std::string> tried);
    ~DynamicLibraryImpl() override;

    /// The address of the symbol `name` (a plain C name), or null when absent.
    void* getSymbol(const std::string& name) const;
    /// The file that was loaded (as passed to dlopen).
    const std::string& getPath() const noexcept { return m_path; }
    /// Every candidate tried, in order, ending with the one that loaded.
    const Vector<std::string>& getTried() const noexcept { return m_tried; }
    /// "DynamicLibrary(<path>)".
    std::string toString() const override;

private:
    void* m_handle;
    std::string m_path;
    Vector<std::string> m_tried;
};

} // namespace RT
} // namespace MOX
