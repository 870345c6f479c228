// SPDX-License-Identifier: MIT
#include <mox/rt/ErrorCode.h>
#include <mox/rt/Raise.h>

#include <utility>

namespace MOX {
namespace EXCEPTIONS {

namespace {

using Raiser = void (*)(ErrorCode, const SourceSite&, std::string);

struct Entry {
    ErrorCode code;
    const char* message;
    Raiser raise;
};

// Throws the full form of `code` as class E.
template <class E>
[[noreturn]] void raiseAs(ErrorCode code, const SourceSite& site, std::string detail)
{
    raise(E(code, std::move(detail)), site);
}

[[noreturn]] void raiseRegistered(ErrorCode code, const SourceSite& site, std::string detail)
{
    raise(ObjectAlreadyExistsException(detail, detail, code), site);
}

// The one table of the platform's codes, their messages and their exception classes.
constexpr Entry kTable[] = {
    {ErrorCode::NullPointer, "A NULL pointer was encountered during the operation", raiseAs<NullPointerException>},
    {ErrorCode::ClassCast, "Cast conversion failed", raiseAs<ClassCastException>},
    {ErrorCode::InvalidArguments, "The arguments specified in the operation were invalid",
     raiseAs<InvalidArgumentException>},
    {ErrorCode::NotAnInteger, "The input string cannot be converted to an integer", raiseAs<InvalidArgumentException>},
    {ErrorCode::InvalidHandle, "Invalid Handle", raiseAs<InvalidHandleException>},
    {ErrorCode::Unknown, "Unknown error from underlying code", raiseAs<UnexpectedException>},
    {ErrorCode::Marshal, "Error converting object to string", raiseAs<SerializationException>},
    {ErrorCode::Unmarshal, "Error converting string to object", raiseAs<SerializationException>},
    {ErrorCode::CreateUnmarshaller, "Failed to created unmarshaller", raiseAs<SerializationException>},
    {ErrorCode::InvalidInput, "Not a valid input", raiseAs<InvalidArgumentException>},
    {ErrorCode::BootstrapPath, "The bootstrap path must be assigned prior to performing this operation",
     raiseAs<SystemException>},
    {ErrorCode::RegistrationExists, "Registration already exists for the eventId", raiseRegistered},
};

const Entry* find(ErrorCode code) noexcept
{
    for (const Entry& e : kTable)
        if (e.code == code)
            return &e;
    return nullptr;
}

} // namespace

const char* errorFacility() noexcept { return "MOX"; }

const char* errorKey() noexcept { return "code"; }

const char* errorMessage(ErrorCode code) noexcept
{
    const Entry* e = find(code);
    return e != nullptr ? e->message : "";
}

void raise(ErrorCode code, const SourceSite& site, std::string detail)
{
    if (const Entry* e = find(code))
        e->raise(code, site, std::move(detail));
    raise(UnexpectedException(code, std::move(detail)), site);
}

void raiseSystemError(const SourceSite& site, std::string message)
{
    raise(SystemException(errorFacility(), RuntimeSystemError, errorKey(), std::move(message)), site);
}

const char* errorMessage(int code) noexcept { return errorMessage(static_cast<ErrorCode>(code)); }

} // namespace EXCEPTIONS
} // namespace MOX
