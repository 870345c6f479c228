# SPDX-License-Identifier: MIT
"""The exceptions a failed library call raises: one class per library exception class."""
from __future__ import annotations

from typing import Dict, Type


class MoxError(Exception):
    """A failed call into the library.

    Attributes: ``code`` (the negative MOX code), ``name`` (the library's exception class
    name), ``message`` (the code's message), ``detail`` (what the failing operation
    added, may be empty) and ``function`` (the binding function that failed).
    """

    def __init__(self, code: int, name: str, message: str, detail: str = "", function: str = "") -> None:
        text = f"{name} {code}: {message}" + (f": {detail}" if detail else "")
        super().__init__(text)
        self.code = code
        self.name = name
        self.message = message
        self.detail = detail
        self.function = function


class InvalidArgumentError(MoxError, ValueError):
    """The arguments were invalid (InvalidArgumentException); also a ValueError."""


class NullPointerError(InvalidArgumentError):
    """A value was required where None was given (NullPointerException)."""


class ClassCastError(MoxError, TypeError):
    """An object of another kind was given (ClassCastException); also a TypeError."""


class InvalidHandleError(MoxError):
    """The object's handle is closed (InvalidHandleException)."""


class SerializationError(MoxError):
    """A document could not be read or written (SerializationException)."""


class UnexpectedError(MoxError):
    """Any other failure inside the library (UnexpectedException)."""


class MoxSystemError(MoxError):
    """A failure of the system under the library (SystemException)."""


class BadAllocError(MoxError, MemoryError):
    """The library ran out of memory or handle numbers (BadAllocException)."""


class ObjectAlreadyExistsError(MoxError):
    """An object of that name exists already (ObjectAlreadyExistsException)."""


_BY_NAME: Dict[str, Type[MoxError]] = {
    "InvalidArgumentException": InvalidArgumentError,
    "NullPointerException": NullPointerError,
    "ClassCastException": ClassCastError,
    "InvalidHandleException": InvalidHandleError,
    "SerializationException": SerializationError,
    "UnexpectedException": UnexpectedError,
    "SystemException": MoxSystemError,
    "BadAllocException": BadAllocError,
    "ObjectAlreadyExistsException": ObjectAlreadyExistsError,
}


def error_class(name: str) -> Type[MoxError]:
    """The Python class of a library exception class name (MoxError when unknown)."""
    return _BY_NAME.get(name, MoxError)
