// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The platform's error codes and their messages.
#include <mox/rt/Export.h>

namespace MOX {
namespace EXCEPTIONS {

/// The platform's error codes. Their messages live in one table (`errorMessage`), so
/// no message text is ever written twice.
enum class ErrorCode : int {
    NullPointer = -1004,         ///< "A NULL pointer was encountered during the operation"
    ClassCast = -1005,           ///< "Cast conversion failed"
    InvalidArguments = -1006,    ///< "The arguments specified in the operation were invalid"
    NotAnInteger = -1009,        ///< "The input string cannot be converted to an integer"
    InvalidHandle = -1039,       ///< "Invalid Handle"
    Unknown = -1040,             ///< "Unknown error from underlying code"
    Marshal = -1055,             ///< "Error converting object to string"
    Unmarshal = -1056,           ///< "Error converting string to object"
    CreateUnmarshaller = -1057,  ///< "Failed to created unmarshaller"
    InvalidInput = -1075,        ///< "Not a valid input"
    BootstrapPath = -1088,       ///< "The bootstrap path must be assigned prior to performing this operation"
    RegistrationExists = -1106,  ///< "Registration already exists for the eventId"
};

/// The code of the runtime's own SystemExceptions (a library that will not load, a local
/// file that cannot be read or written). It lies outside the platform's table: the
/// message of such an exception is the failure report itself.
constexpr int RuntimeSystemError = -1;

/// The facility every full-form exception of this platform carries: "MOX".
MOX_RT_API const char* errorFacility() noexcept;

/// The key every full-form exception of this platform carries: "code".
MOX_RT_API const char* errorKey() noexcept;

/// The message of `code`, exactly as the platform's table gives it; "" for a code
/// outside the table.
MOX_RT_API const char* errorMessage(ErrorCode code) noexcept;

/// The message of a numeric code; "" for a code outside the table.
MOX_RT_API const char* errorMessage(int code) noexcept;

} // namespace EXCEPTIONS
} // namespace MOX
