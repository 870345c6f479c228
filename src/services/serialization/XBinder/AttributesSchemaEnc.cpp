// The attributes schema, described as data for the codec's generic writer and handlers,
// and the writer that fills each "attribute" just before it is written. The writer is
// described like xbattributes (same element and type names), except that its one child
// slot is filled on demand.
#include <mox/xb/AttributesSchema.h>
#include <mox/xb/XBType.h>

namespace MOX {
namespace XB {

const XBType& xbqualified_name::schema()
{
    static const XBType type = XBTypeBuilder<xbqualified_name>::sequence("xbqualified_name")
                                   .attribute<&xbqualified_name::name>("name")
                                   .attribute<&xbqualified_name::type>("type", Use::Optional)
                                   .attribute<&xbqualified_name::scope>("scope", Use::Optional);
    return type;
}

const XBType& xbattribute::schema()
{
    static const XBType type = XBTypeBuilder<xbattribute>::sequence("xbattribute")
                                   .attribute<&xbattribute::name>("name")
                                   .attribute<&xbattribute::type>("type", Use::Optional)
                                   .attribute<&xbattribute::scope>("scope", Use::Optional)
                                   .list<&xbattribute::value_list>("value", "xbattribute_value");
    return type;
}

const XBType& xbattributes::schema()
{
    static const XBType type =
        XBTypeBuilder<xbattributes>::sequence("xbattributes").list<&xbattributes::list>("attribute");
    return type;
}

namespace {

// The description of xbattributes_writer: the codec's builder has no on-demand child, so
// this type states its one child binding itself.
class WriterType : public XBType {
public:
    WriterType() : XBType(Kind::Sequence, "xbattributes")
    {
        setCasts([](XBObject* object) -> void* { return static_cast<xbattributes_writer*>(object); }, nullptr);
        Child child;
        child.name = "attribute";
        child.kind = ChildKind::List;
        child.typeOf = &xbattribute::schema;
        child.append = [](void*) -> void* { return nullptr; }; // nothing is read into it
        child.count = &xbattributes_writer::size;
        child.at = &xbattributes_writer::at;
        addChild(std::move(child));
    }
};

} // namespace

const XBType& xbattributes_writer::schema()
{
    static const WriterType type;
    return type;
}

xbattributes_writer::xbattributes_writer(std::size_t count, Fill fill, const void* context) noexcept
    : m_count(count), m_fill(fill), m_context(context)
{
}

xbattributes_writer::~xbattributes_writer() = default;

std::size_t xbattributes_writer::size(const void* writer) noexcept
{
    return static_cast<const xbattributes_writer*>(writer)->m_count;
}

const void* xbattributes_writer::at(const void* writer, std::size_t index)
{
    const auto& self = *static_cast<const xbattributes_writer*>(writer);
    self.m_fill(self.m_context, index, self.m_item);
    return &self.m_item;
}

} // namespace XB
} // namespace MOX
