// SPDX-License-Identifier: MIT
#include "data/attribute/AttributeImpl.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include <mox/rt/Check.h>

namespace MOX {
namespace ATTR {

namespace {

constexpr std::size_t kMaxPacked = std::numeric_limits<std::uint32_t>::max();

// The bytes the values take packed, `spanSize` bytes of span each and then their texts;
// 0 when they do not fit the spans' 32-bit offsets.
std::size_t packedSize(const Vector<std::string>& values, std::size_t spanSize) noexcept
{
    std::size_t bytes = 0;
    for (const std::string& value : values)
        bytes += value.size();
    return values.size() > kMaxPacked || bytes > kMaxPacked ? 0 : values.size() * spanSize + bytes;
}

} // namespace

RT::SmartPointer<IAttribute> AttributeImpl::create(const RT::SmartPointer<IQualifiedName>& name,
                                                   const Vector<std::string>& values)
{
    const std::size_t tail = packedSize(values, sizeof(Span));
    if (tail == 0 && !values.empty()) { // too large to pack: a list of their own
        RT::SmartPointer<AttributeImpl> attribute = RT::makeShared<AttributeImpl>(name);
        attribute->m_list = std::make_unique<Vector<std::string>>(values);
        return attribute;
    }
    return RT::makeSharedWithTail<AttributeImpl>(tail, Key{}, name, values);
}

AttributeImpl::AttributeImpl(const RT::SmartPointer<IQualifiedName>& name) : qualifiedName(name) {}

AttributeImpl::AttributeImpl(Key, const RT::SmartPointer<IQualifiedName>& name, const Vector<std::string>& values)
    : qualifiedName(name), m_packedCount(static_cast<std::uint32_t>(values.size()))
{
    auto* span = reinterpret_cast<Span*>(this + 1);
    char* text = reinterpret_cast<char*>(span + values.size());
    std::uint32_t at = 0;
    for (const std::string& value : values) {
        *span++ = Span{at, static_cast<std::uint32_t>(value.size())};
        std::memcpy(text + at, value.data(), value.size());
        at += static_cast<std::uint32_t>(value.size());
    }
}

// A copy never has the block's packed bytes: its values are a list of their own.
AttributeImpl::AttributeImpl(const AttributeImpl& other)
    : IAttribute(other), qualifiedName(other.qualifiedName),
      m_list(std::make_unique<Vector<std::string>>(other.getValues()))
{
}

AttributeImpl::~AttributeImpl() = default;

std::string_view AttributeImpl::valueAt(std::size_t index) const noexcept
{
    if (m_list)
        return (*m_list)[index];
    const Span span = spans()[index];
    return {reinterpret_cast<const char*>(spans() + m_packedCount) + span.at, span.size};
}

Vector<std::string>& AttributeImpl::list()
{
    if (!m_list) {
        m_list = std::make_unique<Vector<std::string>>(getValues());
        m_packedCount = 0;
    }
    return *m_list;
}

std::size_t AttributeImpl::find(std::string_view value) const noexcept
{
    const std::size_t count = valueCount();
    std::size_t index = 0;
    while (index < count && valueAt(index) != value)
        ++index;
    return index;
}

RT::SmartPointer<IQualifiedName> AttributeImpl::getQualifiedName() const { return qualifiedName; }

std::string AttributeImpl::getName() const { return RT::checkDeref(qualifiedName).getName(); }

std::string AttributeImpl::getFormat() const { return RT::checkDeref(qualifiedName).getFormat(); }

Vector<std::string> AttributeImpl::getValues() const
{
    if (m_list)
        return *m_list;
    Vector<std::string> values;
    values.reserve(m_packedCount);
    for (std::size_t index = 0; index < m_packedCount; ++index)
        values.emplace_back(valueAt(index));
    return values;
}

void AttributeImpl::setValues(const Vector<std::string>& values)
{
    m_list = std::make_unique<Vector<std::string>>(values); // copied first: `values` may be the list itself
    m_packedCount = 0;
}

std::string AttributeImpl::getValue(std::size_t index) const
{
    if (index >= valueCount())
        throw std::out_of_range("MOX::ATTR::AttributeImpl::getValue: index " + std::to_string(index) +
                                " is past the last value");
    return std::string(valueAt(index));
}

std::size_t AttributeImpl::getValueCount() const { return valueCount(); }

void AttributeImpl::addValue(const std::string& value) { list().push_back(value); }

void AttributeImpl::removeValue(const std::string& value)
{
    const std::size_t index = find(value);
    if (index < valueCount()) {
        Vector<std::string>& values = list();
        values.erase(values.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void AttributeImpl::removeAllValues()
{
    if (m_list)
        m_list->clear();
    m_packedCount = 0;
}

bool AttributeImpl::containsValue(const std::string& value) const { return find(value) < valueCount(); }

bool AttributeImpl::matches(const RT::SmartPointer<IAttribute>& other) const
{
    if (other.isNull())
        return true;
    if (qualifiedName.isNull() || !qualifiedName->matches(other->getQualifiedName()))
        return false;
    const Vector<std::string> wanted = other->getValues();
    return std::all_of(wanted.begin(), wanted.end(), [this](const std::string& value) { return containsValue(value); });
}

bool AttributeImpl::hasValues() const { return valueCount() != 0; }

bool AttributeImpl::lessThan(const IAttribute& other) const
{
    // Smart-pointer order: a null or shared qualified name orders neither way.
    const RT::SmartPointer<IQualifiedName> otherName = other.getQualifiedName();
    if (qualifiedName < otherName)
        return true;
    if (otherName < qualifiedName)
        return false;
    const std::size_t count = valueCount();
    const std::size_t otherCount = other.getValueCount();
    if (count != otherCount)
        return count < otherCount;
    // Our own class: compare in place; another implementation: through its copy.
    const auto* same = dynamic_cast<const AttributeImpl*>(&other);
    const Vector<std::string> otherValues = same ? Vector<std::string>() : other.getValues();
    for (std::size_t index = 0; index < count; ++index) {
        const std::string_view mine = valueAt(index);
        const std::string_view theirs = same ? same->valueAt(index) : std::string_view(otherValues[index]);
        if (mine != theirs)
            return mine < theirs;
    }
    return false;
}

std::string AttributeImpl::toString() const { return RT::checkDeref(qualifiedName).toString(); }

Cloneable* AttributeImpl::clone() const { return new AttributeImpl(*this); }

} // namespace ATTR
} // namespace MOX
