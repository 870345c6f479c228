#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The Python side of the Python-against-C measurement: the same 1,000 attributes
documents as the C side, parsed through the mox package with every value read, best of
several rounds.

Usage: python_attributes.py C_SECONDS   (run by bench_python_attributes)
"""
import sys
import time

import mox

DOCUMENTS, ROUNDS = 1000, 7


def read_all(documents):
    """Parses every document and reads every value; returns the number of values read."""
    values = 0
    for document in documents:
        for attribute in mox.parse_attributes(document):
            values += len(attribute.values)
    return values


def main():
    c_seconds = float(sys.argv[1])
    documents = [
        f'<attributes><attribute name="color" type="String"><value>red{i}</value><value>blue</value></attribute>'
        f'<attribute name="size" type="Integer"><value>{i}</value></attribute>'
        f'<attribute name="tag" scope="shop"><value>t{i}</value></attribute></attributes>'
        for i in range(DOCUMENTS)]
    best, values = float("inf"), 0
    for _ in range(ROUNDS):
        start = time.perf_counter()
        values = read_all(documents)
        best = min(best, time.perf_counter() - start)
    print(f"mox package from Python: {DOCUMENTS} documents, {values} values: {best * 1e3:.2f} ms")
    print(f"Python over C: {best / c_seconds:.2f}x")
    assert mox.open_handle_count() == 0


if __name__ == "__main__":
    main()
