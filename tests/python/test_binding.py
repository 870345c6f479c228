# SPDX-License-Identifier: MIT
"""The package's view of the C binding against mox_c.h: every ctypes signature matches its
prototype, and every failure returns a code the header documents for that function,
recorded with the failing function's name and a detail."""
import ctypes
import os
import re

import pytest

import mox
from mox import _native

HEADER = os.path.join(os.path.dirname(__file__), "..", "..", "include", "mox", "mox_c.h")
with open(HEADER, encoding="utf-8") as _file:
    TEXT = _file.read()

P = ctypes.POINTER
C_TYPES = {
    "void": None, "int": ctypes.c_int, "mox_handle": ctypes.c_int, "size_t": ctypes.c_size_t,
    "long long": ctypes.c_longlong, "double": ctypes.c_double, "const char*": ctypes.c_char_p,
    "char**": P(ctypes.c_void_p), "void*": ctypes.c_void_p, "int*": P(ctypes.c_int),
    "mox_handle*": P(ctypes.c_int), "mox_handle**": P(P(ctypes.c_int)), "size_t*": P(ctypes.c_size_t),
    "long long*": P(ctypes.c_longlong), "double*": P(ctypes.c_double), "unsigned int*": P(ctypes.c_uint),
    "const mox_error*": P(_native._ErrorRecord),
}
PROTOTYPE = re.compile(r"/\*\*((?:(?!\*/).)*)\*/\s*MOX_C_API ([\w ]+\*?) ?(mox_\w+)\(([^)]*)\);", re.S)


def _param_type(param):
    return C_TYPES[re.sub(r"\s+(\w+)$", "", param.strip()).replace(" *", "*")]


# name -> (result type, argument types, codes listed after "Fails:")
PROTOTYPES = {
    name: (C_TYPES[result.strip().replace(" *", "*")],
           [] if params.strip() == "void" else [_param_type(p) for p in params.split(",")],
           set(re.findall(r"MOX_E_\w+", (re.search(r"Fails:([^.]*)\.", doc) or [None, ""])[1])))
    for doc, result, name, params in PROTOTYPE.findall(TEXT)}
CODES = {name: int(value) for name, value in re.findall(r"(MOX_E_\w+) = (-\d+)", TEXT)}


def documented(name):
    """The codes the header allows `name` to fail with: its own and the common ones."""
    result, args, fails = PROTOTYPES[name]
    codes = {CODES[c] for c in fails} | {CODES["MOX_E_UNKNOWN"]}
    if any(a is ctypes.c_char_p or a is ctypes.c_void_p or hasattr(a, "contents") for a in args):
        codes.add(CODES["MOX_E_NULL_POINTER"])
    if ctypes.c_int in args and "handle" in TEXT[TEXT.index(name + "("):].split(";")[0]:
        codes |= {CODES["MOX_E_INVALID_HANDLE"], CODES["MOX_E_CLASS_CAST"]}
    return codes


def test_every_prototype_is_bound_with_its_types():
    assert len(PROTOTYPES) > 100
    assert set(_native.SIGNATURES) == set(PROTOTYPES)
    for name, (result, args, _) in PROTOTYPES.items():
        function = getattr(_native.lib, name)
        assert (function.restype, list(function.argtypes)) == (result, args), name


def _filled(name, given):
    """`given` followed by a fresh output for each remaining pointer argument, and a
    harmless value for each remaining other one."""
    def value(kind):
        if kind is ctypes.c_char_p:
            return b"x"
        return ctypes.byref(kind._type_()) if hasattr(kind, "contents") else kind()
    return list(given) + [value(a) for a in PROTOTYPES[name][1][len(given):]]


@pytest.fixture(scope="module")
def objects():
    """One object of each kind the failing calls below need, by name."""
    make = _native.make
    held = {
        "product": make("mox_product_id_create", b"p", b"", b"1"),
        "mail": make("mox_identity_create_user", b"EMAIL", b"nobody"),
        "text": make("mox_variant_create_string", b"x", b""),
        "time": make("mox_datetime_create", 0),
        "attr": make("mox_attribute_create", b"a", b"", b""),
        "list": make("mox_attributes_create"),
        "set": make("mox_identities_create"),
        "props": make("mox_properties_create"),
        "bad_product": make("mox_product_id_create", b"\x01", b"", b"1"),
        "bad_class": make("mox_class_id_create", b"\x01", 1),
        "bad_interface": make("mox_interface_id_create", b"\x01", 1),
        "bad_loader": make("mox_loader_id_create", b"\x01", b""),
        "bad_identity": make("mox_identity_create_user", b"QEL", b"\x01"),
        "bad_attr": make("mox_attribute_create", b"\x01", b"", b""),
        "bad_list": make("mox_attributes_create"),
        "bad_set": make("mox_identities_create"),
        "bad_props": make("mox_properties_create"),
    }
    _native.call("mox_attributes_add", held["bad_list"], held["bad_attr"])
    _native.call("mox_identities_add", held["bad_set"], held["bad_identity"])
    _native.call("mox_properties_set", held["bad_props"], b"\x01", b"v")
    held["bad_app"] = make("mox_application_id_create", held["bad_product"], b"a")
    yield held
    for handle in held.values():
        _native.close(handle)


IA, UM, MA, II, NI = -1006, -1056, -1055, -1075, -1009
BROKEN = b"<x"
# (function, leading arguments (names of objects above become their handles), code)
FAILURES = [
    ("mox_product_id_create", (b"n", b"", b""), IA), ("mox_product_id_parse", (b"",), IA),
    ("mox_product_id_parse", (BROKEN,), UM), ("mox_product_id_marshal", ("bad_product",), MA),
("mox_application_id_parse", (b"<x/>",), IA),
    ("mox_application_id_parse", (BROKEN,), UM), ("mox_application_id_marshal", ("bad_app",), MA),
    ("mox_identity_parse", (b"no slash",), IA), ("mox_identity_parse", (b"<x/>",), UM),
    ("mox_identity_marshal", ("bad_identity",), MA), ("mox_identity_authority_name", ("mail",), IA),
    ("mox_identity_authority_format", ("mail",), IA), ("mox_identity_convert", ("mail", b"QEL"), II),
    ("mox_identity_convert", ("mail", b"UPN"), IA),
    ("mox_identities_parse", (BROKEN,), UM), ("mox_identities_get", ("set", 0), IA),
    ("mox_identities_marshal", ("bad_set",), MA), ("mox_account_create", (b"User", b""), IA),
    ("mox_account_parse", (b"",), IA), ("mox_authority_create", (b"", b""), IA),
    ("mox_authority_parse", (b"x",), IA), ("mox_variant_as_int64", ("text",), NI),
    ("mox_variant_as_double", ("text",), NI), ("mox_qualified_name_create", (b"", b"", b""), IA),
    ("mox_qualified_name_parse", (b"",), IA), ("mox_qualified_name_parse", (BROKEN,), UM),
    ("mox_attribute_create", (b"", b"", b""), IA), ("mox_attribute_parse", (b"",), IA),
    ("mox_attribute_parse", (b"<x/>",), UM), ("mox_attribute_marshal", ("bad_attr",), MA),
    ("mox_attribute_value", ("attr", 0), IA), ("mox_attributes_parse", (b"<attributes><attribute name=''/></attributes>",), IA),
    ("mox_attributes_parse", (BROKEN,), UM), ("mox_attributes_read", (b"<attributes><attribute name=''/></attributes>",), IA),
    ("mox_attributes_read", (BROKEN,), UM), ("mox_attributes_marshal", ("bad_list",), MA),
    ("mox_attributes_get", ("list", 0), IA), ("mox_properties_parse", (BROKEN, b""), UM),
    ("mox_properties_name", ("props", 0), IA), ("mox_properties_marshal", ("props", b""), IA),
    ("mox_properties_marshal", ("bad_props", b"r"), MA), ("mox_class_id_create", (b"x", -1), IA),
    ("mox_class_id_parse", (b"",), IA), ("mox_class_id_parse", (BROKEN,), UM),
    ("mox_class_id_marshal", ("bad_class",), MA), ("mox_interface_id_create", (b"", 1), IA),
    ("mox_interface_id_parse", (b"",), IA), ("mox_interface_id_parse", (BROKEN,), UM),
    ("mox_interface_id_marshal", ("bad_interface",), MA), ("mox_loader_id_parse", (BROKEN,), UM),
    ("mox_loader_id_marshal", ("bad_loader",), MA), ("mox_datetime_parse", (b"yesterday",), II),
    ("mox_datetime_parse", (b"2026-13-04T05:38:45Z",), IA), ("mox_datetime_format", ("time", 7), IA),
    ("mox_to_string", ("bad_list",), MA), ("mox_compare", ("time", "attr"), -1005),
    ("mox_compare", ("props", "props"), -1005), ("mox_datetime_micros", ("attr",), -1005),
    ("mox_attributes_to_array", ("set",), -1005), ("mox_identities_to_array", ("list",), -1005),
    ("mox_attribute_values", ("list",), -1005), ("mox_properties_items", ("attr",), -1005),
    ("mox_attributes_texts", ("attr",), -1005), ("mox_attributes_read", (None,), -1004),
    ("mox_properties_items", ("props", None, None, None), -1004),
]
# Every function whose first argument is a handle, given one that is not open.
FAILURES += [(name, (999999,), -1039) for name, (_, args, _) in sorted(PROTOTYPES.items())
             if args[:1] == [ctypes.c_int] and "mox_handle " in TEXT[TEXT.index(name + "("):].split(",")[0]]


@pytest.mark.parametrize("name, given, code", FAILURES, ids=[f"{n}{c}" for n, _, c in FAILURES])
def test_failure_is_documented_and_explained(objects, name, given, code):
    args = [objects[a] if isinstance(a, str) else a for a in given]
    args = _filled(name, args)
    assert getattr(_native.lib, name)(*args) == code
    assert code in documented(name)
    error = _native.lib.mox_error_last().contents
    assert (error.code, error.function) == (code, name.encode())
    assert error.detail and error.message


def test_every_listed_code_has_a_failing_call():
    listed = {(name, CODES[c]) for name, (_, _, fails) in PROTOTYPES.items() for c in fails}
    assert listed <= {(name, code) for name, _, code in FAILURES}


def test_detail_names_the_field_value_and_rule():
    with pytest.raises(mox.InvalidArgumentError) as caught:
        mox.DateTime.parse("2026-13-04T05:38:45Z")
    assert caught.value.function == "mox_datetime_parse"
    assert "2026-13-04T05:38:45Z" in caught.value.detail and "month 01-12" in caught.value.detail
