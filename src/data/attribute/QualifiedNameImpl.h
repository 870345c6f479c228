// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/attr/IQualifiedName.h>

namespace MOX {
namespace ATTR {

/// The library's qualified name: name, format and scope, in that order.
class QualifiedNameImpl : public IQualifiedName {
public:
    /// The process-wide default format "String" (made at load, never changed).
    static const std::string& defaultFormat() noexcept;

    /// Empty name, the default format, no scope: where parsing starts.
    QualifiedNameImpl();
    /// Stores the three texts as given (the factory checks and defaults them).
    QualifiedNameImpl(std::string name, std::string format, std::string scope);
    ~QualifiedNameImpl() override;

    const std::string& getFormat() const override;
    const std::string& getName() const override;
    const std::string& getScope() const override;
    bool lessThan(const IQualifiedName& other) const override;
    bool matches(const RT::SmartPointer<IQualifiedName>& other) const override;

    /// The "attribute-id" element.
    std::string toString() const override;
    /// See IQualifiedName.
    void unmarshal(const std::string& text) override;
    /// See IQualifiedName.
    std::string marshal() const override;

private:
    std::string name;
    std::string format;
    std::string scope;
};

} // namespace ATTR
} // namespace MOX
