// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/attr/IQualifiedName.h>

namespace MOX {
namespace ATTR {

/// The library's qualified name: name, format and scope, in that order.
///
/// A format that is one of the variant kinds ("String", "Integer", "Long", "Int64",
/// "Float", "Double") and an empty scope are process-wide constants the object points
/// to; only other formats and a scope are texts of its own, kept right after the object
/// in the block it shares with its counter (`create`), or on the heap once `unmarshal`
/// first needs them.
class QualifiedNameImpl : public IQualifiedName {
    // The constructor's key: the shared constant equal to the format, as create found it
    // (null: none).
    struct Key {
        const std::string* constantFormat;
    };

public:
    /// The process-wide default format "String" (made at load, never changed).
    static const std::string& defaultFormat() noexcept;
    /// A new qualified name of the three texts as given (the factory checks and defaults
    /// them), in one block with its counter.
    static RT::SmartPointer<IQualifiedName> create(std::string name, std::string format, std::string scope);

    /// Empty name, the default format, no scope: where parsing starts.
    QualifiedNameImpl();
    /// Used by create only: builds the name over the room for its own texts that follows
    /// it when it needs them.
    QualifiedNameImpl(Key key, std::string name, std::string format, std::string scope);
    ~QualifiedNameImpl() override;
    QualifiedNameImpl(const QualifiedNameImpl&) = delete;
    QualifiedNameImpl& operator=(const QualifiedNameImpl&) = delete;

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
    // The format and scope when they are not constants.
    struct Texts {
        std::string format;
        std::string scope;
    };

    // Sets format and scope, `constant` being the shared constant equal to the format (or
    // null); on failure (no memory for own texts) nothing has changed.
    void assign(std::string format, std::string scope, const std::string* constant);
    Texts* tail() noexcept { return reinterpret_cast<Texts*>(this + 1); }

    std::string name;
    const std::string* format;
    const std::string* scope;
    Texts* own = nullptr; // tail() or a heap object, once needed
};

} // namespace ATTR
} // namespace MOX
