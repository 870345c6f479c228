// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Local files with exclusive update handles.
#include <cstdint>
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
/// mid-write leaves the old content whole (and at worst a stray "<path>.tmp.XXXXXX").
/// Failures throw SystemException (full form, code EXCEPTIONS::RuntimeSystemError) whose
/// message names the path and the system error. Only a regular file is read (a FIFO,
/// device, directory or anything else at the path is refused without waiting on it), and
/// neither a read nor a write handles more than MaxFileSize bytes.
///
/// The update lock is taken on the companion file "<path>.lock" (created on first use and
/// left in place), because replacing the file by renaming gives it a new inode that a
/// lock on the file itself would not follow. Each handle opens the lock file on its own,
/// so two handles exclude each other even within one thread: a thread that already holds
/// a handle must not ask for a second one. A child process forked while a handle is held
/// shares that handle's lock until it exits or execs (the descriptor is close-on-exec).
class MOX_RT_API ILocalFile : public virtual Object {
public:
    ~ILocalFile() override;

    /// The largest file, in bytes, that is read or written (64 MiB); a larger one is
    /// refused with the SystemException above, naming the limit.
    static constexpr std::uint64_t MaxFileSize = std::uint64_t{64} << 20;
    /// Writes `source.marshal()` atomically; `handle` must come from this file's
    /// `acquireHandle` (null throws NullPointerException).
    virtual void writeWith(const SmartPointer<IUpdateHandle>& handle, const Marshallable& source) = 0;
    /// Reads the file into `target.unmarshal` under `handle` (null throws
    /// NullPointerException; a handle that does not lock this file throws
    /// InvalidArgumentException -1006).
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
/// An empty path throws InvalidArgumentException (-1006).
MOX_RT_API SmartPointer<ILocalFile> createLocalFile(const std::string& path);

} // namespace RT
} // namespace MOX
