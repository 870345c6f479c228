// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Status numbers and the error record of the codec layer.
#include <cstddef>
#include <string>
#include <vector>

#include <mox/rt/Export.h>

namespace MOX {
namespace XB {

/// Status numbers of the codec layer (0 is success).
enum Status : int {
    XB_OK = 0,
    XB_ELEMENT_MISMATCH = -3,      ///< root name differs: expected name, actual name
    XB_INVALID_CHOICE = -9,        ///< writing a choice with no valid alternative: the number
    XB_NOT_INITIALISED = -22,      ///< the decode buffer has no parser (never made, or used up)
    XB_XML_SYNTAX = -26,           ///< expat's error text with line and column
    XB_INVALID_ATTRIBUTE = -33,    ///< undeclared attribute: type name, attribute name
    XB_MISSING_ATTRIBUTE = -38,    ///< required attribute missing: type name, attribute name
    XB_MISSING_ELEMENT = -39,      ///< a choice element without any alternative: type name
    XB_UNEXPECTED_ELEMENT = -41,   ///< unknown or surplus child element: name as written
    XB_INVALID_VALUE = -45,        ///< attribute value not of its kind: type name, attribute name
    XB_UNWRITABLE_TEXT = -46,      ///< writing a value XML 1.0 cannot carry: type name, field name
    XB_FORBIDDEN_MARKUP = -47,     ///< a document type declaration: what was found
    XB_LIMIT_EXCEEDED = -48,       ///< a document limit was reached: which one, the limit
    XB_READ_FAILED = -49           ///< reading the input stream failed
};

/// A short description of a status ("unexpected element", ...); "" when unknown.
MOX_API const char* statusText(int status) noexcept;

/// The error record of a codec buffer: the status and parameters of the first recorded
/// error and how many errors were recorded in all.
class MOX_API ErrorRecord {
public:
    /// Records an error. The first one sets the status and parameters; later ones are
    /// only counted.
    void record(int status, std::vector<std::string> parameters = {});
    /// True once an error was recorded.
    bool failed() const noexcept { return m_count != 0; }
    /// The first error's status; XB_OK when none.
    int status() const noexcept { return m_status; }
    /// The first error's parameter texts.
    const std::vector<std::string>& parameters() const noexcept { return m_parameters; }
    /// Number of recorded errors.
    std::size_t count() const noexcept { return m_count; }
    /// The diagnostic text: the status number and description, then the parameters; when
    /// more errors followed, how many. "" when no error was recorded.
    std::string info() const;
    /// Forgets every recorded error.
    void clear() noexcept;

private:
    int m_status = XB_OK;
    std::vector<std::string> m_parameters;
    std::size_t m_count = 0;
};

} // namespace XB
} // namespace MOX
