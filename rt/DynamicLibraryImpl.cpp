// SPDX-License-Identifier: MIT
#include "DynamicLibraryImpl.h"

#include <utility>

#include <dlfcn.h>

namespace MOX {
namespace RT {

IDynamicLibrary::~IDynamicLibrary() = default;

DynamicLibraryImpl::DynamicLibraryImpl(void* handle, std::string path, Vector<std::string> tried)
    : m_handle(handle), m_path(std::move(path)), m_tried(std::move(tried))
{
}

// No dlclose: addresses handed out by getSymbol must stay valid after this object ends.
DynamicLibraryImpl::~DynamicLibraryImpl() = default;

void* DynamicLibraryImpl::getSymbol(const std::string& name) const
{
    if (m_handle == nullptr || name.empty())
        return nullptr;
    ::dlerror();  // clear a stale error of this thread
    return ::dlsym(m_handle, name.c_str());
}

std::string DynamicLibraryImpl::toString() const { return "DynamicLibrary(" + m_path + ")"; }

} // namespace RT
} // namespace MOX
