#!/usr/bin/env python3
"""Using the MOX C binding (libmox-c.so) from Python through ctypes.

Usage: mox_example.py [path/to/libmox-c.so]   (default: the system's library search)

Makes a product id and an application id, writes them as XML and reads them back,
makes identities and reads an attribute list from its document,
shows how a failure comes back as an exception carrying the MOX code, message and
class name, and closes every handle it opened.
"""
import ctypes
import sys


class MoxError(Exception):
    """A failed call: the negative MOX code, its message and the exception class name."""

    def __init__(self, code, message, name):
        super().__init__(f"{name} {code}: {message}")
        self.code = code
        self.message = message
        self.name = name


class Mox:
    """A thin Python face over the C functions; every handle is a plain int."""

    def __init__(self, path):
        lib = ctypes.CDLL(path)
        handle_p = ctypes.POINTER(ctypes.c_int)
        text_p = ctypes.POINTER(ctypes.c_void_p)
        signatures = {
            "mox_product_id_create": [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p, handle_p],
            "mox_product_id_parse": [ctypes.c_char_p, handle_p],
            "mox_product_id_marshal": [ctypes.c_int, text_p],
            "mox_application_id_create": [ctypes.c_int, ctypes.c_char_p, handle_p],
            "mox_application_id_parse": [ctypes.c_char_p, handle_p],
            "mox_application_id_marshal": [ctypes.c_int, text_p],
            "mox_identity_create_user": [ctypes.c_char_p, ctypes.c_char_p, handle_p],
            "mox_identity_create_group": [ctypes.c_char_p, ctypes.c_char_p, handle_p],
            "mox_identity_parse": [ctypes.c_char_p, handle_p],
            "mox_identity_marshal": [ctypes.c_int, text_p],
            "mox_attributes_parse": [ctypes.c_char_p, handle_p],
            "mox_attributes_marshal": [ctypes.c_int, text_p],
            "mox_attributes_count": [ctypes.c_int, ctypes.POINTER(ctypes.c_size_t)],
            "mox_to_string": [ctypes.c_int, text_p],
            "mox_handle_class": [ctypes.c_int, text_p],
            "mox_close_handle": [ctypes.c_int],
            "mox_open_handle_count": [ctypes.POINTER(ctypes.c_uint)],
            "mox_get_error": [text_p],
            "mox_last_error_name": [text_p],
        }
        for name, argtypes in signatures.items():
            function = getattr(lib, name)
            function.argtypes = argtypes
            function.restype = ctypes.c_int
        lib.mox_free.argtypes = [ctypes.c_void_p]
        lib.mox_free.restype = None
        self._lib = lib

    def _take_string(self, pointer):
        """Copies a string the library handed out, then releases it."""
        if not pointer.value:
            return None
        try:
            return ctypes.string_at(pointer.value).decode("utf-8")
        finally:
            self._lib.mox_free(pointer.value)

    def _check(self, rc):
        if rc != 0:
            message = ctypes.c_void_p()
            code = self._lib.mox_get_error(ctypes.byref(message))
            name = ctypes.c_void_p()
            self._lib.mox_last_error_name(ctypes.byref(name))
            raise MoxError(code, self._take_string(message), self._take_string(name))

    def _make(self, function, *args):
        handle = ctypes.c_int()
        self._check(function(*args, ctypes.byref(handle)))
        return handle.value

    def _text(self, function, *args):
        out = ctypes.c_void_p()
        self._check(function(*args, ctypes.byref(out)))
        return self._take_string(out)

    def product_id(self, name, component, version):
        return self._make(self._lib.mox_product_id_create, name.encode(), component.encode(), version.encode())

    def parse_product_id(self, xml):
        return self._make(self._lib.mox_product_id_parse, xml.encode())

    def product_xml(self, handle):
        return self._text(self._lib.mox_product_id_marshal, handle)

    def application_id(self, product, name):
        return self._make(self._lib.mox_application_id_create, product, name.encode())

    def parse_application_id(self, xml):
        return self._make(self._lib.mox_application_id_parse, xml.encode())

    def application_xml(self, handle):
        return self._text(self._lib.mox_application_id_marshal, handle)

    def user(self, format_name, value):
        return self._make(self._lib.mox_identity_create_user, format_name.encode(), value.encode())

    def group(self, format_name, value):
        return self._make(self._lib.mox_identity_create_group, format_name.encode(), value.encode())

    def parse_identity(self, text):
        return self._make(self._lib.mox_identity_parse, text.encode())

    def identity_xml(self, handle):
        return self._text(self._lib.mox_identity_marshal, handle)

    def parse_attributes(self, document):
        return self._make(self._lib.mox_attributes_parse, document.encode())

    def attributes_xml(self, handle):
        return self._text(self._lib.mox_attributes_marshal, handle)

    def attribute_count(self, handle):
        count = ctypes.c_size_t()
        self._check(self._lib.mox_attributes_count(handle, ctypes.byref(count)))
        return count.value

    def text_of(self, handle):
        return self._text(self._lib.mox_to_string, handle)

    def class_of(self, handle):
        return self._text(self._lib.mox_handle_class, handle)

    def close(self, handle):
        self._check(self._lib.mox_close_handle(handle))

    def open_handles(self):
        count = ctypes.c_uint()
        self._check(self._lib.mox_open_handle_count(ctypes.byref(count)))
        return count.value


def main():
    mox = Mox(sys.argv[1] if len(sys.argv) > 1 else "libmox-c.so.2")
    opened = []

    product = mox.product_id("Acme Suite", "console", "2.1")
    opened.append(product)
    product_xml = mox.product_xml(product)
    print("product:", product_xml, "as", mox.class_of(product))

    app = mox.application_id(product, "inventory")
    opened.append(app)
    app_xml = mox.application_xml(app)
    print("application:", app_xml)

    # What is written reads back to the same text.
    again = mox.parse_application_id(app_xml)
    opened.append(again)
    assert mox.application_xml(again) == app_xml, "application id did not read back"
    copy = mox.parse_product_id(product_xml)
    opened.append(copy)
    assert mox.product_xml(copy) == product_xml, "product id did not read back"

    # Identities keep their text as given.
    admins = mox.group("QEL", "NT:CORP/Group:admins")
    opened.append(admins)
    alice = mox.user("EMAIL", "alice@corp.example")
    opened.append(alice)
    print("identities:", mox.text_of(admins), "and", mox.text_of(alice), "as", mox.class_of(alice))
    assert mox.text_of(alice) == "alice@corp.example"
    admins_xml = mox.identity_xml(admins)
    print("as XML:", admins_xml)
    admins_again = mox.parse_identity(admins_xml)
    opened.append(admins_again)
    assert mox.identity_xml(admins_again) == admins_xml, "identity did not read back"
    bob = mox.parse_identity("NT:CORP/bob")
    opened.append(bob)
    assert mox.text_of(bob) == "NT:CORP/bob"

    # An attribute list travels as its document.
    attributes = mox.parse_attributes(
        '<attributes><attribute name="color" type="String"><value>red</value><value>blue</value></attribute>'
        '<attribute name="size" type="Integer"><value>10</value></attribute></attributes>')
    opened.append(attributes)
    document = mox.attributes_xml(attributes)
    print("attributes:", mox.attribute_count(attributes), "in", document)
    assert mox.attribute_count(attributes) == 2
    copy_of_list = mox.parse_attributes(document)
    opened.append(copy_of_list)
    assert mox.attributes_xml(copy_of_list) == document, "attribute list did not read back"
    try:
        mox.parse_attributes("<attributes><attribute>")
        raise AssertionError("a broken document was accepted")
    except MoxError as error:
        print("refused:", error)
        assert error.code == -1056 and error.name == "SerializationException", error

    # A failure arrives as an exception with the MOX code, message and class name.
    try:
        mox.product_id("", "console", "2.1")
        raise AssertionError("an empty product name was accepted")
    except MoxError as error:
        print("refused:", error)
        assert error.code == -1006 and error.name == "InvalidArgumentException", error
    try:
        mox.application_xml(product)
        raise AssertionError("a product handle was taken for an application id")
    except MoxError as error:
        print("refused:", error)
        assert error.code == -1005, error

    assert mox.open_handles() == len(opened), mox.open_handles()
    for handle in opened:
        mox.close(handle)
    try:
        mox.close(product)
        raise AssertionError("a closed handle closed again")
    except MoxError as error:
        assert error.code == -1039 and error.message == "Invalid Handle", error
    assert mox.open_handles() == 0
    print("example finished")


if __name__ == "__main__":
    main()
