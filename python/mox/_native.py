# SPDX-License-Identifier: MIT
"""The C library behind the package: loading, function signatures and call helpers."""
from __future__ import annotations

import ctypes
import os
from typing import Any, Dict, Iterator, List, Optional

from .errors import error_class

_int_p = ctypes.POINTER(ctypes.c_int)
_text_p = ctypes.POINTER(ctypes.c_void_p)
_size_p = ctypes.POINTER(ctypes.c_size_t)
_handles_p = ctypes.POINTER(ctypes.POINTER(ctypes.c_int))
_h = ctypes.c_int
_s = ctypes.c_char_p
_z = ctypes.c_size_t


class _ErrorRecord(ctypes.Structure):
    _fields_ = [("code", ctypes.c_int), ("name", _s), ("message", _s), ("detail", _s), ("function", _s)]


# Argument types of every function of the binding; all return an int code unless listed
# in _RESULTS. tests/python checks this table against the prototypes of mox_c.h.
SIGNATURES: Dict[str, List[Any]] = {
    "mox_version": [],
    "mox_error_last": [],
    "mox_error_clear": [],
    "mox_free": [ctypes.c_void_p],
    "mox_get_error": [_text_p],
    "mox_last_error_name": [_text_p],
    "mox_close_handle": [_h],
    "mox_open_handle_count": [ctypes.POINTER(ctypes.c_uint)],
    "mox_to_string": [_h, _text_p],
    "mox_handle_class": [_h, _text_p],
    "mox_compare": [_h, _h, _int_p],
    "mox_product_id_create": [_s, _s, _s, _int_p],
    "mox_product_id_parse": [_s, _int_p],
    "mox_application_id_create": [_h, _s, _int_p],
    "mox_application_id_parse": [_s, _int_p],
    "mox_identity_create_user": [_s, _s, _int_p],
    "mox_identity_create_group": [_s, _s, _int_p],
    "mox_identity_create": [_h, _h, _int_p],
    "mox_identity_parse": [_s, _int_p],
    "mox_identity_convert": [_h, _s, _int_p],
    "mox_identity_equal": [_h, _h, _int_p],
    "mox_identities_create": [_int_p],
    "mox_identities_parse": [_s, _int_p],
    "mox_identities_add": [_h, _h],
    "mox_identities_count": [_h, _size_p],
    "mox_identities_get": [_h, _z, _int_p],
    "mox_identities_contains": [_h, _h, _int_p],
    "mox_identities_to_array": [_h, _handles_p, _size_p],
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
    "mox_attribute_values": [_h, _text_p, _size_p, _size_p],
    "mox_attributes_create": [_int_p],
    "mox_attributes_parse": [_s, _int_p],
    "mox_attributes_count": [_h, _size_p],
    "mox_attributes_add": [_h, _h],
    "mox_attributes_get": [_h, _z, _int_p],
    "mox_attributes_find": [_h, _s, _int_p],
    "mox_attributes_to_array": [_h, _handles_p, _size_p],
    "mox_attributes_texts": [_h, _text_p, _size_p, _size_p],
    "mox_attributes_read": [_s, _text_p, _size_p, _size_p],
    "mox_properties_create": [_int_p],
    "mox_properties_parse": [_s, _s, _int_p],
    "mox_properties_set": [_h, _s, _s],
    "mox_properties_get": [_h, _s, _text_p],
    "mox_properties_count": [_h, _size_p],
    "mox_properties_name": [_h, _z, _text_p],
    "mox_properties_items": [_h, _text_p, _size_p, _size_p],
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
SIGNATURES.update((name, [_h, _text_p]) for name in (
    "mox_product_id_marshal mox_application_id_marshal mox_identity_marshal mox_identity_format mox_identity_value "
    "mox_identity_type mox_identity_name mox_identity_authority_name mox_identity_authority_format "
    "mox_identities_marshal mox_account_name mox_account_type mox_authority_format mox_authority_name "
    "mox_variant_type mox_variant_value mox_variant_tag mox_qualified_name_name mox_qualified_name_format "
    "mox_qualified_name_scope mox_attribute_marshal mox_attribute_name mox_attribute_format mox_attribute_scope "
    "mox_attributes_marshal mox_class_id_name mox_class_id_loader mox_class_id_marshal mox_interface_id_name "
    "mox_interface_id_marshal mox_loader_id_name mox_loader_id_file mox_loader_id_marshal").split())

# Result types of the functions that do not return an int code.
RESULTS: Dict[str, Any] = {
    "mox_version": _s,
    "mox_error_last": ctypes.POINTER(_ErrorRecord),
    "mox_error_clear": None,
    "mox_free": None,
}


def _candidates() -> Iterator[str]:
    """Where the library may be: the path the build or `cmake --install` recorded, then
    the dynamic loader's own search by soname (a pip install)."""
    here = os.path.dirname(os.path.abspath(__file__))
    try:
        from ._location import LIBRARY  # type: ignore[import]
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
    for name, argtypes in SIGNATURES.items():
        function = getattr(lib, name)
        function.argtypes = argtypes
        function.restype = RESULTS.get(name, ctypes.c_int)
    return lib


lib = _load()
_byref, _string_at, _free = ctypes.byref, ctypes.string_at, lib.mox_free


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


def texts(name: str, *args: Any) -> List[str]:
    """Calls a function that hands out a block of texts; returns them."""
    return read_block(getattr(lib, name), *args)


def read_block(function: Any, *args: Any) -> List[str]:
    """Calls the binding's `function` that hands out a block of texts; returns them. The
    path of whole-document reads: one call, one copy, one split."""
    block, count, size = ctypes.c_void_p(), ctypes.c_size_t(), ctypes.c_size_t()
    rc = function(*args, _byref(block), _byref(count), _byref(size))
    if rc < 0:
        raise_last(rc)
    address = block.value
    if not address:
        return []
    try:
        raw = _string_at(address, size.value - 1)
    finally:
        _free(address)
    return raw.decode("utf-8", "replace").split("\0")


def handles(name: str, *args: Any) -> List[int]:
    """Calls a function that hands out an array of new handles; returns them."""
    array, count = ctypes.POINTER(ctypes.c_int)(), ctypes.c_size_t()
    call(name, *args, ctypes.byref(array), ctypes.byref(count))
    if not array:
        return []
    try:
        return array[:count.value]
    finally:
        lib.mox_free(array)


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
