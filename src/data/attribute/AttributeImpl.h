// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <mox/attr/IAttribute.h>

namespace MOX {
namespace ATTR {

/// The library's attribute: a shared qualified name and the value texts.
///
/// An attribute made by `create` keeps its values packed right after itself, in the
/// heap block it shares with its counter: one block for the object and every value,
/// however many there are and however long. The first change to the values moves them
/// into a `Vector<std::string>` of their own (as do `clone` and the attributes built
/// empty by the factory); reading them stays the same either way.
class AttributeImpl : public IAttribute {
    struct Key {};

public:
    /// A new attribute sharing `name` (which may be null) with `values`, packed into the
    /// attribute's own block.
    static RT::SmartPointer<IAttribute> create(const RT::SmartPointer<IQualifiedName>& name,
                                               const Vector<std::string>& values);

    /// No values; `name` is shared (and may be null).
    explicit AttributeImpl(const RT::SmartPointer<IQualifiedName>& name);
    /// Used by create only: builds the attribute over the bytes that follow it.
    AttributeImpl(Key, const RT::SmartPointer<IQualifiedName>& name, const Vector<std::string>& values);
    ~AttributeImpl() override;
    AttributeImpl& operator=(const AttributeImpl&) = delete;

    RT::SmartPointer<IQualifiedName> getQualifiedName() const override;
    std::string getName() const override;
    std::string getFormat() const override;
    Vector<std::string> getValues() const override;
    void setValues(const Vector<std::string>& values) override;
    std::string getValue(std::size_t index) const override;
    std::size_t getValueCount() const override;
    void addValue(const std::string& value) override;
    void removeValue(const std::string& value) override;
    void removeAllValues() override;
    bool containsValue(const std::string& value) const override;
    bool matches(const RT::SmartPointer<IAttribute>& other) const override;
    bool hasValues() const override;
    bool lessThan(const IAttribute& other) const override;

    /// The qualified name's text form.
    std::string toString() const override;
    /// A new AttributeImpl sharing the qualified name, with a copy of the values.
    Cloneable* clone() const override;

    /// The number of values, without a virtual call.
    std::size_t valueCount() const noexcept { return m_list ? m_list->size() : m_packedCount; }
    /// Value `index` (< valueCount()) without a copy.
    std::string_view valueAt(std::size_t index) const noexcept;
    /// The qualified name without a copy of the smart pointer.
    const RT::SmartPointer<IQualifiedName>& name() const noexcept { return qualifiedName; }

private:
    // Where one packed value lies in the bytes after the spans.
    struct Span {
        std::uint32_t at;
        std::uint32_t size;
    };

    AttributeImpl(const AttributeImpl& other);

    const Span* spans() const noexcept { return reinterpret_cast<const Span*>(this + 1); }
    // The values as a list of their own, moved out of the block on the first change.
    Vector<std::string>& list();
    // The position of the first value equal to `value`, or valueCount().
    std::size_t find(std::string_view value) const noexcept;

    RT::SmartPointer<IQualifiedName> qualifiedName;
    std::unique_ptr<Vector<std::string>> m_list;
    std::uint32_t m_packedCount = 0;
};

} // namespace ATTR
} // namespace MOX
