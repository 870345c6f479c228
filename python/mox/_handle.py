# SPDX-License-Identifier: MIT
"""The base of every class whose object lives in the library behind a handle."""
from __future__ import annotations

import ctypes
from typing import Any, Callable, Dict, Tuple, Type, TypeVar

from . import _native

_T = TypeVar("_T", bound="HandleObject")


class HandleObject:
    """Owns one library handle: closed by close(), at the end of a ``with`` block, or
    when the object is collected. A closed object raises InvalidHandleError when used."""

    __slots__ = ("_handle", "__weakref__")

    def __init__(self, handle: int) -> None:
        self._handle = handle

    @classmethod
    def _adopt(cls: Type[_T], handle: int) -> _T:
        """An object of this class taking over a handle the library just gave."""
        obj = cls.__new__(cls)
        HandleObject.__init__(obj, handle)
        return obj

    @property
    def handle(self) -> int:
        """The handle number (0 once closed)."""
        return self._handle

    def close(self) -> None:
        """Releases the handle; later calls do nothing."""
        handle, self._handle = self._handle, 0
        if handle:
            _native.close(handle)

    def __del__(self) -> None:
        try:
            self.close()
        except Exception:  # the interpreter may be shutting down
            pass

    def __enter__(self: _T) -> _T:
        return self

    def __exit__(self, *exc: Any) -> None:
        self.close()

    def __str__(self) -> str:
        return _native.text("mox_to_string", self.handle) or ""

    def __repr__(self) -> str:
        shown = repr(str(self)) if self._handle else "closed"
        return f"<mox.{type(self).__name__} {shown}>"

    def _state(self) -> Tuple[Callable[..., Any], Tuple[Any, ...]]:
        """How to make an independent equal object from texts: a callable and its arguments."""
        raise TypeError(f"mox.{type(self).__name__} objects cannot be copied or pickled")

    def __copy__(self: _T) -> _T:
        """An independent equal object under a new handle of its own."""
        make, args = self._state()
        return make(*args)

    def __deepcopy__(self: _T, memo: Dict[int, Any]) -> _T:
        return self.__copy__()

    def __reduce__(self) -> Tuple[Callable[..., Any], Tuple[Any, ...]]:
        """Pickles through the object's text form: unpickling makes a new handle."""
        return self._state()


class OrderedObject(HandleObject):
    """A handle object of a family the library orders: ==, < and friends follow the
    library's order; equal objects have equal hashes (see _key)."""

    __slots__ = ()

    def _order(self, other: Any) -> Any:
        if not isinstance(other, OrderedObject):
            return NotImplemented
        return _native.value("mox_compare", ctypes.c_int, self.handle, other.handle)

    def _key(self) -> Any:
        """What equal objects share; hash() is its hash."""
        return str(self)

    def __eq__(self, other: Any) -> bool:
        if not isinstance(other, type(self)) and not isinstance(self, type(other)):
            return NotImplemented
        return self._order(other) == 0

    def __ne__(self, other: Any) -> bool:
        result = self.__eq__(other)
        return result if result is NotImplemented else not result

    def __lt__(self, other: Any) -> bool:
        order = self._order(other)
        return order if order is NotImplemented else order < 0

    def __le__(self, other: Any) -> bool:
        order = self._order(other)
        return order if order is NotImplemented else order <= 0

    def __gt__(self, other: Any) -> bool:
        order = self._order(other)
        return order if order is NotImplemented else order > 0

    def __ge__(self, other: Any) -> bool:
        order = self._order(other)
        return order if order is NotImplemented else order >= 0

    def __hash__(self) -> int:
        return hash((type(self).__name__, self._key()))
