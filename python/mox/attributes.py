# SPDX-License-Identifier: MIT
"""Qualified names, attributes, attribute lists and variants."""
from __future__ import annotations

import ctypes
from typing import Any, Iterable, List, Optional, Union

from . import _native
from ._handle import HandleObject, OrderedObject
from ._native import arg


class QualifiedName(OrderedObject):
    """Which attribute an attribute is: a name, the format of its values and a scope."""

    __slots__ = ()

    def __init__(self, name: str, format: str = "", scope: str = "") -> None:
        super().__init__(_native.make("mox_qualified_name_create", arg(name), arg(format), arg(scope)))

    @classmethod
    def parse(cls, text: str) -> "QualifiedName":
        """A qualified name from its "attribute-id" element (what str() gives)."""
        return cls._adopt(_native.make("mox_qualified_name_parse", arg(text)))

    name = _native.text_property("mox_qualified_name_name", "The name.")
    format = _native.text_property("mox_qualified_name_format", "The format.")
    scope = _native.text_property("mox_qualified_name_scope", "The scope.")

    def matches(self, pattern: "QualifiedName") -> bool:
        """True when name, format and scope match those of `pattern` ('*' and '?')."""
        return _native.value("mox_qualified_name_matches", ctypes.c_int, self._handle, _handle_of(pattern)) == 1


class Attribute(OrderedObject):
    """A named, multi-valued property: a qualified name and an ordered list of texts."""

    __slots__ = ()

    def __init__(self, name: str, values: Iterable[str] = (), format: str = "", scope: str = "") -> None:
        super().__init__(_native.make("mox_attribute_create", arg(name), arg(format), arg(scope)))
        if isinstance(values, str):
            raise TypeError("values must be an iterable of str, not a str")
        for text in values:
            self.add_value(text)

    @classmethod
    def parse(cls, text: str) -> "Attribute":
        """The first attribute of "attribute" elements."""
        return cls._adopt(_native.make("mox_attribute_parse", arg(text)))

    name = _native.text_property("mox_attribute_name", "The name.")
    format = _native.text_property("mox_attribute_format", "The format.")
    scope = _native.text_property("mox_attribute_scope", "The scope.")

    @property
    def qualified_name(self) -> QualifiedName:
        """The qualified name (shared with the attribute)."""
        return QualifiedName._adopt(_native.make("mox_attribute_qualified_name", self._handle))

    @property
    def values(self) -> List[str]:
        """A copy of the value texts, in order."""
        count = _native.value("mox_attribute_value_count", ctypes.c_size_t, self._handle)
        return [_native.text("mox_attribute_value", self._handle, i) for i in range(count)]

    def add_value(self, text: str) -> None:
        """Appends a value text."""
        _native.call("mox_attribute_add_value", self._handle, arg(text))

    def marshal(self) -> str:
        """The attribute's "attribute" element."""
        return _native.text("mox_attribute_marshal", self._handle)

    def __repr__(self) -> str:
        if not self._handle:
            return super().__repr__()
        return f"Attribute({self.name!r}, {self.values!r}, format={self.format!r}, scope={self.scope!r})"


def _handle_of(obj: Any) -> int:
    if not isinstance(obj, HandleObject):
        raise TypeError(f"expected a mox object, got {type(obj).__name__}")
    return obj.handle


def parse_attributes(document: str) -> List[Attribute]:
    """The attributes an attributes document holds, in document order."""
    handle = _native.make("mox_attributes_parse", arg(document))
    try:
        count = _native.value("mox_attributes_count", ctypes.c_size_t, handle)
        return [Attribute._adopt(_native.make("mox_attributes_get", handle, i)) for i in range(count)]
    finally:
        _native.close(handle)


def marshal_attributes(attributes: Iterable[Attribute]) -> str:
    """The attributes document of a list of attributes."""
    handle = _native.make("mox_attributes_create")
    try:
        for attribute in attributes:
            if not isinstance(attribute, Attribute):
                raise TypeError(f"expected Attribute, got {type(attribute).__name__}")
            _native.call("mox_attributes_add", handle, attribute.handle)
        return _native.text("mox_attributes_marshal", handle)
    finally:
        _native.close(handle)


class Variant(OrderedObject):
    """A small typed value held as text: a kind ("String", "Int64", "Double", ...), the
    value text and a tag. Built from a str, int or float."""

    __slots__ = ()

    def __init__(self, value: Union[str, int, float], tag: str = "", type: Optional[str] = None) -> None:
        """A variant of `value`; with `type`, a variant of that kind holding str(value)."""
        if type is not None:
            handle = _native.make("mox_variant_create", arg(type), arg(str(value)), arg(tag))
        elif isinstance(value, bool) or not isinstance(value, (str, int, float)):
            raise TypeError(f"expected str, int or float, got {value.__class__.__name__}")
        elif isinstance(value, str):
            handle = _native.make("mox_variant_create_string", arg(value), arg(tag))
        elif isinstance(value, int):
            if not -(2**63) <= value < 2**63:
                raise OverflowError("integer does not fit in 64 bits")
            handle = _native.make("mox_variant_create_int64", value, arg(tag))
        else:
            handle = _native.make("mox_variant_create_double", value, arg(tag))
        super().__init__(handle)

    type = _native.text_property("mox_variant_type", "The kind name.")
    text = _native.text_property("mox_variant_value", "The value text.")
    tag = _native.text_property("mox_variant_tag", "The tag.")

    @property
    def value(self) -> Union[str, int, float]:
        """The value as int (integer kinds), float (Float, Double) or str (others)."""
        kind = self.type
        if kind in ("Integer", "Long", "Int64"):
            return _native.value("mox_variant_as_int64", ctypes.c_longlong, self._handle)
        if kind in ("Float", "Double"):
            return _native.value("mox_variant_as_double", ctypes.c_double, self._handle)
        return self.text

    def _key(self) -> Any:
        return (self.tag, self.type, self.text)
