# SPDX-License-Identifier: MIT
"""Qualified names, attributes, attribute lists and variants."""
from __future__ import annotations

import ctypes
import functools
from typing import Any, Dict, Iterable, List, Optional, Union

from . import _native
from ._handle import HandleObject, OrderedObject
from ._native import arg


class QualifiedName(OrderedObject):
    """Which attribute an attribute is: a name, the format of its values and a scope."""

    __slots__ = ()

    def _state(self) -> Any:
        return (QualifiedName.parse, (str(self),))

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


class _AttributeHandle(OrderedObject):
    """The library's copy of an Attribute, made when an operation needs it."""

    __slots__ = ()


@functools.total_ordering
class Attribute:
    """A named, multi-valued property: a qualified name and an ordered list of texts.

    Its texts live here, so reading them costs no call into the library; the library's
    copy (for comparing, writing and the qualified name) is made when first needed and
    released by close(), at the end of a ``with`` block or when the object goes.
    """

    __slots__ = ("_name", "_format", "_scope", "_values", "_held", "__weakref__")

    def __init__(self, name: str, values: Iterable[str] = (), format: str = "", scope: str = "") -> None:
        if isinstance(values, str):
            raise TypeError("values must be an iterable of str, not a str")
        texts = list(values)
        for text in texts:
            arg(text)
        # The library checks the name and gives the format's default.
        held = _AttributeHandle._adopt(_native.make("mox_attribute_create", arg(name), arg(format), arg(scope)))
        self._name, self._format, self._scope = name, _native.text("mox_attribute_format", held.handle), scope
        self._values, self._held = texts, None
        held.close()

    @classmethod
    def _of(cls, name: str, format: str, scope: str, values: List[str]) -> "Attribute":
        """An attribute of texts the library gave."""
        attribute = cls.__new__(cls)
        attribute._name, attribute._format, attribute._scope, attribute._values = name, format, scope, values
        attribute._held = None
        return attribute

    @classmethod
    def parse(cls, text: str) -> "Attribute":
        """The first attribute of "attribute" elements."""
        with _AttributeHandle._adopt(_native.make("mox_attribute_parse", arg(text))) as held:
            handle = held.handle
            return cls._of(_native.text("mox_attribute_name", handle), _native.text("mox_attribute_format", handle),
                           _native.text("mox_attribute_scope", handle), _native.texts("mox_attribute_values", handle))

    @property
    def name(self) -> str:
        """The name."""
        return self._name

    @property
    def format(self) -> str:
        """The format of the values ("String" unless given)."""
        return self._format

    @property
    def scope(self) -> str:
        """The scope ("" for none)."""
        return self._scope

    @property
    def values(self) -> List[str]:
        """A copy of the value texts, in order."""
        return list(self._values)

    @property
    def handle(self) -> int:
        """The handle of the library's copy, made on first use."""
        if self._held is None:
            held = _AttributeHandle._adopt(
                _native.make("mox_attribute_create", arg(self._name), arg(self._format), arg(self._scope)))
            for text in self._values:
                _native.call("mox_attribute_add_value", held.handle, arg(text))
            self._held = held
        return self._held.handle

    @property
    def qualified_name(self) -> QualifiedName:
        """The qualified name."""
        return QualifiedName._adopt(_native.make("mox_attribute_qualified_name", self.handle))

    def add_value(self, text: str) -> None:
        """Appends a value text."""
        arg(text)
        if self._held is not None:
            _native.call("mox_attribute_add_value", self._held.handle, arg(text))
        self._values.append(text)

    def marshal(self) -> str:
        """The attribute's "attribute" element."""
        return _native.text("mox_attribute_marshal", self.handle)

    def close(self) -> None:
        """Releases the library's copy (made again when needed)."""
        held, self._held = self._held, None
        if held is not None:
            held.close()

    def __enter__(self) -> "Attribute":
        return self

    def __exit__(self, *exc: Any) -> None:
        self.close()

    def _order(self, other: "Attribute") -> int:
        return _native.value("mox_compare", ctypes.c_int, self.handle, other.handle)

    def __eq__(self, other: Any) -> bool:
        if not isinstance(other, Attribute):
            return NotImplemented
        return self._order(other) == 0

    def __lt__(self, other: Any) -> bool:
        if not isinstance(other, Attribute):
            return NotImplemented
        return self._order(other) < 0

    def __hash__(self) -> int:
        # Equal attributes share at least their name, whatever else the order compares.
        return hash(("Attribute", self._name))

    def __str__(self) -> str:
        return _native.text("mox_to_string", self.handle) or ""

    def __repr__(self) -> str:
        return f"mox.Attribute({self._name!r}, {self._values!r}, format={self._format!r}, scope={self._scope!r})"

    def __copy__(self) -> "Attribute":
        return Attribute._of(self._name, self._format, self._scope, list(self._values))

    def __deepcopy__(self, memo: Dict[int, Any]) -> "Attribute":
        return self.__copy__()

    def __reduce__(self) -> Any:
        return (Attribute, (self._name, self._values, self._format, self._scope))


def _handle_of(obj: Any) -> int:
    if not isinstance(obj, (HandleObject, Attribute)):
        raise TypeError(f"expected a mox object, got {type(obj).__name__}")
    return obj.handle


def _attributes_of(items: List[str]) -> List[Attribute]:
    """The attributes of a text block laid out by mox_attributes_texts."""
    result: List[Attribute] = []
    index, end, new = 0, len(items), object.__new__
    while index < end:
        first = index + 4
        last = first + int(items[index + 3])
        # Attribute._of inlined: this loop is the cost of reading a document.
        attribute = new(Attribute)
        attribute._name, attribute._format, attribute._scope = items[index], items[index + 1], items[index + 2]
        attribute._values, attribute._held = items[first:last], None
        result.append(attribute)
        index = last
    return result


_read = _native.lib.mox_attributes_read


def parse_attributes(document: str) -> List[Attribute]:
    """The attributes an attributes document holds, in document order (one call into
    the library for the whole document)."""
    return _attributes_of(_native.read_block(_read, arg(document)))


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

    def _state(self) -> Any:
        return (Variant, (self.text, self.tag, self.type))

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
