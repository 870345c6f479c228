// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Public headers of this area: variants, qualified names, attributes and attribute lists.
#include <mox/rt.h>

#include <mox/attr/IVariant.h>
#include <mox/attr/IQualifiedName.h>
#include <mox/attr/IAttribute.h>
#include <mox/attr/Attributes.h>
