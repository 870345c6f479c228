// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// Principals: accounts, authorities, identities and identity formats.
#include <mox/rt.h>

#include <mox/authn/IAccountId.h>
#include <mox/authn/IAuthorityId.h>
#include <mox/authn/IIdentity.h>
#include <mox/authn/IdentityFormats.h>
#include <mox/authn/IdentityDocuments.h>
