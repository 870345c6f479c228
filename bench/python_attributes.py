#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The Python side of the Python measurement: the same 1,000 attributes documents as the
C side, read through the mox package and through the standard library's
xml.etree.ElementTree doing the same work (every attribute's name and every value), best
of several rounds, interleaved so that both see the same machine.

Usage: python_attributes.py C_SECONDS   (run by bench_python_attributes)
"""
import sys
import time
import xml.etree.ElementTree as ElementTree

import mox

DOCUMENTS, ROUNDS = 1000, 15


def read_mox(documents):
    """Reads every document through mox; returns the number of values read."""
    values = 0
    for document in documents:
        for attribute in mox.parse_attributes(document):
            attribute.name
            values += len(attribute.values)
    return values


def read_etree(documents):
    """Reads every document through ElementTree; returns the number of values read."""
    values = 0
    for document in documents:
        for attribute in ElementTree.fromstring(document):
            attribute.get("name")
            values += len([value.text or "" for value in attribute.iter("value")])
    return values


def best_of(read, documents, results):
    start = time.perf_counter()
    values = read(documents)
    results.append(time.perf_counter() - start)
    return values


def main():
    c_seconds = float(sys.argv[1])
    documents = [
        f'<attributes><attribute name="color" type="String"><value>red{i}</value><value>blue</value></attribute>'
        f'<attribute name="size" type="Integer"><value>{i}</value></attribute>'
        f'<attribute name="tag" scope="shop"><value>t{i}</value></attribute></attributes>'
        for i in range(DOCUMENTS)]
    mox_times, etree_times = [], []
    for _ in range(ROUNDS):
        values = best_of(read_mox, documents, mox_times)
        assert best_of(read_etree, documents, etree_times) == values
    best_mox, best_etree = min(mox_times), min(etree_times)
    print(f"mox package from Python: {DOCUMENTS} documents, {values} values: {best_mox * 1e3:.2f} ms")
    print(f"xml.etree.ElementTree, same work: {best_etree * 1e3:.2f} ms")
    print(f"mox over ElementTree: {best_mox / best_etree:.2f}x")
    print(f"Python over C: {best_mox / c_seconds:.2f}x")
    assert mox.open_handle_count() == 0


if __name__ == "__main__":
    main()
