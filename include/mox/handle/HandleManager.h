// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The handle table and the per-thread last error of the flat binding.
#include <string>

#include <mox/handle/Handle.h>
#include <mox/handle/HandleId.h>
#include <mox/rt/Collections.h>
#include <mox/rt/Exceptions.h>
#include <mox/rt/Export.h>
#include <mox/rt/Object.h>
#include <mox/rt/SmartPointer.h>

namespace MOX {
namespace HDL {

/// The process-wide handle table of the flat binding, with a per-thread record of the
/// last error that the binding could not throw across its boundary.
///
/// Every operation is static; the object behind them is created on first use and never
/// destroyed, so handles still open at process end are not released. Two locks: the
/// instance lock (guards creation only) and the table mutex (guards both tables and the
/// taking of new handle numbers); whenever both are held, the table mutex was taken
/// first. The manager never records an error on its own: the binding decides.
class MOX_API HandleManager {
public:
    /// Registers `object` (null allowed) under a new handle number and keeps it alive
    /// until the handle is closed. Throws `BadAllocException` when the number space is
    /// exhausted (see HandleId).
    static HandleId newObjectHandle(const std::string& classname, const RT::SmartPointer<Object>& object);
    /// The object registered under `handle`; throws `InvalidHandleException` (short
    /// form) when the handle is not open.
    static RT::SmartPointer<Object> getObject(const int& handle);
    /// Closes `handle`: true if it was open. Always clears the calling thread's last error
    /// first, whether or not the handle is open.
    static bool closeHandle(const HandleId& handle);
    /// The class name given for `handle`, or null when it is not open. The text belongs to
    /// the record: valid until the handle is closed, never to be freed.
    static const char* findClassType(const int& handle);
    /// The number of open handles, read without taking the table mutex.
    static unsigned int getOpenHandleCount();

    /// A zero-filled `calloc` copy of `text` (embedded zero bytes included) with a
    /// terminating 0, also stored in `*out` when `out` is not null. The caller frees it
    /// with `free`. Throws `BadAllocException` when memory runs out.
    static char* copyString(const std::string& text, char** out);
    /// A `calloc` array of `copyString` copies of `texts`, ended by a null pointer. The
    /// caller frees each string, then the array, with `free`. Throws `BadAllocException`
    /// when memory runs out (nothing is leaked then).
    static char** toChar(const Vector<std::string>& texts);
    /// `text` as a std::string; null reads as "" unless `required`, when it throws
    /// `InvalidArgumentException` (short form).
    static std::string getString(const char* text, bool required);

    /// Records a copy of `e` (of its dynamic class) as the calling thread's last
    /// exception; later changes to `e` do not reach the copy.
    static void setException(EXCEPTIONS::MoxException& e);
    /// Records ClassCastException (-1005) for the calling thread.
    static void classCast();
    /// Records InvalidHandleException (-1039) for the calling thread.
    static void invalidHandle();
    /// Records InvalidArgumentException (-1006) for the calling thread.
    static void invalidArgument();
    /// Records UnexpectedException (-1040) for the calling thread.
    static void unexpectedError();
    /// Forgets the calling thread's last exception (as closeHandle does first).
    static void clearLastException();
    /// The calling thread's last exception, or null. Reading leaves it in place.
    static const RT::SmartPointer<EXCEPTIONS::MoxException> getLastException();
    /// The code of the calling thread's last exception (0 when none); when `message` is
    /// not null, `*message` receives a `strdup` copy of its `what()` text ("" when none),
    /// which the caller frees with `free`.
    static int getError(char** message);
    /// The class name of the calling thread's last exception, or "No Error".
    static const std::string getLastExceptionName();

    /// Only static operations: never constructed.
    HandleManager() = delete;

private:
    // The tables, the counter and their locks, defined in the source file.
    struct State;
    static State& state();
};

} // namespace HDL
} // namespace MOX
