#pragma once
#include <string>

#include <mox/rt/Collections.h>
#include <mox/rt/Export.h>

namespace MOX {
namespace RT {

/// Small XML helpers for single elements. Writers escape; readers parse with expat
/// (never by scanning for tags) and read back what the writers write.
///
/// The readers accept a fragment: the text may hold several top-level elements and may
/// start with an XML declaration. A document type declaration is refused (no DTDs or
/// entities are ever loaded). Text that is not well-formed yields what was found before
/// the error: an element that ended before the error is returned, otherwise nothing.
class MOX_RT_API XmlUtils {
public:
    /// `<name attrs>content</name>`, or `<name attrs/>` when `content` is empty.
    /// `content` is written as given (it is usually XML already); `attributes` are texts
    /// made by ToAttribute, written in order, separated by one space.
    static std::string ToElement(const std::string& name, const std::string& content,
                                 const Vector<std::string>& attributes = Vector<std::string>());
    /// `name="value"` with the value escaped for an attribute.
    static std::string ToAttribute(const std::string& name, const std::string& value);
    /// `text` with &, <, > escaped, and in attribute mode also " and the white-space
    /// characters \t, \n, \r as character references (so they survive normalisation).
    static std::string Escape(const std::string& text, bool forAttribute = false);

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
    /// True when `text`, without leading white space, starts with '<'.
    static bool IsXML(const std::string& text) noexcept;
};

} // namespace RT
} // namespace MOX
