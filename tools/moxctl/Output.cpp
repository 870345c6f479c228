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

std::string Output::quote(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
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
