// SPDX-License-Identifier: MIT
#include "Output.h"

#include <cstdio>
#include <iostream>

namespace moxctl {

Output& Output::add(const std::string& name, const std::string& value)
{
    m_fields.push_back({name, value, quote(value)});
    return *this;
}

Output& Output::add(const std::string& name, long long value)
{
    m_fields.push_back({name, std::to_string(value), std::to_string(value)});
    return *this;
}

Output& Output::add(const std::string& name, bool value)
{
    const char* text = value ? "true" : "false";
    m_fields.push_back({name, text, text});
    return *this;
}

Output& Output::text(const std::string& text)
{
    m_text = text;
    m_hasText = true;
    return *this;
}

void Output::print() const
{
    if (!json()) {
        if (m_hasText) {
            std::cout << m_text << '\n';
            return;
        }
        for (const Field& f : m_fields)
            std::cout << f.name << ": " << f.text << '\n';
        return;
    }
    std::cout << toJson() << '\n';
}

std::string Output::toJson() const
{
    std::string out = "{";
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        std::string key = m_fields[i].name;
        for (char& c : key)
            c = c == ' ' ? '_' : c;
        out += (i ? ", " : "") + quote(key) + ": " + m_fields[i].json;
    }
    return out + "}";
}

bool& Output::json()
{
    static bool on = false;
    return on;
}

namespace {

// Length of the well-formed UTF-8 sequence at `at`, or 0 when the bytes there are not one.
std::size_t utf8Length(const std::string& text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xc2 && lead <= 0xdf ? 2 : lead >= 0xe0 && lead <= 0xef ? 3
                                                : lead >= 0xf0 && lead <= 0xf4 ? 4 : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xc0) != 0x80)
            return 0;
    const auto second = static_cast<unsigned char>(text[at + 1]);
    // Overlong forms, UTF-16 surrogates and code points above U+10FFFF.
    if ((lead == 0xe0 && second < 0xa0) || (lead == 0xed && second > 0x9f) || (lead == 0xf0 && second < 0x90) ||
        (lead == 0xf4 && second > 0x8f))
        return 0;
    return length;
}

} // namespace

std::string Output::quote(const std::string& text)
{
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            // JSON is Unicode text: bytes that are not UTF-8 become U+FFFD.
            const std::size_t length = utf8Length(text, at);
            out += length == 0 ? std::string("\\ufffd") : text.substr(at, length);
            at += length == 0 ? 0 : length - 1;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (u < 0x20 || u == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

} // namespace moxctl
