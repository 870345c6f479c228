// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/rt/IDynamicLibrary.h>

namespace MOX {
namespace RT {

/// The loaded library behind IDynamicLibrary: a dlopen handle that is never closed.
class DynamicLibraryImpl : public IDynamicLibrary {
public:
    /// Wraps a handle from dlopen; `path` is the file that was loaded and `tried` the
    /// candidates tried before it, in order.
    DynamicLibraryImpl(void* handle, std::string path, Vector<std::string> tried);
    ~DynamicLibraryImpl() override;

    void* getSymbol(const std::string& name) const override;
    const std::string& getPath() const noexcept override { return m_path; }
    const Vector<std::string>& getTried() const noexcept override { return m_tried; }
    /// "DynamicLibrary(<path>)".
    std::string toString() const override;

private:
    void* m_handle;
    std::string m_path;
    Vector<std::string> m_tried;
};

} // namespace RT
} // namespace MOX
