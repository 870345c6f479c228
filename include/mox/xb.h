// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Public headers of this area: the XML codec layer and the schema-bound documents.
#include <mox/rt.h>

#include <mox/xb/CodecBuffer.h>
#include <mox/xb/DecodeBuffer.h>
#include <mox/xb/DocumentElement.h>
#include <mox/xb/EncodeBuffer.h>
#include <mox/xb/ErrorRecord.h>
#include <mox/xb/XBChoice.h>
#include <mox/xb/XBObject.h>
#include <mox/xb/XBinderManager.h>

#include <mox/xb/IdentitySchema.h>
#include <mox/xb/ClassSchema.h>
#include <mox/xb/ClassIdConverter.h>

#include <mox/xb/AttributesSchema.h>
#include <mox/xb/PropertiesSchema.h>
#include <mox/xb/AttributeConverter.h>
#include <mox/xb/PropertiesDocument.h>
#include <mox/xb/IdentityConverter.h>
