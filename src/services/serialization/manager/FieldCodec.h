// SPDX-License-Identifier: MIT
#pragma once
// How one value kind travels as an attribute value or as element text (FieldCodec),
// and the escaping every writer shares.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <mox/rt/XmlUtils.h>

namespace MOX {
namespace XB {

/// Appends `text` to `out` escaped for character data or for a double-quoted attribute
/// value: the platform's one escaping check (RT::XmlUtils::AppendEscaped). False when the
/// text cannot be carried by XML 1.0 (the writer then records status -46).
inline bool appendEscaped(std::string& out, const char* text, std::size_t length, bool attribute)
{
    return RT::XmlUtils::AppendEscaped(out, text, length, attribute);
}

/// Reads a decimal 32-bit signed integer with optional sign and surrounding XML white
/// space; false when `text` is anything else or out of range.
bool parseInt32(const char* text, std::size_t length, std::int32_t& value) noexcept;

/// How one value kind travels as an attribute value or as element text.
///
/// `present` tells whether the value is written at all; `write` appends it escaped and
/// returns false when it cannot be written (the writer then records status -46);
/// `read` stores a decoded text and returns false when the text is not a valid value
/// (the decoder then records status -45).
template <class V>
struct FieldCodec;

template <>
struct FieldCodec<std::string> {
    static bool present(const std::string&) noexcept { return true; }
    static bool write(const std::string& v, std::string& out, bool attribute)
    {
        return appendEscaped(out, v.data(), v.size(), attribute);
    }
    static bool read(std::string& v, const char* text, std::size_t length)
    {
        v.assign(text, length);
        return true;
    }
};

template <>
struct FieldCodec<std::optional<std::string>> {
    static bool present(const std::optional<std::string>& v) noexcept { return v.has_value(); }
    static bool write(const std::optional<std::string>& v, std::string& out, bool attribute)
    {
        return appendEscaped(out, v->data(), v->size(), attribute);
    }
    static bool read(std::optional<std::string>& v, const char* text, std::size_t length)
    {
        if (v)
            v->assign(text, length);
        else
            v.emplace(text, length);
        return true;
    }
};

template <>
struct FieldCodec<std::int32_t> {
    static bool present(std::int32_t) noexcept { return true; }
    static bool write(std::int32_t v, std::string& out, bool)
    {
        out += std::to_string(v);
        return true;
    }
    static bool read(std::int32_t& v, const char* text, std::size_t length)
    {
        return parseInt32(text, length, v);
    }
};

template <>
struct FieldCodec<std::optional<std::int32_t>> {
    static bool present(const std::optional<std::int32_t>& v) noexcept { return v.has_value(); }
    static bool write(const std::optional<std::int32_t>& v, std::string& out, bool)
    {
        out += std::to_string(*v);
        return true;
    }
    static bool read(std::optional<std::int32_t>& v, const char* text, std::size_t length)
    {
        std::int32_t n = 0;
        if (!parseInt32(text, length, n))
            return false;
        v = n;
        return true;
    }
};

/// A text the object only points to (null: absent), for document objects that are
/// written straight from values held elsewhere; nothing is read into it.
template <>
struct FieldCodec<const std::string*> {
    static bool present(const std::string* v) noexcept { return v != nullptr; }
    static bool write(const std::string* v, std::string& out, bool attribute)
    {
        return appendEscaped(out, v->data(), v->size(), attribute);
    }
    static bool read(const std::string*&, const char*, std::size_t) { return false; }
};

/// A text held elsewhere, for document objects written straight from values stored in
/// another form; nothing is read into it.
template <>
struct FieldCodec<std::string_view> {
    static bool present(std::string_view) noexcept { return true; }
    static bool write(std::string_view v, std::string& out, bool attribute)
    {
        return appendEscaped(out, v.data(), v.size(), attribute);
    }
    static bool read(std::string_view&, const char*, std::size_t) { return false; }
};

} // namespace XB
} // namespace MOX
