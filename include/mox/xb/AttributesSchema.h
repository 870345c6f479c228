#pragma once
/// Document objects of the attributes document:
///
///     <attributes>
///       <attribute name="color" type="String" scope="paint"><value>red</value><value>blue</value></attribute>
///     </attributes>
///
/// "name" is required, "type" (the qualified name's format) and "scope" are optional,
/// written in that order when present; "value" elements hold one text each, white space
/// kept. No element or attribute has a namespace.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <mox/rt/Export.h>
#include <mox/xb/DocumentElement.h>
#include <mox/xb/XBObject.h>

namespace MOX {
namespace XB {

/// A qualified name on its own (no document of this library uses it as an element):
/// an empty element with "name", then "type" and "scope" when present.
class MOX_API xbqualified_name : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    std::string name;                 ///< "name" (required)
    std::optional<std::string> type;  ///< "type": the format; absent means the schema default "String"
    std::optional<std::string> scope; ///< "scope": absent when there is none
};

/// One "attribute" element: the qualified name's fields as in xbqualified_name, then the
/// value texts.
class MOX_API xbattribute : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    std::string name;                    ///< "name" (required)
    std::optional<std::string> type;     ///< "type": the format
    std::optional<std::string> scope;    ///< "scope"
    std::vector<std::string> value_list; ///< the "value" children, in order
};

/// The content of the root: the "attribute" elements in order.
class MOX_API xbattributes : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    std::vector<xbattribute> list;
};

/// Reads an attributes document without holding all of it: the "attribute" elements
/// are decoded one after the other into one reused xbattribute, and each is handed to a
/// sink as soon as it is complete (when the next one starts; the last one by `finish`).
/// Items handed over before a decode fails belong to a document that is then rejected:
/// the sink's owner discards them. Written by the encoder, it is an empty root.
class MOX_API xbattributes_reader : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    /// Receives each complete item; it may take the item's texts (the item is cleared
    /// before it is reused). It runs inside the parser's callbacks, so it must not throw.
    using Sink = void (*)(void* context, xbattribute& item) noexcept;

    xbattributes_reader(Sink sink, void* context) noexcept;
    ~xbattributes_reader() override;
    xbattributes_reader(const xbattributes_reader&) = delete;
    xbattributes_reader& operator=(const xbattributes_reader&) = delete;

    /// Hands the last decoded item to the sink, if one is pending. Call it once the
    /// decode has succeeded.
    void finish() noexcept;
    /// How many items were handed to the sink so far.
    std::size_t count() const noexcept { return m_count; }

    /// The decoder's hook (see the schema description): hands over the pending item and
    /// returns the cleared item for the next element.
    static void* next(void* reader) noexcept;

private:
    Sink m_sink;
    void* m_context;
    xbattribute m_item;
    bool m_pending = false;
    std::size_t m_count = 0;
};

/// Writes an attributes document without building all of it: the encoder asks for the
/// items one after the other, and each is filled into one reused xbattribute just before
/// it is written. Decoded, it accepts no "attribute" element.
class MOX_API xbattributes_writer : public XBObject {
public:
    MOX_XB_DOCUMENT_TYPE()
    /// Fills `item` (as left by the previous call) with item number `index`. An
    /// exception it throws ends the encode and reaches the encoder's caller.
    using Fill = void (*)(const void* context, std::size_t index, xbattribute& item);

    xbattributes_writer(std::size_t count, Fill fill, const void* context) noexcept;
    ~xbattributes_writer() override;
    xbattributes_writer(const xbattributes_writer&) = delete;
    xbattributes_writer& operator=(const xbattributes_writer&) = delete;

    /// The encoder's hooks (see the schema description): the number of items, and item
    /// `index` filled in.
    static std::size_t size(const void* writer) noexcept;
    static const void* at(const void* writer, std::size_t index);

private:
    std::size_t m_count;
    Fill m_fill;
    const void* m_context;
    mutable xbattribute m_item;
};

/// The document element: root "attributes" over an xbattributes (written and read), an
/// xbattributes_reader (read) or an xbattributes_writer (written).
class MOX_API attributes_CC : public DocumentElement {
public:
    explicit attributes_CC(xbattributes& top);
    explicit attributes_CC(xbattributes_reader& top);
    explicit attributes_CC(xbattributes_writer& top);
    ~attributes_CC() override;
};

} // namespace XB
} // namespace MOX
