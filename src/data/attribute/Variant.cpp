// SPDX-License-Identifier: MIT
// The variant interface's key function and the variant factories.
#include <mox/attr/IVariant.h>
#include <mox/rt/Check.h>

#include "data/attribute/VariantImpl.h"

namespace MOX {

using ATTR::IVariant;
using ATTR::VariantImpl;
using RT::SmartPointer;

ATTR::IVariant::~IVariant() = default;

namespace {

// Tag first, then the typed setter, as every numeric factory does.
template <class Number>
SmartPointer<IVariant> makeVariant(const Number& value, const std::string& tag)
{
    const SmartPointer<IVariant> variant = RT::makeShared<VariantImpl>();
    variant->setTag(tag);
    variant->setValue(value);
    return variant;
}

} // namespace

SmartPointer<IVariant> createVariant(const std::string& value, const std::string& tag)
{
    const SmartPointer<IVariant> variant = RT::makeShared<VariantImpl>();
    variant->setTag(tag);
    variant->setValue(value, VariantImpl::STRING);
    return variant;
}

SmartPointer<IVariant> createVariant(const int& value, const std::string& tag) { return makeVariant(value, tag); }

SmartPointer<IVariant> createVariant(const double& value, const std::string& tag) { return makeVariant(value, tag); }

SmartPointer<IVariant> createVariant(const float& value, const std::string& tag) { return makeVariant(value, tag); }

SmartPointer<IVariant> createVariant(const long& value, const std::string& tag) { return makeVariant(value, tag); }

SmartPointer<IVariant> createVariant(const Int64& value, const std::string& tag) { return makeVariant(value, tag); }

void cloneVariants(const ATTR::VariantSet& source, ATTR::VariantSet& target)
{
    if (&source == &target) {
        const ATTR::VariantSet originals(source); // emptying the target must not lose them
        cloneVariants(originals, target);
        return;
    }
    target.clear();
    for (const SmartPointer<IVariant>& element : source)
        target.insert(SmartPointer<IVariant>(RT::checkDeref(element).clone()));
}

} // namespace MOX
