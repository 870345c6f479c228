// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Small XML helpers for single elements.
#include <cstddef>
#include <string>

#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>
#include <mox/rt/Raise.h>

namespace MOX {
namespace RT {

/// Small XML helpers for single elements. Writers escape; readers parse with expat
/// (never by scanning for tags) and read back what the writers write.
///
/// Every writer of the platform, these helpers and the document codec alike, escapes
/// through AppendEscaped, so that no writer produces text an XML parser would refuse:
/// a value XML 1.0 cannot carry is refused with SerializationException -1055 ("Error
/// converting object to string"), never written.
///
/// The readers accept a fragment: the text may hold several top-level elements, and they
/// read it as the documents are read: one leading UTF-8 byte-order mark is skipped (a
/// second is refused), an XML declaration is honoured only at the very start (after the
/// mark) and must name UTF-8 when it names an encoding, a document type declaration is
/// refused (no DTDs or entities are ever loaded), and the documents' limits apply (depth
/// 256 below the fragment, 64 attributes per element, 16 MiB per attribute value or run
/// of text). Text that is not well-formed or beyond a limit is never turned into a value:
/// a reader whose answer is not complete when the parser meets the error raises
/// SerializationException -1056 ("Error converting string to object") with the parser's
/// message, line and column as detail. (GetElement, GetElementValue and
/// GetAttributeValue stop at their answer, so an error after it is not seen.)
class MOX_RT_API XmlUtils {
public:
    /// `<name attrs>content</name>`, or `<name attrs/>` when `content` is empty.
    /// `content` is written as given (it is usually XML already); `attributes` are texts
    /// made by ToAttribute, written in order, separated by one space. A `name` that
    /// IsName refuses throws InvalidArgumentException (-1006) and nothing is written;
    /// more attributes than the readers accept on one element (64) throw
    /// SerializationException (-1055).
    static std::string ToElement(const std::string& name, const std::string& content,
                                 const Vector<std::string>& attributes = Vector<std::string>());
    /// `name="value"` with the value escaped for an attribute; a `name` that IsName
    /// refuses throws InvalidArgumentException (-1006), a value longer than the readers
    /// accept (16 MiB) SerializationException (-1055).
    static std::string ToAttribute(const std::string& name, const std::string& value);
    /// True when `name` (UTF-8) is an XML 1.0 Name: a name-start character followed by
    /// name characters, as the fifth edition defines them. With `qualified`, it must
    /// also be a qualified name: at most one colon, and not as its first or last character
    /// (`prefix:local`), which is how every element and attribute name of this platform
    /// is read.
    static bool IsName(const std::string& name, bool qualified = true) noexcept;
    /// Refuses a name before anything is written with it: throws InvalidArgumentException
    /// (-1006, the detail naming the refused text) located at `site` unless
    /// IsName(name) holds. Every writer that takes a caller's element, attribute or root
    /// name checks it here.
    static void RequireName(const std::string& name, const EXCEPTIONS::SourceSite& site);
    /// `text` escaped as AppendEscaped does; text XML 1.0 cannot carry raises
    /// SerializationException -1055 naming the first bad byte's offset.
    static std::string Escape(const std::string& text, bool forAttribute = false);
    /// Appends `length` bytes at `text` to `out`: &, <, > and carriage return as
    /// references, and with `forAttribute` also ", tab and line feed (so that they survive
    /// attribute-value normalisation); runs of other bytes are copied at once. Returns
    /// false, leaving `out` as it was, when the text is not well-formed UTF-8 or holds a
    /// character XML 1.0 cannot carry: a control character other than tab, line feed and
    /// carriage return, an encoded surrogate, U+FFFE or U+FFFF.
    static bool AppendEscaped(std::string& out, const char* text, std::size_t length, bool forAttribute);

    /// `fragment` enclosed in a `name` element, for reading it as a document: its prolog
    /// (leading byte-order marks and an XML declaration right after them) stays in front,
    /// so that the document is refused or read as the readers here treat the fragment.
    /// The name is written as given.
    static std::string Enclose(const std::string& name, const std::string& fragment);
    /// The exact source text of the first element called `name` (name as written,
    /// prefix included) in `text`, from its start tag to its end tag; "" when none.
    static std::string GetElement(const std::string& name, const std::string& text);
    /// The unescaped value of the attribute `name` on the first (outermost) element of
    /// `element`; `defaultValue` when the attribute is absent or no element is found.
    static std::string GetAttributeValue(const std::string& name, const std::string& element,
                                         const std::string& defaultValue = std::string());
    /// The exact source text between the start and end tags of the first element called
    /// `name` in `text` ("" for an empty or missing element).
    static std::string GetElementValue(const std::string& name, const std::string& text);
    /// The source texts of all elements called `name` in `text`, in document order; an
    /// element inside another match is part of that match, not listed again.
    static Vector<std::string> getElements(const std::string& name, const std::string& text);
    /// True when `text`, after its leading byte-order marks and white space, starts with
    /// '<' (so that a text form never takes markup for a name).
    static bool IsXML(const std::string& text) noexcept;
};

} // namespace RT
} // namespace MOX
