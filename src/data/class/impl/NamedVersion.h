// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>

#include <mox/rt/Collections.h>

namespace MOX {
namespace CLASS {

/// The name and version that class ids and interface ids share: their order, their XML
/// attributes and their text form.
class NamedVersion {
public:
    /// Empty name, version 1: the start of every parse.
    NamedVersion() = default;
    NamedVersion(std::string name, int version);

    /// The name.
    const std::string& getName() const noexcept { return name; }
    /// The version.
    int getVersion() const noexcept { return version; }
    /// Whether this orders before `otherName` with `otherVersion`: by name, byte-wise,
    /// then by signed version.
    bool lessThan(const std::string& otherName, int otherVersion) const;

    /// The XML attributes: "class" = name always, "version" above 1.
    Vector<std::string> toAttributes() const;
    /// The name and version of `element`'s "class" and "version" attributes (the name
    /// empty when missing); the version stays `keptVersion` when "version" is missing
    /// or empty. Throws the runtime's number error when the version does not read.
    static NamedVersion fromElement(const std::string& element, int keptVersion);
    /// The text form: name, or name + `separator` + version for versions above 1.
    std::string toText(const char* separator) const;
    /// Reads the text form: the name before the first `separator` and the version after
    /// it, or the whole text and version 1 when there is no separator. Throws the
    /// runtime's number error when the version does not read.
    static NamedVersion fromText(const std::string& text, const std::string& separator);

private:
    std::string name;
    std::int32_t version = 1;
};

} // namespace CLASS
} // namespace MOX
