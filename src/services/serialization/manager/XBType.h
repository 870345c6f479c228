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
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include <mox/rt/Export.h>
#include <mox/rt/XmlUtils.h>
#include <mox/xb/XBChoice.h>
#include <mox/xb/XBObject.h>

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

/// Empties a streamed item for the next element. Item classes whose lists should keep
/// their room between elements declare an overload of their own (found by argument-
/// dependent lookup).
template <class Item>
void resetItem(Item& item)
{
    item = Item();
}

/// A list of child elements of class Item that is never held whole, for documents too
/// large to hold twice. Decoding: one Item object is reused for every element, and each
/// complete item goes to the sink (when the next one starts; the last one by `finish`,
/// called once the decode has succeeded). Items handed over before a decode fails belong
/// to a rejected document: the sink's owner discards them. Encoding: `count` items, each
/// filled by the source into the reused object just before it is written. A schema
/// declares such a list with `XBTypeBuilder::streamed<Item>(name)` on a class deriving
/// from XBStream<Item>.
template <class Item>
class XBStream : public XBObject {
public:
    /// The class of the list's items.
    using ItemType = Item;
    /// Receives each complete item and may take its texts. It runs inside the parser's
    /// callbacks, so it must not throw.
    using Sink = void (*)(void* context, Item& item) noexcept;
    /// Fills `item` with item number `index`; what it throws ends the encode.
    using Source = void (*)(void* context, std::size_t index, Item& item);

    /// A list being read.
    XBStream(Sink sink, void* context) noexcept : m_sink(sink), m_context(context) {}
    /// A list of `count` items being written.
    XBStream(std::size_t count, Source source, void* context) noexcept
        : m_source(source), m_sourceContext(context), m_count(count)
    {
    }
    XBStream(const XBStream&) = delete;
    XBStream& operator=(const XBStream&) = delete;

    /// Hands the last decoded item to the sink, if one is pending.
    void finish() noexcept
    {
        if (!m_pending)
            return;
        m_pending = false;
        ++m_count;
        m_sink(m_context, m_item);
    }
    /// Items handed to the sink so far (reading), or to write (writing).
    std::size_t count() const noexcept { return m_count; }

    /// The decoder's hook: hands over the pending item, returns the emptied one.
    static void* next(void* self) noexcept
    {
        auto& stream = *static_cast<XBStream*>(self);
        stream.finish();
        resetItem(stream.m_item);
        stream.m_pending = stream.m_sink != nullptr;
        return stream.m_sink != nullptr ? &stream.m_item : nullptr;
    }
    /// The encoder's hooks: how many items, and item `index` filled in.
    static std::size_t size(const void* self) noexcept
    {
        const auto& stream = *static_cast<const XBStream*>(self);
        return stream.m_source != nullptr ? stream.m_count : 0;
    }
    static const void* at(const void* self, std::size_t index)
    {
        const auto& stream = *static_cast<const XBStream*>(self);
        stream.m_source(stream.m_sourceContext, index, stream.m_item);
        return &stream.m_item;
    }

private:
    Sink m_sink = nullptr;
    void* m_context = nullptr;
    Source m_source = nullptr;
    void* m_sourceContext = nullptr;
    std::size_t m_count = 0;
    bool m_pending = false;
    mutable Item m_item;
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

    /// A simple-content type whose described object is a std::string itself (the items
    /// of a `list` of strings); `typeName` goes into error parameters.
    static XBType textItem(std::string typeName);

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

namespace detail {

template <class M>
struct Member;
template <class C, class V>
struct Member<V C::*> {
    using Class = C;
    using Value = V;
};

template <auto M>
using MemberClass = typename Member<decltype(M)>::Class;
template <auto M>
using MemberValue = typename Member<decltype(M)>::Value;

template <auto M>
int writeField(const void* object, std::string& out, bool attribute)
{
    using Codec = FieldCodec<MemberValue<M>>;
    const auto& value = static_cast<const MemberClass<M>*>(object)->*M;
    if (!Codec::present(value))
        return XBType::Absent;
    return Codec::write(value, out, attribute) ? XBType::Written : XBType::Unwritable;
}

template <auto M>
bool readField(void* object, const char* text, std::size_t length)
{
    return FieldCodec<MemberValue<M>>::read(static_cast<MemberClass<M>*>(object)->*M, text, length);
}

template <class L>
struct ListTraits {
    static constexpr bool isList = false;
};
template <class E, class A>
struct ListTraits<std::vector<E, A>> {
    static constexpr bool isList = true;
    using Object = E;
    static E* append(std::vector<E, A>& v)
    {
        v.emplace_back();
        return &v.back();
    }
    static const E* at(const std::vector<E, A>& v, std::size_t i) { return &v[i]; }
    static std::size_t size(const std::vector<E, A>& v) { return v.size(); }
};
template <class E, class D, class A>
struct ListTraits<std::vector<std::unique_ptr<E, D>, A>> {
    static constexpr bool isList = true;
    using Object = E;
    static E* append(std::vector<std::unique_ptr<E, D>, A>& v)
    {
        v.emplace_back(new E());
        return v.back().get();
    }
    static const E* at(const std::vector<std::unique_ptr<E, D>, A>& v, std::size_t i) { return v[i].get(); }
    static std::size_t size(const std::vector<std::unique_ptr<E, D>, A>& v) { return v.size(); }
};
// A list written from a vector the object only points to (null: no items); nothing is
// read into it.
template <class E, class A>
struct ListTraits<const std::vector<E, A>*> {
    static constexpr bool isList = true;
    using Object = E;
    static E* append(const std::vector<E, A>*&) { return nullptr; }
    static const E* at(const std::vector<E, A>* v, std::size_t i) { return &(*v)[i]; }
    static std::size_t size(const std::vector<E, A>* v) { return v != nullptr ? v->size() : 0; }
};

template <auto M>
void* appendItem(void* parent)
{
    return ListTraits<MemberValue<M>>::append(static_cast<MemberClass<M>*>(parent)->*M);
}
template <auto M>
std::size_t countItems(const void* parent)
{
    return ListTraits<MemberValue<M>>::size(static_cast<const MemberClass<M>*>(parent)->*M);
}
template <auto M>
const void* itemAt(const void* parent, std::size_t index)
{
    return ListTraits<MemberValue<M>>::at(static_cast<const MemberClass<M>*>(parent)->*M, index);
}

template <auto M>
void* appendSingle(void* parent)
{
    auto& slot = static_cast<MemberClass<M>*>(parent)->*M;
    if (slot)
        return nullptr;
    slot.reset(new typename MemberValue<M>::element_type());
    return slot.get();
}
template <auto M>
std::size_t countSingle(const void* parent)
{
    return (static_cast<const MemberClass<M>*>(parent)->*M) ? 1 : 0;
}
template <auto M>
const void* singleAt(const void* parent, std::size_t)
{
    return (static_cast<const MemberClass<M>*>(parent)->*M).get();
}

template <class T>
void* objectOf(XBObject* object)
{
    return static_cast<T*>(object);
}
template <class T>
XBChoice* choiceOf(void* object)
{
    return static_cast<XBChoice*>(static_cast<T*>(object));
}
template <class C>
XBObject* make()
{
    return new C();
}

} // namespace detail

/// Builds the XBType of class T; converts to XBType by slicing (it adds no data).
template <class T>
class XBTypeBuilder : public XBType {
    static_assert(std::is_base_of<XBObject, T>::value, "document object classes derive from XBObject");

public:
    /// A type with attributes, children and/or simple content.
    static XBTypeBuilder sequence(std::string typeName) { return XBTypeBuilder(Kind::Sequence, std::move(typeName)); }
    /// A type holding one of several alternatives; T must derive from XBChoice.
    static XBTypeBuilder choice(std::string typeName)
    {
        static_assert(std::is_base_of<XBChoice, T>::value, "choice types derive from XBChoice");
        return XBTypeBuilder(Kind::Choice, std::move(typeName));
    }

    /// An XML attribute stored in the field M (see the header comment for field types).
    template <auto M>
    XBTypeBuilder& attribute(std::string name, Use use = Use::Required)
    {
        static_assert(std::is_base_of<detail::MemberClass<M>, T>::value, "field of another class");
        addAttribute(Attribute{std::move(name), use == Use::Required, &detail::writeField<M>,
                               &detail::readField<M>});
        return *this;
    }

    /// The element's text, stored in the field M (white space kept).
    template <auto M>
    XBTypeBuilder& text()
    {
        static_assert(std::is_base_of<detail::MemberClass<M>, T>::value, "field of another class");
        setText(&detail::writeField<M>, &detail::readField<M>);
        return *this;
    }

    /// At most one child element `name`, held in the std::unique_ptr field M.
    template <auto M>
    XBTypeBuilder& element(std::string name)
    {
        static_assert(std::is_base_of<detail::MemberClass<M>, T>::value, "field of another class");
        using C = typename detail::MemberValue<M>::element_type;
        Child child;
        child.name = std::move(name);
        child.kind = ChildKind::Element;
        child.typeOf = &C::schema;
        child.append = &detail::appendSingle<M>;
        child.count = &detail::countSingle<M>;
        child.at = &detail::singleAt<M>;
        addChild(std::move(child));
        return *this;
    }

    /// Any number of child elements `name`, held in the list field M. A list of
    /// std::string makes simple-content elements; `itemTypeName` (default: the element
    /// name) is their type name in error parameters.
    template <auto M>
    XBTypeBuilder& list(std::string name, std::string itemTypeName = std::string())
    {
        static_assert(std::is_base_of<detail::MemberClass<M>, T>::value, "field of another class");
        using Traits = detail::ListTraits<detail::MemberValue<M>>;
        static_assert(Traits::isList, "list fields are std::vector");
        using C = typename Traits::Object;
        Child child;
        child.kind = ChildKind::List;
        if constexpr (std::is_same<C, std::string>::value)
            child.ownType = std::make_shared<const XBType>(
                XBType::textItem(itemTypeName.empty() ? name : std::move(itemTypeName)));
        else
            child.typeOf = &C::schema;
        child.name = std::move(name);
        child.append = &detail::appendItem<M>;
        child.count = &detail::countItems<M>;
        child.at = &detail::itemAt<M>;
        addChild(std::move(child));
        return *this;
    }

    /// Any number of choice objects held in the list field M, each written as the
    /// element of its chosen alternative (no element of their own).
    template <auto M>
    XBTypeBuilder& items()
    {
        static_assert(std::is_base_of<detail::MemberClass<M>, T>::value, "field of another class");
        using Traits = detail::ListTraits<detail::MemberValue<M>>;
        static_assert(Traits::isList, "item fields are std::vector");
        using C = typename Traits::Object;
        static_assert(std::is_base_of<XBChoice, C>::value, "items are choice objects");
        Child child;
        child.kind = ChildKind::Items;
        child.typeOf = &C::schema;
        child.append = &detail::appendItem<M>;
        child.count = &detail::countItems<M>;
        child.at = &detail::itemAt<M>;
        addChild(std::move(child));
        return *this;
    }

    /// Any number of child elements `name` of class Item, streamed (see XBStream); T
    /// derives from XBStream<Item>. Choice items with an empty `name` are written as the
    /// elements of their chosen alternatives (as `items`).
    template <class Item>
    XBTypeBuilder& streamed(std::string name)
    {
        static_assert(std::is_base_of<XBStream<Item>, T>::value, "streamed lists derive from XBStream");
        Child child;
        child.name = std::move(name);
        // Choice items without a name are written as their alternatives' elements.
        child.kind = std::is_base_of<XBChoice, Item>::value && child.name.empty() ? ChildKind::Items : ChildKind::List;
        child.typeOf = &Item::schema;
        child.append = &XBStream<Item>::next;
        child.count = &XBStream<Item>::size;
        child.at = &XBStream<Item>::at;
        addChild(std::move(child));
        return *this;
    }

    /// The next alternative of a choice type (numbered from 1), an element `name` of
    /// class C.
    template <class C>
    XBTypeBuilder& alternative(std::string name)
    {
        static_assert(std::is_base_of<XBObject, C>::value, "alternatives are document objects");
        addAlternative(Alternative{std::move(name), &C::schema, &detail::make<C>});
        return *this;
    }

private:
    XBTypeBuilder(Kind kind, std::string typeName) : XBType(kind, std::move(typeName))
    {
        if constexpr (std::is_base_of<XBChoice, T>::value)
            setCasts(&detail::objectOf<T>, &detail::choiceOf<T>);
        else
            setCasts(&detail::objectOf<T>, nullptr);
    }
};

} // namespace XB
} // namespace MOX
