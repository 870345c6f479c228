# SPDX-License-Identifier: MIT
"""The properties document: names and value texts under a root element."""
from __future__ import annotations

from collections.abc import Mapping
from typing import Dict

from . import _native
from ._native import arg


def parse_properties(document: str, root: str = "") -> Dict[str, str]:
    """The properties of a document, in document order; with `root`, the root element
    must have that name."""
    handle = _native.make("mox_properties_parse", arg(document), arg(root))
    try:
        items = _native.texts("mox_properties_items", handle)
    finally:
        _native.close(handle)
    return dict(zip(items[::2], items[1::2]))


def marshal_properties(properties: Mapping[str, str], root: str) -> str:
    """The properties document of a mapping of texts under the root element `root`."""
    if not isinstance(properties, Mapping):
        raise TypeError(f"expected a mapping of str to str, got {type(properties).__name__}")
    handle = _native.make("mox_properties_create")
    try:
        for name, value in properties.items():
            _native.call("mox_properties_set", handle, arg(name), arg(value))
        return _native.text("mox_properties_marshal", handle, arg(root))
    finally:
        _native.close(handle)
