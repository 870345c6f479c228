// SPDX-License-Identifier: MIT
#pragma once
// The result of one moxctl command, printed as text or, with --json, as JSON.
#include <string>
#include <vector>

namespace moxctl {

/// One command's result: named fields printed as "name: value" lines, or with --json as
/// one JSON object whose keys are the same names (blanks as '_').
class Output {
public:
    /// Adds a text field.
    Output& add(const std::string& name, const std::string& value);
    /// Adds a text field (keeps string literals away from the bool overload).
    Output& add(const std::string& name, const char* value) { return add(name, std::string(value)); }
    /// Adds a whole-number field.
    Output& add(const std::string& name, long long value);
    /// Adds a true/false field.
    Output& add(const std::string& name, bool value);
    /// Replaces the text form with `text` (the JSON form keeps the fields).
    Output& text(const std::string& text);
    /// Prints the result to standard output in the chosen form.
    void print() const;
    /// The fields as one JSON object (no newline).
    std::string toJson() const;

    /// True when results are printed as JSON (set by --json).
    static bool& json();
    /// `text` as a JSON string, quotes included.
    static std::string quote(const std::string& text);

private:
    struct Field {
        std::string name;
        std::string text;
        std::string json;
    };
    std::vector<Field> m_fields;
    std::string m_text;
    bool m_hasText = false;
};

} // namespace moxctl
