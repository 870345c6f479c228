# SPDX-License-Identifier: MIT
"""The properties document: names and value texts under a root element."""
from __future__ import annotations

import ctypes
from typing import Dict, Mapping

from . import _native
from ._native import arg


def parse_properties(document: str, root: str = "") -> Dict[str, str]:
    """The properties of a document, in document order; with `root`, the root element
    must have that name."""
    handle = _native.make("mox_properties_parse", arg(document), arg(root))
    try:
        count = _native.value("mox_properties_count", ctypes.c_size_t, handle)
        names = [_native.text("mox_properties_name", handle, i) for i in range(count)]
        return {name: _native.text("mox_properties_get", handle, arg(name)) for name in names}
    finally:
        _native.close(handle)


def marshal_properties(properties: Mapping[str, str], root: str) -> str:
    """The properties document of a mapping of texts under the root element `root`."""
    handle = _native.make("mox_properties_create")
    try:
        for name, value in properties.items():
            _native.call("mox_properties_set", handle, arg(name), arg(value))
        return _native.text("mox_properties_marshal", handle, arg(root))
    finally:
        _native.close(handle)
