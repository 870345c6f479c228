// The attributes document element, and the reader that hands over each "attribute" as
// soon as it is decoded. The reader is described like xbattributes (same element and
// type names, so the same errors), except that its one child slot is reused.
#include <mox/xb/AttributesSchema.h>
#include <mox/xb/XBType.h>

namespace MOX {
namespace XB {

namespace {

// The description of xbattributes_reader: the codec's builder has no reused child slot,
// so this type states its one child binding itself.
class ReaderType : public XBType {
public:
    ReaderType() : XBType(Kind::Sequence, "xbattributes")
    {
        setCasts([](XBObject* object) -> void* { return static_cast<xbattributes_reader*>(object); }, nullptr);
        Child child;
        child.name = "attribute";
        child.kind = ChildKind::List;
        child.typeOf = &xbattribute::schema;
        child.append = &xbattributes_reader::next;
        child.count = [](const void*) -> std::size_t { return 0; }; // nothing to write
        child.at = [](const void*, std::size_t) -> const void* { return nullptr; };
        addChild(std::move(child));
    }
};

} // namespace

const XBType& xbattributes_reader::schema()
{
    static const ReaderType type;
    return type;
}

xbattributes_reader::xbattributes_reader(Sink sink, void* context) noexcept : m_sink(sink), m_context(context) {}

xbattributes_reader::~xbattributes_reader() = default;

void* xbattributes_reader::next(void* reader) noexcept
{
    auto& self = *static_cast<xbattributes_reader*>(reader);
    self.finish();
    self.m_item.name.clear();
    self.m_item.type.reset();
    self.m_item.scope.reset();
    self.m_item.value_list.clear();
    self.m_pending = true;
    return &self.m_item;
}

void xbattributes_reader::finish() noexcept
{
    if (!m_pending)
        return;
    m_pending = false;
    ++m_count;
    m_sink(m_context, m_item);
}

attributes_CC::attributes_CC(xbattributes& top) : DocumentElement("attributes", top) {}

attributes_CC::attributes_CC(xbattributes_reader& top) : DocumentElement("attributes", top) {}

attributes_CC::attributes_CC(xbattributes_writer& top) : DocumentElement("attributes", top) {}

attributes_CC::~attributes_CC() = default;

} // namespace XB
} // namespace MOX
