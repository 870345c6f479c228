// SPDX-License-Identifier: MIT
#pragma once
// The streamed list: child elements handed over one by one, never held whole.
#include <cstddef>

#include <mox/xb/XBObject.h>

namespace MOX {
namespace XB {

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

} // namespace XB
} // namespace MOX
