# SPDX-License-Identifier: MIT
"""The MOX core data library from Python.

Objects live in the library (libmox-c.so.2) and are reached through handles that the
classes here own: an object releases its handle when it is collected, at the end of a
``with`` block, or on close(). A failed call raises a MoxError subclass that mirrors the
library's exception class; invalid arguments are also ValueError.

    >>> import mox
    >>> alice = mox.Identity.parse("NT:CORP/alice")
    >>> alice.convert("EMAIL").value
    'alice@CORP'
"""
from __future__ import annotations

import ctypes

from . import _native
from .attributes import Attribute, QualifiedName, Variant, marshal_attributes, parse_attributes
from .errors import (BadAllocError, ClassCastError, InvalidArgumentError, InvalidHandleError, MoxError,
                     MoxSystemError, NullPointerError, ObjectAlreadyExistsError, SerializationError,
                     UnexpectedError)
from .identities import Account, Authority, Identity, IdentitySet, marshal_identities, parse_identities
from .ids import ApplicationId, ClassId, InterfaceId, LoaderId, ProductId
from .properties import marshal_properties, parse_properties
from .times import DateTime

#: The library's version ("2.1.0.0").
__version__: str = _native.lib.mox_version().decode("ascii")


def open_handle_count() -> int:
    """The number of handles open in the process (all threads, all callers)."""
    return _native.value("mox_open_handle_count", ctypes.c_uint)


__all__ = [
    "Account", "ApplicationId", "Attribute", "Authority", "BadAllocError", "ClassCastError", "ClassId",
    "DateTime", "Identity", "IdentitySet", "InterfaceId", "InvalidArgumentError", "InvalidHandleError",
    "LoaderId", "MoxError", "MoxSystemError", "NullPointerError", "ObjectAlreadyExistsError", "ProductId",
    "QualifiedName", "SerializationError", "UnexpectedError", "Variant", "marshal_attributes",
    "marshal_identities", "marshal_properties", "open_handle_count", "parse_attributes", "parse_identities",
    "parse_properties",
]
