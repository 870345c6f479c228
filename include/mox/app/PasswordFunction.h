// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The password function an application asks for key-store passphrases.
#include <string>

#include <mox/rt/Export.h>

namespace MOX {
namespace APP {

/// Supplies a passphrase (for example of a key store) when a component asks the
/// application for it. Owned by the caller; the application keeps a plain pointer.
class MOX_API PasswordFunction {
public:
    virtual ~PasswordFunction() = default;
    /// The password for `word` (an opaque value of the asking component), shown `prompt`.
    /// Exceptions never reach the asking component: they yield an empty password.
    virtual std::string getPassword(unsigned int word, const std::string& prompt) = 0;
};

} // namespace APP
} // namespace MOX
