// SPDX-License-Identifier: MIT
#include <mox/xb/ErrorRecord.h>

namespace MOX {
namespace XB {

namespace {

struct StatusInfo {
    int status;
    const char* text;
    // Labels of the first parameters; with `bare` the first parameter is written as is.
    const char* labels[2];
    bool bare;
};

const StatusInfo kStatuses[] = {
    {XB_ELEMENT_MISMATCH, "element name mismatch", {"expected", "found"}, false},
    {XB_INVALID_CHOICE, "invalid choice", {"alternative", nullptr}, false},
    {XB_NOT_INITIALISED, "parser not initialised", {nullptr, nullptr}, false},
    {XB_XML_SYNTAX, "XML syntax error", {nullptr, nullptr}, true},
    {XB_INVALID_ATTRIBUTE, "invalid attribute", {"type", "attribute"}, false},
    {XB_MISSING_ATTRIBUTE, "missing required attribute", {"type", "attribute"}, false},
    {XB_MISSING_ELEMENT, "choice without an alternative", {"type", nullptr}, false},
    {XB_UNEXPECTED_ELEMENT, "unexpected element", {"element", nullptr}, false},
    {XB_INVALID_VALUE, "invalid attribute value", {"type", "attribute"}, false},
    {XB_UNWRITABLE_TEXT, "value not writable as XML 1.0", {"type", "field"}, false},
    {XB_FORBIDDEN_MARKUP, "forbidden markup", {"found", nullptr}, false},
    {XB_LIMIT_EXCEEDED, "document limit exceeded", {"limit", "maximum"}, false},
    {XB_READ_FAILED, "input stream read failed", {nullptr, nullptr}, false},
};

const StatusInfo* find(int status) noexcept
{
    for (const StatusInfo& info : kStatuses)
        if (info.status == status)
            return &info;
    return nullptr;
}

} // namespace

const char* statusText(int status) noexcept
{
    const StatusInfo* info = find(status);
    return info ? info->text : "";
}

void ErrorRecord::record(int status, std::vector<std::string> parameters)
{
    if (m_count++ == 0) {
        m_status = status;
        m_parameters = std::move(parameters);
    }
}

std::string ErrorRecord::info() const
{
    if (m_count == 0)
        return std::string();
    const StatusInfo* known = find(m_status);
    std::string text = known ? known->text : "error";
    text += " (status " + std::to_string(m_status) + ")";
    for (std::size_t i = 0; i < m_parameters.size(); ++i) {
        text += i == 0 ? ": " : ", ";
        const char* label = known && i < 2 ? known->labels[i] : nullptr;
        if (known && known->bare && i == 0) {
            text += m_parameters[i];
            continue;
        }
        if (label) {
            text += label;
            text += ' ';
        }
        text += '\'' + m_parameters[i] + '\'';
    }
    if (m_count > 1)
        text += " (" + std::to_string(m_count) + " errors in all)";
    return text;
}

void ErrorRecord::clear() noexcept
{
    m_status = XB_OK;
    m_parameters.clear();
    m_count = 0;
}

} // namespace XB
} // namespace MOX
