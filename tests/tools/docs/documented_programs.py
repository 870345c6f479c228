#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Compiles and runs the programs of the README and the documentation pages against
the build tree.

Every ```cpp and ```c block holding a main function is compiled and run, every
```python block is run; a failure names the block by its file and line.
Usage: documented_programs.py CXX CC INCLUDE_DIR LIB_DIR PYTHON_DIR FILE...
"""
import os
import re
import subprocess
import sys
import tempfile

BLOCK = re.compile(r"^```(cpp|c|python)\n(.*?)^```", re.M | re.S)


def blocks(path):
    text = open(path, encoding="utf-8").read()
    for match in BLOCK.finditer(text):
        yield match.group(1), match.group(2), text.count("\n", 0, match.start()) + 1


def run_block(kind, code, work, tools):
    cxx, cc, include, lib, python_dir = tools
    if kind == "python":
        env = dict(os.environ, PYTHONPATH=python_dir)
        return subprocess.run([sys.executable, "-c", code], env=env, capture_output=True, text=True)
    if "main(" not in code:
        return None  # a fragment, not a program
    source = os.path.join(work, "block." + kind)
    program = os.path.join(work, "block")
    with open(source, "w", encoding="utf-8") as out:
        out.write(code)
    compiler = [cxx, "-std=c++17"] if kind == "cpp" else [cc, "-std=c11"]
    libs = ["-lmox", "-lmox-rt"] if kind == "cpp" else ["-lmox-c"]
    built = subprocess.run(compiler + [source, "-o", program, "-I" + include, "-L" + lib,
                                       "-Wl,-rpath," + lib] + libs, capture_output=True, text=True)
    if built.returncode != 0:
        return built
    return subprocess.run([program], capture_output=True, text=True)


def main():
    tools, files = sys.argv[1:6], sys.argv[6:]
    failures = 0
    ran = 0
    with tempfile.TemporaryDirectory() as work:
        for path in files:
            for kind, code, line in blocks(path):
                result = run_block(kind, code, work, tools)
                if result is None:
                    continue
                ran += 1
                if result.returncode != 0:
                    failures += 1
                    print(f"{path}:{line}: the {kind} block failed ({result.returncode}):\n"
                          f"{result.stdout}{result.stderr}")
    print(f"{ran} documented programs run, {failures} failed")
    return 1 if failures or ran == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
