# SPDX-License-Identifier: MIT
"""The C library behind the package: loading, function signatures and call helpers."""
from __future__ import annotations

import ctypes
import os
from typing import Any, Optional

from .errors import error_class

_int_p = ctypes.POINTER(ctypes.c_int)
_text_p = ctypes.POINTER(ctypes.c_void_p)
_size_p = ctypes.POINTER(ctypes.c_size_t)
_h = ctypes.c_int
_s = ctypes.c_char_p
_z = ctypes.c_size_t


class _ErrorRecord(ctypes.Structure):
    _fields_ = [("code", ctypes.c_int), ("name", _s), ("message", _s), ("detail", _s), ("function", _s)]


# Argument types of every function used; all return an int code unless listed below.
_SIGNATURES = {
    "mox_close_handle": [_h],
    "mox_open_handle_count": [ctypes.POINTER(ctypes.c_uint)],
    "mox_to_string": [_h, _text_p],
    "mox_handle_class": [_h, _text_p],
    "mox_compare": [_h, _h, _int_p],
    "mox_product_id_create": [_s, _s, _s, _int_p],
    "mox_product_id_parse": [_s, _int_p],
    "mox_product_id_marshal": [_h, _text_p],
    "mox_application_id_create": [_h, _s, _int_p],
    "mox_application_id_parse": [_s, _int_p],
    "mox_application_id_marshal": [_h, _text_p],
    "mox_identity_create_user": [_s, _s, _int_p],
    "mox_identity_create_group": [_s, _s, _int_p],
    "mox_identity_create": [_h, _h, _int_p],
    "mox_identity_parse": [_s, _int_p],
    "mox_identity_marshal": [_h, _text_p],
    "mox_identity_convert": [_h, _s, _int_p],
    "mox_identity_equal": [_h, _h, _int_p],
    "mox_identities_create": [_int_p],
    "mox_identities_parse": [_s, _int_p],
    "mox_identities_add": [_h, _h],
    "mox_identities_count": [_h, _size_p],
    "mox_identities_get": [_h, _z, _int_p],
    "mox_identities_contains": [_h, _h, _int_p],
    "mox_identities_marshal": [_h, _text_p],
    "mox_account_create": [_s, _s, _int_p],
    "mox_account_parse": [_s, _int_p],
    "mox_authority_create": [_s, _s, _int_p],
    "mox_authority_parse": [_s, _int_p],
    "mox_variant_create_string": [_s, _s, _int_p],
    "mox_variant_create_int64": [ctypes.c_longlong, _s, _int_p],
    "mox_variant_create_double": [ctypes.c_double, _s, _int_p],
    "mox_variant_create": [_s, _s, _s, _int_p],
    "mox_variant_as_int64": [_h, ctypes.POINTER(ctypes.c_longlong)],
    "mox_variant_as_double": [_h, ctypes.POINTER(ctypes.c_double)],
    "mox_qualified_name_create": [_s, _s, _s, _int_p],
    "mox_qualified_name_parse": [_s, _int_p],
    "mox_qualified_name_matches": [_h, _h, _int_p],
    "mox_attribute_create": [_s, _s, _s, _int_p],
    "mox_attribute_parse": [_s, _int_p],
    "mox_attribute_add_value": [_h, _s],
    "mox_attribute_qualified_name": [_h, _int_p],
    "mox_attribute_value_count": [_h, _size_p],
    "mox_attribute_value": [_h, _z, _text_p],
    "mox_attributes_create": [_int_p],
    "mox_attributes_parse": [_s, _int_p],
    "mox_attributes_marshal": [_h, _text_p],
    "mox_attributes_count": [_h, _size_p],
    "mox_attributes_add": [_h, _h],
    "mox_attributes_get": [_h, _z, _int_p],
    "mox_attributes_find": [_h, _s, _int_p],
    "mox_properties_create": [_int_p],
    "mox_properties_parse": [_s, _s, _int_p],
    "mox_properties_set": [_h, _s, _s],
    "mox_properties_get": [_h, _s, _text_p],
    "mox_properties_count": [_h, _size_p],
    "mox_properties_name": [_h, _z, _text_p],
    "mox_properties_marshal": [_h, _s, _text_p],
    "mox_class_id_create": [_s, ctypes.c_int, _int_p],
    "mox_class_id_parse": [_s, _int_p],
    "mox_class_id_version": [_h, _int_p],
    "mox_interface_id_create": [_s, ctypes.c_int, _int_p],
    "mox_interface_id_parse": [_s, _int_p],
    "mox_interface_id_version": [_h, _int_p],
    "mox_loader_id_create": [_s, _s, _int_p],
    "mox_loader_id_parse": [_s, _int_p],
    "mox_datetime_create": [ctypes.c_longlong, _int_p],
    "mox_datetime_now": [_int_p],
    "mox_datetime_parse": [_s, _int_p],
    "mox_datetime_micros": [_h, ctypes.POINTER(ctypes.c_longlong)],
    "mox_datetime_format": [_h, ctypes.c_int, _text_p],
}

# Functions of the form (handle, char** out) that read one text.
_TEXT_READERS = (
    "identity_format identity_value identity_type identity_name identity_authority_name "
    "identity_authority_format account_name account_type authority_format authority_name variant_type "
    "variant_value variant_tag qualified_name_name qualified_name_format qualified_name_scope attribute_name "
    "attribute_format attribute_scope attribute_marshal class_id_name class_id_loader class_id_marshal "
    "interface_id_name interface_id_marshal loader_id_name loader_id_file loader_id_marshal"
).split()


def _candidates():
    """Where the library may be: the path the build or install recorded, then the system."""
    here = os.path.dirname(os.path.abspath(__file__))
    try:
        from ._location import LIBRARY
        yield os.path.normpath(os.path.join(here, LIBRARY))
    except ImportError:
        pass
    yield "libmox-c.so.2"


def _load() -> ctypes.CDLL:
    failures = []
    for path in _candidates():
        try:
            lib = ctypes.CDLL(path)
            break
        except OSError as e:
            failures.append(str(e))
    else:
        raise ImportError("libmox-c.so.2 not found: " + "; ".join(failures))
    for name, argtypes in _SIGNATURES.items():
        function = getattr(lib, name)
        function.argtypes = argtypes
        function.restype = ctypes.c_int
    for short in _TEXT_READERS:
        function = getattr(lib, "mox_" + short)
        function.argtypes = [_h, _text_p]
        function.restype = ctypes.c_int
    lib.mox_free.argtypes = [ctypes.c_void_p]
    lib.mox_free.restype = None
    lib.mox_version.argtypes = []
    lib.mox_version.restype = _s
    lib.mox_error_last.argtypes = []
    lib.mox_error_last.restype = ctypes.POINTER(_ErrorRecord)
    lib.mox_error_clear.argtypes = []
    lib.mox_error_clear.restype = None
    return lib


lib = _load()


def _decode(raw: Optional[bytes]) -> str:
    return raw.decode("utf-8", "replace") if raw else ""


def raise_last(rc: int) -> None:
    """Raises the calling thread's last error (recorded by the call that returned `rc`)."""
    record = lib.mox_error_last().contents
    code = record.code if record.code else rc
    name = _decode(record.name)
    raise error_class(name)(code, name, _decode(record.message), _decode(record.detail), _decode(record.function))


def arg(value: Any) -> Optional[bytes]:
    """A text argument as the library takes it: None stays NULL (the library refuses it
    where a value is needed); anything but a str is a TypeError."""
    if value is None:
        return None
    if not isinstance(value, str):
        raise TypeError(f"expected str, got {type(value).__name__}")
    if "\0" in value:
        raise ValueError("text holds a NUL character")
    return value.encode("utf-8")


def call(name: str, *args: Any) -> None:
    """Calls `name`; a failure raises its MoxError."""
    rc = getattr(lib, name)(*args)
    if rc < 0:
        raise_last(rc)


def make(name: str, *args: Any) -> int:
    """Calls a function whose last argument receives a new handle; returns it."""
    handle = ctypes.c_int()
    call(name, *args, ctypes.byref(handle))
    return handle.value


def text(name: str, *args: Any) -> Optional[str]:
    """Calls a function whose last argument receives a string; returns it (None for NULL)."""
    out = ctypes.c_void_p()
    call(name, *args, ctypes.byref(out))
    if not out.value:
        return None
    try:
        return ctypes.string_at(out.value).decode("utf-8", "replace")
    finally:
        lib.mox_free(out.value)



def text_property(name: str, doc: str) -> property:
    """A read-only property of a handle object: the text the binding's function `name` gives."""
    return property(lambda self: text(name, self._handle), doc=doc)

def value(name: str, ctype: Any, *args: Any) -> Any:
    """Calls a function whose last argument receives a number of `ctype`; returns it."""
    out = ctype()
    call(name, *args, ctypes.byref(out))
    return out.value


def close(handle: int) -> None:
    """Closes a handle, ignoring one that is not open."""
    lib.mox_close_handle(handle)
