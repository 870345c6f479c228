// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include <mox/attr/IVariant.h>

namespace MOX {
namespace ATTR {

/// The library's variant: type name, tag and value text, in that order.
class VariantImpl : public IVariant {
public:
    /// The kind names, as stored and compared.
    static const char* const STRING;
    static const char* const INTEGER;
    static const char* const LONG;
    static const char* const INT64;
    static const char* const FLOAT;
    static const char* const DOUBLE;

    /// An empty "String" variant with an empty tag.
    VariantImpl();
    VariantImpl(const VariantImpl&) = default;
    ~VariantImpl() override;

    std::string toString() const override;
    const std::string& getTag() const override;
    void setTag(const std::string& tag) override;
    const std::string& getType() const override;
    bool isType(const std::string& name) const override;
    const std::string& getValue() const override;
    void setValue(const std::string& valueText, const std::string& typeName) override;
    void setValue(int value) override;
    void setValue(long value) override;
    void setValue(Int64 value) override;
    void setValue(float value) override;
    void setValue(double value) override;
    int asInteger() const override;
    long asLong() const override;
    Int64 asInt64() const override;
    float asFloat() const override;
    double asDouble() const override;
    bool lessThan(const IVariant& other) const override;
    IVariant* clone() const override;

private:
    /// Throws the -1009 kind-mismatch error for `function` unless the kind is `kind`.
    void requireType(const char* kind, const char* function) const;

    std::string type;
    std::string tag;
    std::string value;
};

} // namespace ATTR
} // namespace MOX
