// SPDX-License-Identifier: MIT
#pragma once
/// Schema descriptions: how a document object class is written as XML and read back.
///
/// Each schema type is a plain class deriving from XBObject (or XBChoice) plus one
/// `static const XBType` that describes it as data. One generic writer and one generic
/// set of decode handlers walk these descriptions; a schema author writes no handler code.
///
/// Declaring a type (the identities schema, abridged):
///
///     // header
///     class MOX_API xbidentity : public MOX::XB::XBObject {
///     public:
///         MOX_XB_DOCUMENT_TYPE()
///         std::optional<std::string> format, authority, account, type;
///     };
///     class MOX_API xbidentities_1 : public MOX::XB::XBChoice { ... MOX_XB_DOCUMENT_TYPE() };
///     class MOX_API xbidentities : public MOX::XB::XBObject {
///     public:
///         MOX_XB_DOCUMENT_TYPE()
///         std::vector<xbidentities_1> list;
///     };
///
///     // source
///     using namespace MOX::XB;
///     const XBType& xbidentity::schema()
///     {
///         static const XBType type = XBTypeBuilder<xbidentity>::sequence("xbidentity")
///             .attribute<&xbidentity::format>("format")          // required by default
///             .attribute<&xbidentity::authority>("authority")
///             .attribute<&xbidentity::account>("account")
///             .attribute<&xbidentity::type>("type");
///         return type;
///     }
///     const XBType& xbidentities_1::schema()
///     {
///         static const XBType type = XBTypeBuilder<xbidentities_1>::choice("xbidentities_1")
///             .alternative<xbidentity>("identity")                     // t == 1
///             .alternative<xbAbstractNameIdentifier>("UserIdentifier") // t == 2
///             .alternative<xbAbstractNameIdentifier>("GroupIdentifier");
///         return type;
///     }
///     const XBType& xbidentities::schema()
///     {
///         static const XBType type = XBTypeBuilder<xbidentities>::sequence("xbidentities")
///             .items<&xbidentities::list>();   // choice items without an element of their own
///         return type;
///     }
///
/// Building blocks (see XBTypeBuilder):
/// - `attribute<&T::field>(name, Use)`: an XML attribute, written in declaration order.
///   Field types: std::string, std::optional<std::string>, std::int32_t,
///   std::optional<std::int32_t>; an optional field that is empty is absent (not written,
///   and the decoder leaves it empty when the attribute is missing). Other value kinds:
///   specialise FieldCodec.
/// - `text<&T::field>()`: simple content (the element's text, white space kept).
/// - `element<&T::field>(name)`: an optional single child element (std::unique_ptr<C>).
/// - `list<&T::field>(name)`: a repeated child element (std::vector<C> or
///   std::vector<std::unique_ptr<C>>); std::vector<std::string> makes a list of
///   simple-content elements without attributes (for example "value").
/// - `items<&T::field>()`: a list of choice objects that have no element of their own:
///   each item is one element named after its chosen alternative.
/// - `alternative<C>(name)` (choice types only): the next alternative, numbered from 1.
/// - `streamed<Item>(name)` (types deriving from XBStream<Item>): a repeated child element
///   that is never held whole: each decoded item goes to a sink as soon as it is
///   complete, and each item to write is filled by a source just before it is written.
///
/// Children of a container may come in any order and number. The type name given to
/// `sequence`/`choice` is the one the decoder puts into error parameters.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <mox/xb/XBChoice.h>
#include <mox/xb/XBObject.h>

namespace MOX {
namespace XB {

/// Whether the decoder insists on an attribute.
enum class Use { Required, Optional };

/// The schema description of one document object class. Built once per class with
/// XBTypeBuilder and kept in a function-local static; compared by address.
class XBType {
public:
    /// A sequence type has attributes, children and/or simple content; a choice type
    /// holds exactly one of its alternatives (its objects derive from XBChoice).
    enum class Kind { Sequence, Choice };

    /// What a WriteFn did.
    enum WriteResult : int {
        Absent = 0,     ///< nothing: the field is absent
        Written = 1,    ///< the escaped value was appended
        Unwritable = -1 ///< the value cannot be written as XML 1.0 (out holds a partial value)
    };
    /// Appends the escaped value of a field of `object`.
    using WriteFn = int (*)(const void* object, std::string& out, bool attribute);
    /// Stores a decoded text into a field of `object`; false when it is not a valid value.
    using ReadFn = bool (*)(void* object, const char* text, std::size_t length);

    /// One XML attribute.
    struct Attribute {
        std::string name;
        bool required;
        WriteFn write;
        ReadFn read;
        /// What the writer puts before the value: " name=\"" (set by addAttribute).
        std::string opening = {};
    };

    /// How a child binding holds its objects.
    enum class ChildKind {
        Element, ///< at most one child element (std::unique_ptr)
        List,    ///< any number of child elements of one name
        Items    ///< any number of choice objects, each written as its alternative's element
    };

    /// One child binding of a sequence type.
    struct Child {
        std::string name;  ///< element name; empty for Items
        ChildKind kind;
        const XBType& (*typeOf)() = nullptr;        ///< the child's type ...
        std::shared_ptr<const XBType> ownType;     ///< ... or one made for this binding
        /// Adds a new child object to `parent` and returns it; null when no more may be added.
        void* (*append)(void* parent) = nullptr;
        /// Number of child objects held by `parent`.
        std::size_t (*count)(const void* parent) = nullptr;
        /// The child object at `index` (null entries are skipped by the writer).
        const void* (*at)(const void* parent, std::size_t index) = nullptr;

        const XBType& type() const { return ownType ? *ownType : typeOf(); }
    };

    /// One alternative of a choice type.
    struct Alternative {
        std::string name;                          ///< its element name
        const XBType& (*typeOf)() = nullptr;       ///< its type
        XBObject* (*make)() = nullptr;             ///< a new empty object of that type
    };

    XBType(Kind kind, std::string typeName);

    Kind kind() const noexcept { return m_kind; }
    /// The name put into error parameters, for example "xbidentity".
    const std::string& typeName() const noexcept { return m_typeName; }
    const std::vector<Attribute>& attributes() const noexcept { return m_attributes; }
    const std::vector<Child>& children() const noexcept { return m_children; }
    const std::vector<Alternative>& alternatives() const noexcept { return m_alternatives; }
    /// True for a simple-content type (its element holds a text value).
    bool hasText() const noexcept { return m_textRead != nullptr; }
    WriteFn textWriter() const noexcept { return m_textWrite; }
    ReadFn textReader() const noexcept { return m_textRead; }

    /// The described object behind an XBObject of this type (null for types that are
    /// not XBObjects, such as the items of a text list).
    void* objectOf(XBObject& object) const { return m_objectOf ? m_objectOf(&object) : nullptr; }
    const void* objectOf(const XBObject& object) const
    {
        return m_objectOf ? m_objectOf(const_cast<XBObject*>(&object)) : nullptr;
    }
    /// The XBChoice behind a described object of a choice type.
    XBChoice& choiceOf(void* object) const { return *m_choiceOf(object); }
    const XBChoice& choiceOf(const void* object) const { return *m_choiceOf(const_cast<void*>(object)); }

    /// A simple-content type whose described object is a text itself (the items of a
    /// `list` of texts), written and read by `write` and `read`; `typeName` goes into
    /// error parameters.
    static XBType textItem(std::string typeName, WriteFn write, ReadFn read);

protected:
    void addAttribute(Attribute attribute);
    void addChild(Child child);
    void addAlternative(Alternative alternative);
    void setText(WriteFn write, ReadFn read);
    void setCasts(void* (*objectOf)(XBObject*), XBChoice* (*choiceOf)(void*));

private:
    Kind m_kind;
    std::string m_typeName;
    std::vector<Attribute> m_attributes;
    std::vector<Child> m_children;
    std::vector<Alternative> m_alternatives;
    WriteFn m_textWrite = nullptr;
    ReadFn m_textRead = nullptr;
    void* (*m_objectOf)(XBObject*) = nullptr;
    XBChoice* (*m_choiceOf)(void*) = nullptr;
};

} // namespace XB
} // namespace MOX
