// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/class/IClassId.h>

#include "data/class/impl/NamedVersion.h"

namespace MOX {
namespace CLASS {

/// The library's class id: name, version (1 by default) and loader name.
class ClassIdImpl : public IClassId {
public:
    /// Empty name, version 1, no loader: the start of every parse.
    ClassIdImpl();
    ClassIdImpl(const std::string& name, int version, const std::string& loader = std::string());
    ~ClassIdImpl() override;

    const std::string& getName() const override;
    int getVersion() const override;
    bool hasName(const std::string& text) const override;
    bool lessThan(const IClassId& other) const override;

    /// The "class-id" element: "class" always, "version" above 1, "loader" when set.
    virtual std::string marshal() const;
    /// Reads the first "class-id" element of `text`: name and loader from their
    /// attributes (empty when missing), the version when a non-empty "version" is
    /// present (otherwise it stays). Nothing changes when a value cannot be read.
    virtual void unmarshal(const std::string& text);
    /// "Name", or "Name v=3" for versions above 1.
    std::string toString() const override;

    /// Reads the text form: "Name v=3" (name before the first " v=", version after
    /// it) or "Name" (version 1). The loader becomes empty.
    void readText(const std::string& text);
    /// The loader name ("" when none).
    const std::string& getLoader() const noexcept { return loader; }

private:
    NamedVersion id;
    std::string loader;
};

} // namespace CLASS
} // namespace MOX
