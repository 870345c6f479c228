# SPDX-License-Identifier: MIT
"""The mox package: one round trip per family (the identity and application id ones are
the example's), errors (a broken document's is the example's too) and handles (per-thread
error records are the C binding's tests)."""
import datetime as dt

import pytest

import mox
from mox import _native


@pytest.fixture(autouse=True)
def no_handle_left():
    """Every test gives back every handle it took."""
    import gc
    before = mox.open_handle_count()
    yield
    gc.collect()
    assert mox.open_handle_count() == before


def test_identities():
    qel = mox.Identity.parse("NT:CORP/Group:admins")
    assert (qel.format, qel.value, qel.type, qel.name, qel.authority, qel.authority_format) == (
        "QEL", "NT:CORP/Group:admins", "Group", "admins", "CORP", "NT")
    email = qel.convert("EMAIL")
    assert str(email) == "admins@CORP" and email == qel and hash(email) == hash(qel)
    document = mox.marshal_identities([qel, email, mox.Identity.parse("NT:CORP/bob")])
    with mox.parse_identities(document) as held:
        assert len(held) == 2 and qel in held and "text" not in held


def test_attributes():
    color = mox.Attribute("color", ["red", "bl<ue"], scope="shop")
    size = mox.Attribute("size", ("10",), format="Integer")
    document = mox.marshal_attributes([color, size])
    read = mox.parse_attributes(document)
    assert [(a.name, a.format, a.scope, a.values) for a in read] == [
        ("color", "String", "shop", ["red", "bl<ue"]), ("size", "Integer", "", ["10"])]
    assert read[0] == color and read[1] != color and mox.Attribute.parse(size.marshal()) == size
    assert mox.QualifiedName.parse(str(size.qualified_name)) == mox.QualifiedName("size", "Integer")


@pytest.mark.parametrize("value, kind, result", [
    ("x y", "String", "x y"), (-(2**63), "Int64", -(2**63)), (0.5, "Double", 0.5)])
def test_variants(value, kind, result):
    variant = mox.Variant(value, tag="t")
    assert (variant.type, variant.value, variant.tag) == (kind, result, "t")
    assert variant == mox.Variant(value, tag="t") and hash(variant) == hash(mox.Variant(value, tag="t"))


def test_ids_and_properties():
    assert mox.ClassId.parse(mox.ClassId("Foo", 3).marshal()) == mox.ClassId("Foo", 3)
    assert mox.LoaderId.parse(mox.LoaderId("Boot", "boot.so").marshal()).file == "boot.so"
    assert mox.LoaderId("A", "z") < mox.LoaderId("B", "a") < mox.LoaderId("B", "b")  # by name, then file
    properties = {"color": "red", "size": ""}
    assert mox.parse_properties(mox.marshal_properties(properties, "settings"), "settings") == properties
    held = _native.make("mox_properties_parse", mox.marshal_properties(properties, "r").encode(), b"r")
    try:  # set, set empty, not set (NULL)
        assert [_native.text("mox_properties_get", held, n) for n in (b"color", b"size", b"Color")] == ["red", "", None]
    finally:
        _native.call("mox_close_handle", held)


def test_datetimes():
    moment = dt.datetime(2026, 12, 4, 5, 38, 45, 123000, tzinfo=dt.timezone.utc)
    parsed = mox.DateTime.parse("2026-12-04T05:38:45.123Z")
    assert parsed.to_datetime() == moment and mox.DateTime.from_datetime(moment) == parsed
    assert str(parsed) == "2026-12-04T05:38:45.123Z" and parsed.format(mox.DateTime.SECONDS) == "2026-12-04T05:38:45Z"
    assert parsed.format(mox.DateTime.MILLISECONDS) + parsed.format(mox.DateTime.MICROSECONDS) == (
        "2026-12-04T05:38:45.123Z2026-12-04T05:38:45.123000Z")
    now = mox.DateTime.now()
    assert now > mox.DateTime(0) and now.micros % 1000 == 0  # to the millisecond
    assert str(mox.DateTime(1)) == "1970-01-01T00:00:00.000001Z" and mox.DateTime(1) > mox.DateTime(0)
    east = dt.timezone(dt.timedelta(hours=2))
    assert mox.DateTime.from_datetime(moment.astimezone(east)) == parsed


def closed(value):
    value.close()
    return value


@pytest.mark.parametrize("call, error, code", [
    (lambda: mox.Identity.parse("no slash"), mox.InvalidArgumentError, -1006),
    (lambda: mox.Identity.parse(None), mox.NullPointerError, -1004),
    (lambda: mox.DateTime.parse("yesterday"), mox.InvalidArgumentError, -1075),
    (lambda: mox.Variant("x", type="Integer").value, mox.InvalidArgumentError, None),
    (lambda: mox.ClassId("Foo") < mox.DateTime(0), mox.ClassCastError, -1005),
    (lambda: closed(mox.DateTime(0)).micros, mox.InvalidHandleError, -1039),
])
def test_errors(call, error, code):
    with pytest.raises(error) as caught:
        call()
    if code is not None:
        assert caught.value.code == code and caught.value.name.endswith("Exception") and caught.value.message


COPYABLE = [
    lambda: mox.Identity.parse("NT:CORP/alice"), lambda: mox.Account("User", "bob"),
    lambda: mox.Authority("NT", "CORP"), lambda: mox.Variant(7, tag="t"), lambda: mox.QualifiedName("q", "Integer"),
    lambda: mox.Attribute("secret", ["s"], scope="shop"), lambda: mox.ProductId("p", "c", "1"),
    lambda: mox.ClassId("Foo", 3), lambda: mox.InterfaceId("I", 2), lambda: mox.LoaderId("L", "l.so"),
    lambda: mox.DateTime.parse("2026-12-04T05:38:45.123Z"),
    lambda: mox.ApplicationId(mox.ProductId("p", "c", "1"), "app"),
    lambda: mox.IdentitySet([mox.Identity.parse("NT:CORP/bob"), mox.Identity.parse("NT:CORP/al")]),
]


@pytest.mark.parametrize("make", COPYABLE)
def test_copies_and_pickles_are_independent(make):
    import copy
    import pickle
    original = make()
    copies = [copy.copy(original), copy.deepcopy(original), pickle.loads(pickle.dumps(original))]
    text = str(original)
    del original
    import gc
    gc.collect()
    assert all(str(c) == text for c in copies)
    assert all(c.handle != copies[0].handle for c in copies[1:])


def test_repr_is_evaluable_or_bracketed():
    attribute = mox.Attribute("a", ["1"], format="Integer", scope="s")
    assert eval(repr(attribute), {"mox": mox}) == attribute
    assert repr(mox.ClassId("Foo", 3)).startswith("<mox.ClassId ")
    assert repr(closed(mox.DateTime(0))) == "<mox.DateTime closed>"


def test_marshal_properties_refuses_a_non_mapping():
    with pytest.raises(TypeError):
        mox.marshal_properties([("a", "b")], "r")
