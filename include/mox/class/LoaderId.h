// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Loader identifiers.
#include <string>

#include <mox/rt/Export.h>
#include <mox/rt/Marshallable.h>
#include <mox/rt/Object.h>

namespace MOX {

/// Names a class loader: its name and the file that holds it. A plain copyable value;
/// the default one has both fields empty.
///
/// XML form: `<loader-id name="..." file="..."/>`, both attributes always written (also
/// when empty); reading takes the first "loader-id" element, missing attributes empty.
class MOX_API LoaderId : public RT::Object, public RT::Marshallable {
public:
    /// The default loader id: name and file empty.
    LoaderId();
    /// The loader `name` held in `file`.
    LoaderId(const std::string& name, const std::string& file);
    /// Copies both fields of `other`.
    LoaderId(const LoaderId& other);
    /// Replaces both fields with those of `other`.
    LoaderId& operator=(const LoaderId& other);
    ~LoaderId() override;

    /// `marshal()`.
    std::string toString() const override;
    /// True when the name is not empty.
    virtual bool isDefined() const;
    /// True when the name is empty.
    virtual bool isEmpty() const;
    /// Replaces both fields with those of the "loader-id" element of `text`.
    void unmarshal(const std::string& text) override;
    /// The "loader-id" element.
    std::string marshal() const override;

    /// The loader's name.
    const std::string& getName() const noexcept { return name; }
    /// The file that holds the loader.
    const std::string& getFile() const noexcept { return file; }
    /// Replaces the loader's name.
    void setName(const std::string& value) { name = value; }
    /// Replaces the file that holds the loader.
    void setFile(const std::string& value) { file = value; }

private:
    std::string name;
    std::string file;
};

} // namespace MOX
