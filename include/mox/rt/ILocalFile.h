#pragma once
#include <string>

#include <mox/rt/Marshallable.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace RT {

/// The update handle of a local file: while it lives, the holder has the file's
/// exclusive advisory lock (flock), shared across processes.
class MOX_RT_API IUpdateHandle {
public:
    virtual ~IUpdateHandle();
};

/// A local file that holds the marshalled state of one object.
///
/// Operations in this order: `writeWith`, `readWith`, `readInto`, `acquireHandle`,
/// `getPath`. A missing or empty file reads as "no state": the target is not called.
/// Writing is atomic: the text goes to a temporary file in the same directory, is
/// fsync'ed and renamed over the file (and the directory fsync'ed), so a process killed
/// mid-write leaves the old content whole. Failures throw SystemException naming the
/// path and the system error.
class MOX_RT_API ILocalFile : public virtual Object {
public:
    ~ILocalFile() override;
    /// Writes `source.marshal()` atomically; `handle` must come from this file's
    /// `acquireHandle` (null throws NullPointerException).
    virtual void writeWith(const SmartPointer<IUpdateHandle>& handle, const Marshallable& source) = 0;
    /// Reads the file into `target.unmarshal` under `handle` (which must be this file's).
    virtual void readWith(const SmartPointer<IUpdateHandle>& handle, Marshallable& target) = 0;
    /// Reads the file into `target.unmarshal` without an update handle.
    virtual void readInto(Marshallable& target) = 0;
    /// Takes the file's exclusive lock for the lifetime of the returned handle, waiting
    /// for another holder (in this or another process) to let it go.
    virtual SmartPointer<IUpdateHandle> acquireHandle() = 0;
    /// The file's path.
    virtual std::string getPath() const = 0;
};

/// A file-backed ILocalFile at `path` (the file need not exist yet; its directory must).
MOX_RT_API SmartPointer<ILocalFile> createLocalFile(const std::string& path);

} // namespace RT
} // namespace MOX
