#include <mox/rt/ErrorCode.h>

namespace MOX {
namespace EXCEPTIONS {

namespace {

struct Entry {
    ErrorCode code;
    const char* message;
};

// The one table of the platform's codes and messages.
constexpr Entry kTable[] = {
    {ErrorCode::NullPointer, "A NULL pointer was encountered during the operation"},
    {ErrorCode::ClassCast, "Cast conversion failed"},
    {ErrorCode::InvalidArguments, "The arguments specified in the operation were invalid"},
    {ErrorCode::NotAnInteger, "The input string cannot be converted to an integer"},
    {ErrorCode::InvalidHandle, "Invalid Handle"},
    {ErrorCode::Unknown, "Unknown error from underlying code"},
    {ErrorCode::Marshal, "Error converting object to string"},
    {ErrorCode::Unmarshal, "Error converting string to object"},
    {ErrorCode::CreateUnmarshaller, "Failed to created unmarshaller"},
    {ErrorCode::InvalidInput, "Not a valid input"},
    {ErrorCode::BootstrapPath, "The bootstrap path must be assigned prior to performing this operation"},
    {ErrorCode::RegistrationExists, "Registration already exists for the eventId"},
};

} // namespace

const char* errorFacility() noexcept { return "MOX"; }

const char* errorKey() noexcept { return "code"; }

const char* errorMessage(ErrorCode code) noexcept
{
    for (const Entry& e : kTable)
        if (e.code == code)
            return e.message;
    return "";
}

const char* errorMessage(int code) noexcept { return errorMessage(static_cast<ErrorCode>(code)); }

} // namespace EXCEPTIONS
} // namespace MOX
