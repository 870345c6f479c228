// SPDX-License-Identifier: MIT
#pragma once
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include <mox/authn/IIdentity.h>

namespace MOX {
namespace AUTHN {

/// The identity value. Everything the order compares (name, type, format, authority
/// name and format, and whether the authority can be derived at all) is worked out once,
/// at creation, as offsets into the identity's own text; comparisons read those views and
/// allocate nothing. The object, its counter and its texts share one heap block
/// (`create`). The `std::string` getters of the interface are served from constants for
/// the well-known formats and types, and otherwise from one block of copies made on the
/// first such call (installed atomically, so concurrent first reads are safe).
class IdentityImpl final : public IIdentity {
    enum class Format : std::uint8_t { Qel, Email, Upn, Other };
    enum class Type : std::uint8_t { User, Group, Other };
    // The constructor's key: the format and type as create classified them.
    struct Key {
        Format format;
        Type type;
    };

public:
    /// The pieces of a text, joined where it is stored.
    using Pieces = std::initializer_list<std::string_view>;

    /// A new identity of `format`, the text `value` and `type`, in one heap block.
    static RT::SmartPointer<IIdentity> create(std::string_view format, Pieces value, std::string_view type);
    /// The QEL identity of an authority and an account given by their parts, as
    /// createIdentity(createAuthorityId(...), createAccountId(...)) makes it, with the
    /// errors of those factories, but without making either object.
    static RT::SmartPointer<IIdentity> createFromParts(std::string_view authorityFormat, std::string_view authorityName,
                                                       std::string_view type, std::string_view account);
    /// The identity behind `identity` when it is one of ours, otherwise null.
    static const IdentityImpl* from(const IIdentity& identity) noexcept;

    /// Used by create only: builds the identity over the `tail` bytes that follow it.
    IdentityImpl(Key key, std::string_view format, Pieces value, std::size_t valueSize, std::string_view type);
    ~IdentityImpl() override;
    IdentityImpl(const IdentityImpl&) = delete;
    IdentityImpl& operator=(const IdentityImpl&) = delete;

    const std::string& getName() const override;
    const std::string& getType() const override;
    const std::string& getAuthorityName() const override;
    const std::string& getAuthorityFormat() const override;
    const std::string& getFormat() const override;
    const std::string& getValue() const override;
    bool isGroup() const override { return m_type == Type::Group; }
    bool isUser() const override { return m_type == Type::User; }
    bool lessThan(const IIdentity& other) const override;

    std::string toString() const override { return std::string(value()); }

    /// The stored parts, without copies.
    std::string_view value() const noexcept { return {text(), m_valueSize}; }
    std::string_view format() const noexcept;
    std::string_view type() const noexcept;
    std::string_view name() const noexcept { return view(m_name); }
    bool isQel() const noexcept { return m_format == Format::Qel; }
    /// True when both derive their names from their texts by the same rule, so that
    /// equal texts give equal names (a name difference then decides the order alone).
    bool sameNameRule(const IdentityImpl& other) const noexcept { return nameRule() == other.nameRule(); }
    /// The authority's parts; both raise the authority error when it cannot be derived.
    std::string_view authorityName() const;
    std::string_view authorityFormat() const;
    /// True when the authority format is the UNKNOWN wildcard (the authority exists).
    bool unknownAuthority() const noexcept { return m_unknownAuthority; }
    /// The name's first eight bytes, zero-padded, as a big-endian number: where two of
    /// these differ, they order the names as the full comparison would.
    std::uint64_t namePrefix() const noexcept { return m_namePrefix; }

private:
    // A part of the tail text.
    struct Span {
        std::uint32_t at = 0;
        std::uint32_t size = 0;
    };
    struct Texts;

    const char* text() const noexcept { return reinterpret_cast<const char*>(this + 1); }
    std::string_view view(Span span) const noexcept { return {text() + span.at, span.size}; }
    // The other format and type follow the value in the tail, in that order.
    std::string_view otherFormat() const noexcept { return {text() + m_valueSize, m_otherFormatSize}; }
    std::string_view otherType() const noexcept { return {text() + m_valueSize + m_otherFormatSize, m_otherTypeSize}; }
    // QEL and the at-formats each have their own; any other format has no name.
    int nameRule() const noexcept { return m_format == Format::Qel ? 0 : m_format == Format::Other ? 2 : 1; }
    void deriveParts();
    void deriveNamePrefix() noexcept;
    // The authority format as the text gives it, whether or not the authority is valid.
    std::string_view authorityFormatAsRead() const noexcept;
    // Raises what createAuthorityId raises for the parts this text gives.
    [[noreturn]] void raiseAuthorityError() const;
    const Texts& texts() const;

    // Kept small: a set holds one of these per identity.
    mutable std::atomic<Texts*> m_texts{nullptr};
    std::uint64_t m_namePrefix = 0;
    std::uint32_t m_valueSize;
    std::uint32_t m_otherFormatSize = 0; // only for Format::Other
    std::uint32_t m_otherTypeSize = 0;   // only for Type::Other
    std::uint32_t m_authorityFormatSize = 0; // a QEL text's, which starts it
    Span m_name;
    Span m_authorityName;
    Format m_format;
    Type m_type;
    bool m_hasAuthority = false;
    bool m_unknownAuthority = false;
};

/// The identity order as a three-way result (negative: `a` before `b`). Can throw the
/// authority error when it has to compare authorities.
int compareIdentities(const IIdentity& a, const IIdentity& b);

} // namespace AUTHN
} // namespace MOX
