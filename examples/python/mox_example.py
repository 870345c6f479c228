#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Using the MOX core data library from Python through the mox package.

Usage: mox_example.py   (with the package importable: installed, or PYTHONPATH=build/default/python)

Makes product and application ids and identities, writes them as XML and reads them
back, converts an identity, reads an attribute list and a date-time, and shows how a
failure arrives as an exception carrying the MOX code, message and class name. Every
object gives its handle back when it goes; the example checks that none is left open.
"""
import gc

import mox


def show():
    """Goes through every family; its objects go when it returns."""
    product = mox.ProductId("Acme Suite", "console", "2.1")
    print("product:", product.marshal())
    app = mox.ApplicationId(product, "inventory")
    app_xml = app.marshal()
    print("application:", app_xml)
    assert mox.ApplicationId.parse(app_xml).marshal() == app_xml, "application id did not read back"

    # Identities keep their text as given and recognise one principal across formats.
    admins = mox.Identity.group("QEL", "NT:CORP/Group:admins")
    alice = mox.Identity.parse("NT:CORP/alice")
    mail = alice.convert("EMAIL")
    print("identities:", admins, "and", alice, "=", mail, "in", alice.authority)
    assert mail == alice and str(mail) == "alice@CORP"
    assert mox.Identity.parse(admins.marshal()) == admins, "identity did not read back"
    people = mox.parse_identities(mox.marshal_identities([admins, alice, mail]))
    print("identity set of", len(people), ":", ", ".join(str(i) for i in people))

    # An attribute list travels as its document.
    attributes = mox.parse_attributes(
        '<attributes><attribute name="color" type="String"><value>red</value><value>blue</value></attribute>'
        '<attribute name="size" type="Integer"><value>10</value></attribute></attributes>')
    for attribute in attributes:
        print("attribute:", attribute.name, attribute.format, attribute.values)
    assert mox.parse_attributes(mox.marshal_attributes(attributes)) == attributes

    when = mox.DateTime.parse("2026-12-04T05:38:45.123Z")
    print("date-time:", when, "is", when.to_datetime().isoformat())

    # A failure arrives as an exception with the MOX code, message and class name.
    try:
        mox.parse_attributes("<attributes><attribute>")
        raise AssertionError("a broken document was accepted")
    except mox.SerializationError as error:
        print("refused:", error.code, error.name, error.message)
    try:
        mox.Identity.parse("no slash")
    except ValueError as error:
        print("refused:", error)



def main():
    show()
    gc.collect()
    assert mox.open_handle_count() == 0, "handles left open"
    print("example finished")


if __name__ == "__main__":
    main()
