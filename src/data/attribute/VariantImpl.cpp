// SPDX-License-Identifier: MIT
#include "data/attribute/VariantImpl.h"
#include <mox/rt/Raise.h>

#include <cstdint>
#include <limits>

#include <mox/rt/Exceptions.h>
#include <mox/rt/StringUtils.h>

MOX_SOURCE_FILE("data/attribute/VariantImpl")

namespace MOX {
namespace ATTR {

using EXCEPTIONS::ErrorCode;
using EXCEPTIONS::InvalidArgumentException;
using RT::StringUtils;

const char* const VariantImpl::STRING = "String";
const char* const VariantImpl::INTEGER = "Integer";
const char* const VariantImpl::LONG = "Long";
const char* const VariantImpl::INT64 = "Int64";
const char* const VariantImpl::FLOAT = "Float";
const char* const VariantImpl::DOUBLE = "Double";

VariantImpl::VariantImpl() : type(STRING) {}

VariantImpl::~VariantImpl() = default;

std::string VariantImpl::toString() const { return value; }

const std::string& VariantImpl::getTag() const { return tag; }

void VariantImpl::setTag(const std::string& newTag) { tag = newTag; }

const std::string& VariantImpl::getType() const { return type; }

bool VariantImpl::isType(const std::string& name) const { return type == name; }

const std::string& VariantImpl::getValue() const { return value; }

void VariantImpl::setValue(const std::string& valueText, const std::string& typeName)
{
    value = valueText;
    type = typeName;
}

// The typed setters go through the virtual two-text form on purpose (see IVariant).
void VariantImpl::setValue(int number) { setValue(StringUtils::ToString(number), INTEGER); }

// A "Long" is 32 bits wide wherever it is read; a wider long (LP64, where std::int64_t is
// long) would be written as a "Long" that a peer cannot read back, so it becomes an "Int64".
void VariantImpl::setValue(long number)
{
    if (number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max())
        setValue(static_cast<Int64>(number));
    else
        setValue(StringUtils::ToString(number), LONG);
}

void VariantImpl::setValue(Int64 number) { setValue(StringUtils::ToString(number), INT64); }

void VariantImpl::setValue(float number) { setValue(StringUtils::ToString(number), FLOAT); }

void VariantImpl::setValue(double number) { setValue(StringUtils::ToString(number), DOUBLE); }

void VariantImpl::requireType(const char* kind, const char* function) const
{
    if (!isType(kind))
        EXCEPTIONS::raise(EXCEPTIONS::ErrorCode::NotAnInteger, MOX_SITE(function));
}

int VariantImpl::asInteger() const
{
    requireType(INTEGER, "MOX::ATTR::VariantImpl::asInteger");
    return StringUtils::AsInteger(value);
}

long VariantImpl::asLong() const
{
    requireType(LONG, "MOX::ATTR::VariantImpl::asLong");
    return StringUtils::AsLong(value);
}

Int64 VariantImpl::asInt64() const
{
    requireType(INT64, "MOX::ATTR::VariantImpl::asInt64");
    return StringUtils::AsInt64(value);
}

float VariantImpl::asFloat() const
{
    requireType(FLOAT, "MOX::ATTR::VariantImpl::asFloat");
    return StringUtils::AsFloat(value);
}

double VariantImpl::asDouble() const
{
    requireType(DOUBLE, "MOX::ATTR::VariantImpl::asDouble");
    return StringUtils::AsDouble(value);
}

bool VariantImpl::lessThan(const IVariant& other) const
{
    if (tag != other.getTag())
        return tag < other.getTag();
    if (type == other.getType())
        return value < other.getValue();
    return type < other.getType();
}

IVariant* VariantImpl::clone() const { return new VariantImpl(*this); }

} // namespace ATTR
} // namespace MOX
