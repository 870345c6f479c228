// SPDX-License-Identifier: MIT
#include "data/attribute/AttributeImpl.h"

#include <algorithm>

#include <mox/rt/Check.h>

namespace MOX {
namespace ATTR {

AttributeImpl::AttributeImpl(const RT::SmartPointer<IQualifiedName>& name) : qualifiedName(name) {}

AttributeImpl::AttributeImpl(const RT::SmartPointer<IQualifiedName>& name, Vector<std::string>&& values)
    : qualifiedName(name), valueList(std::move(values))
{
}

AttributeImpl::~AttributeImpl() = default;

RT::SmartPointer<IQualifiedName> AttributeImpl::getQualifiedName() const { return qualifiedName; }

std::string AttributeImpl::getName() const { return RT::checkDeref(qualifiedName).getName(); }

std::string AttributeImpl::getFormat() const { return RT::checkDeref(qualifiedName).getFormat(); }

Vector<std::string> AttributeImpl::getValues() const { return valueList; }

void AttributeImpl::setValues(const Vector<std::string>& values)
{
    if (&values != &valueList)
        valueList = values;
}

std::string AttributeImpl::getValue(std::size_t index) const { return valueList.at(index); }

std::size_t AttributeImpl::getValueCount() const { return valueList.size(); }

void AttributeImpl::addValue(const std::string& value) { valueList.push_back(value); }

void AttributeImpl::removeValue(const std::string& value)
{
    const auto found = std::find(valueList.begin(), valueList.end(), value);
    if (found != valueList.end())
        valueList.erase(found);
}

void AttributeImpl::removeAllValues() { valueList.clear(); }

bool AttributeImpl::containsValue(const std::string& value) const
{
    return std::find(valueList.begin(), valueList.end(), value) != valueList.end();
}

bool AttributeImpl::matches(const RT::SmartPointer<IAttribute>& other) const
{
    if (other.isNull())
        return true;
    if (qualifiedName.isNull() || !qualifiedName->matches(other->getQualifiedName()))
        return false;
    const Vector<std::string> wanted = other->getValues();
    return std::all_of(wanted.begin(), wanted.end(), [this](const std::string& value) { return containsValue(value); });
}

bool AttributeImpl::hasValues() const { return !valueList.empty(); }

bool AttributeImpl::lessThan(const IAttribute& other) const
{
    // Smart-pointer order: a null or shared qualified name orders neither way.
    const RT::SmartPointer<IQualifiedName> otherName = other.getQualifiedName();
    if (qualifiedName < otherName)
        return true;
    if (otherName < qualifiedName)
        return false;
    const std::size_t otherCount = other.getValueCount();
    if (valueList.size() != otherCount)
        return valueList.size() < otherCount;
    // Our own class: compare in place; another implementation: through its copy.
    if (const auto* same = dynamic_cast<const AttributeImpl*>(&other))
        return std::lexicographical_compare(valueList.begin(), valueList.end(), same->valueList.begin(),
                                            same->valueList.end());
    const Vector<std::string> otherValues = other.getValues();
    return std::lexicographical_compare(valueList.begin(), valueList.end(), otherValues.begin(), otherValues.end());
}

std::string AttributeImpl::toString() const { return RT::checkDeref(qualifiedName).toString(); }

Cloneable* AttributeImpl::clone() const { return new AttributeImpl(*this); }

} // namespace ATTR
} // namespace MOX
