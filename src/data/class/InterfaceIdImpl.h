// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/class/IInterfaceId.h>

#include "data/class/impl/NamedVersion.h"

namespace MOX {
namespace CLASS {

/// The library's interface id: name and version (1 by default).
class InterfaceIdImpl : public IInterfaceId {
public:
    /// Empty name, version 1: the start of every parse.
    InterfaceIdImpl();
    InterfaceIdImpl(const std::string& name, int version);
    ~InterfaceIdImpl() override;

    const std::string& getName() const override;
    int getVersion() const override;
    bool hasName(const std::string& text) const override;
    bool lessThan(const IInterfaceId& other) const override;

    /// The "interface-id" element: "class" = name always, "version" above 1.
    virtual std::string marshal() const;
    /// Reads the first "interface-id" element of `text` (name from "class", the version
    /// when a non-empty "version" is present); a text without one is read in the text
    /// form "Name::4" or "Name" (version 1). Nothing changes when a value cannot be read.
    virtual void unmarshal(const std::string& text);
    /// `marshal()`.
    std::string toString() const override;

private:
    NamedVersion id;
};

} // namespace CLASS
} // namespace MOX
