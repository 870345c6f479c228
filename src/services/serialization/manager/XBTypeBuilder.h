// SPDX-License-Identifier: MIT
#pragma once
// XBTypeBuilder: describes a document object class as an XBType (see XBType.h for the
// building blocks), from member pointers.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "services/serialization/manager/FieldCodec.h"
#include "services/serialization/manager/XBStream.h"
#include "services/serialization/manager/XBType.h"

namespace MOX {
namespace XB {

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

// A list item that is a text itself, written and read by its FieldCodec.
template <class V>
int writeItem(const void* object, std::string& out, bool attribute)
{
    return FieldCodec<V>::write(*static_cast<const V*>(object), out, attribute) ? XBType::Written
                                                                                : XBType::Unwritable;
}
template <class V>
bool readItem(void* object, const char* text, std::size_t length)
{
    return FieldCodec<V>::read(*static_cast<V*>(object), text, length);
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

    /// Any number of child elements `name`, held in the list field M. A list of texts
    /// (std::string, or std::string_view for writing only) makes simple-content elements;
    /// `itemTypeName` (default: the element name) is their type name in error parameters.
    template <auto M>
    XBTypeBuilder& list(std::string name, std::string itemTypeName = std::string())
    {
        static_assert(std::is_base_of<detail::MemberClass<M>, T>::value, "field of another class");
        using Traits = detail::ListTraits<detail::MemberValue<M>>;
        static_assert(Traits::isList, "list fields are std::vector");
        using C = typename Traits::Object;
        Child child = listChild<M>(ChildKind::List);
        if constexpr (std::is_same<C, std::string>::value || std::is_same<C, std::string_view>::value)
            child.ownType = std::make_shared<const XBType>(XBType::textItem(
                itemTypeName.empty() ? name : std::move(itemTypeName), &detail::writeItem<C>, &detail::readItem<C>));
        else
            child.typeOf = &C::schema;
        child.name = std::move(name);
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
        Child child = listChild<M>(ChildKind::Items);
        child.typeOf = &C::schema;
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
    /// A child of `kind` reached through the list field M.
    template <auto M>
    static Child listChild(ChildKind kind)
    {
        Child child;
        child.kind = kind;
        child.append = &detail::appendItem<M>;
        child.count = &detail::countItems<M>;
        child.at = &detail::itemAt<M>;
        return child;
    }

    XBTypeBuilder(Kind kind, std::string typeName) : XBType(kind, std::move(typeName))
    {
        if constexpr (std::is_base_of<XBChoice, T>::value)
            setCasts(&detail::objectOf<T>, &detail::choiceOf<T>);
        else
            setCasts(&detail::objectOf<T>, nullptr);
    }
};

/// A streamed list of Item as the content of an element, described once for any item:
/// `TypeName` goes into error parameters, `ElementName` names the items' elements (empty
/// for choice items written as their alternatives' elements).
template <class Item, const char* TypeName, const char* ElementName>
class XBStreamedList : public XBStream<Item> {
public:
    using XBStream<Item>::XBStream;

    /// The list's description.
    static const XBType& schema()
    {
        static const XBType type = XBTypeBuilder<XBStreamedList>::sequence(TypeName).template streamed<Item>(ElementName);
        return type;
    }
    const XBType& xbType() const noexcept override { return schema(); }
};

} // namespace XB
} // namespace MOX
