# SPDX-License-Identifier: MIT
"""Product, application, class, interface and loader ids."""
from __future__ import annotations

import ctypes
from typing import Any

from . import _native
from ._handle import OrderedObject
from ._native import arg


def _version(number: int) -> int:
    if isinstance(number, bool) or not isinstance(number, int):
        raise TypeError(f"version must be an int, got {type(number).__name__}")
    if not -(2**31) <= number < 2**31:
        raise OverflowError("version does not fit in 32 bits")
    return number


class ProductId(OrderedObject):
    """A product: name, component and version."""

    __slots__ = ()

    def _state(self) -> Any:
        return (ProductId.parse, (self.marshal(),))

    def __init__(self, name: str, component: str, version: str) -> None:
        super().__init__(_native.make("mox_product_id_create", arg(name), arg(component), arg(version)))

    @classmethod
    def parse(cls, xml: str) -> "ProductId":
        """A product id from its "product" element."""
        return cls._adopt(_native.make("mox_product_id_parse", arg(xml)))

    def marshal(self) -> str:
        """The "product" element."""
        return _native.text("mox_product_id_marshal", self._handle)

    def _key(self) -> Any:
        return None  # the order's fields are not all readable here: one hash for all


class ApplicationId(OrderedObject):
    """An application of a product, registered once per (product, name)."""

    __slots__ = ()

    def _state(self) -> Any:
        return (ApplicationId.parse, (self.marshal(),))

    def __init__(self, product: ProductId, name: str) -> None:
        if not isinstance(product, ProductId):
            raise TypeError("ApplicationId(product: ProductId, name: str)")
        super().__init__(_native.make("mox_application_id_create", product.handle, arg(name)))

    @classmethod
    def parse(cls, xml: str) -> "ApplicationId":
        """An application id from its "app-id" element."""
        return cls._adopt(_native.make("mox_application_id_parse", arg(xml)))

    def marshal(self) -> str:
        """The "app-id" element."""
        return _native.text("mox_application_id_marshal", self._handle)

    def _key(self) -> Any:
        return None


class ClassId(OrderedObject):
    """A component class: name, version and optional loader."""

    __slots__ = ()

    def _state(self) -> Any:
        return (ClassId.parse, (self.marshal(),))

    def __init__(self, name: str, version: int = 1) -> None:
        super().__init__(_native.make("mox_class_id_create", arg(name), _version(version)))

    @classmethod
    def parse(cls, text: str) -> "ClassId":
        """A class id from its "class-id" element or its text ("Foo v=3")."""
        return cls._adopt(_native.make("mox_class_id_parse", arg(text)))

    name = _native.text_property("mox_class_id_name", "The class name.")
    loader = _native.text_property("mox_class_id_loader", "The loader name.")
    version = property(lambda self: _native.value("mox_class_id_version", ctypes.c_int, self._handle),
                       doc="The class version.")

    def marshal(self) -> str:
        """The "class-id" element."""
        return _native.text("mox_class_id_marshal", self._handle)


class InterfaceId(OrderedObject):
    """A service interface: name and version."""

    __slots__ = ()

    def _state(self) -> Any:
        return (InterfaceId.parse, (self.marshal(),))

    def __init__(self, name: str, version: int = 1) -> None:
        super().__init__(_native.make("mox_interface_id_create", arg(name), _version(version)))

    @classmethod
    def parse(cls, text: str) -> "InterfaceId":
        """An interface id from its "interface-id" element or "Name::4"."""
        return cls._adopt(_native.make("mox_interface_id_parse", arg(text)))

    name = _native.text_property("mox_interface_id_name", "The name.")
    version = property(lambda self: _native.value("mox_interface_id_version", ctypes.c_int, self._handle),
                       doc="The interface version.")

    def marshal(self) -> str:
        """The "interface-id" element."""
        return _native.text("mox_interface_id_marshal", self._handle)


class LoaderId(OrderedObject):
    """A class loader: its name and the file that holds it."""

    __slots__ = ()

    def _state(self) -> Any:
        return (LoaderId.parse, (self.marshal(),))

    def __init__(self, name: str = "", file: str = "") -> None:
        super().__init__(_native.make("mox_loader_id_create", arg(name), arg(file)))

    @classmethod
    def parse(cls, xml: str) -> "LoaderId":
        """A loader id from its "loader-id" element."""
        return cls._adopt(_native.make("mox_loader_id_parse", arg(xml)))

    name = _native.text_property("mox_loader_id_name", "The loader's name.")
    file = _native.text_property("mox_loader_id_file", "The loader's file.")

    def marshal(self) -> str:
        """The "loader-id" element."""
        return _native.text("mox_loader_id_marshal", self._handle)
