# SPDX-License-Identifier: MIT
# Quick start: `make run` and `make test`. Everything else is a convenience around the
# CMake presets in CMakePresets.json.

SHELL := /bin/bash
JOBS ?= 2
FUZZ_SECONDS ?= 30
PRESET ?= default

# What `make run` and `make test` need; the other targets add their own packages.
DEBIAN_PACKAGES := build-essential cmake ninja-build pkg-config python3 python3-pytest \
  libexpat1-dev libcli11-dev libgtest-dev libgmock-dev
FUZZ_PACKAGES := clang-14 libclang-rt-14-dev libxml2-dev
COVERAGE_PACKAGES := gcovr libxml2-dev
BENCH_PACKAGES := libbenchmark-dev libpugixml-dev
DOCS_PACKAGES := doxygen
ABI_PACKAGES := abigail-tools
DEB_PACKAGES := debhelper dh-python python3-all lintian fakeroot dpkg-dev

.PHONY: all deps apt configure build run test asan tsan fuzz fuzz-long coverage bench docs manpage manpage-check install installcheck consumer deb symbols abi-check abi-update clean

all: build

# Installs the missing Debian packages of PACKAGES (only as root; idempotent, apt only).
deps:
	@$(MAKE) --no-print-directory apt PACKAGES="$(DEBIAN_PACKAGES)"

apt:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "installing:$$missing"; \
	    export DEBIAN_FRONTEND=noninteractive; \
	    apt-get update -qq && apt-get install -y -qq --no-install-recommends $$missing >/dev/null; \
	  else \
	    echo "missing Debian packages:$$missing (run as root, or install them)"; exit 1; \
	  fi; \
	fi

configure: deps
	cmake --preset $(PRESET) >/dev/null

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

# The main job on the built-in defaults.
run: build
	./tools/run-main.sh build/$(PRESET)

test: build
	ctest --preset $(PRESET) -j $(JOBS)

asan:
	$(MAKE) PRESET=asan test

tsan:
	$(MAKE) PRESET=tsan test

fuzz: deps
	@$(MAKE) --no-print-directory apt PACKAGES="$(FUZZ_PACKAGES)"
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	./tools/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

# Longer fuzzing (not in CI): each target for FUZZ_LONG_SECONDS, keeping what it finds in
# fuzz/corpus/<target> for later runs.
FUZZ_LONG_SECONDS ?= 600
fuzz-long: deps
	@$(MAKE) --no-print-directory apt PACKAGES="$(FUZZ_PACKAGES)"
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	KEEP_CORPUS=1 ./tools/run-fuzzers.sh build/fuzz $(FUZZ_LONG_SECONDS)

# Line and branch coverage per folder of src/, rt/ and c/: a gcc build with coverage
# counters (build/coverage) runs the tests and replays the fuzz corpora.
coverage: deps
	@$(MAKE) --no-print-directory apt PACKAGES="$(COVERAGE_PACKAGES)"
	cmake --preset coverage >/dev/null
	cmake --build --preset coverage -j $(JOBS)
	./tools/run-coverage.sh build/coverage

bench: deps
	@$(MAKE) --no-print-directory apt PACKAGES="$(BENCH_PACKAGES)"
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)
	./tools/run-benchmarks.sh build/release

# The API reference (Doxygen) in build/$(PRESET)/docs/html; warnings fail it.
docs: configure
	@$(MAKE) --no-print-directory apt PACKAGES="$(DOCS_PACKAGES)"
	cmake --preset $(PRESET) >/dev/null
	cmake --build --preset $(PRESET) --target docs

# Regenerates the moxctl man page kept in tools/moxctl/moxctl.1 from the built program.
manpage: configure
	cmake --build --preset $(PRESET) -j $(JOBS) --target moxctl-manpage

# Fails when the man page in the tree is not what `make manpage` writes.
manpage-check: manpage
	git diff --exit-code -- tools/moxctl/moxctl.1

# Installs into a second, moved prefix and builds C++ (and C) programs through pkg-config.
installcheck: build
	./tools/check-install.sh build/$(PRESET)

# `make install [PREFIX=...] [DESTDIR=...]` installs the build into PREFIX, staged under
# DESTDIR when set. PREFIX defaults to build/install, or to /usr/local under a DESTDIR.
PREFIX ?= $(if $(DESTDIR),/usr/local,$(CURDIR)/build/install)
install: build
	DESTDIR="$(DESTDIR)" cmake --install build/$(PRESET) --prefix "$(PREFIX)" >/dev/null

# Builds tests/consumer against the installed package.
consumer: install
	cmake -S tests/consumer -B build/consumer -G Ninja -DCMAKE_PREFIX_PATH="$(DESTDIR)$(PREFIX)" >/dev/null
	cmake --build build/consumer -j $(JOBS)
	./build/consumer/mox-consumer

# Debian packages (see debian/), built from a copy of the tree in build/deb/src so that
# the build leaves the working tree alone; the .deb files and lintian's report end up
# in build/deb.
DEB_DIR := build/deb
deb: deps
	@$(MAKE) --no-print-directory apt PACKAGES="$(DEB_PACKAGES)"
	rm -rf $(DEB_DIR) && mkdir -p $(DEB_DIR)/src
	git ls-files -z --cached --others --exclude-standard \
	  | tar --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C $(DEB_DIR)/src
	cd $(DEB_DIR)/src && dpkg-buildpackage -us -uc -b
	cd $(DEB_DIR) && set -o pipefail && lintian --fail-on error --info *.changes | tee lintian.txt

# The ABI guard (tools/abi.sh): abi-check compares the shared libraries with the
# baselines in abi/ and fails on an incompatible change under the same SONAME major, or a
# compatible one without a new baseline; abi-update rewrites the baselines.
abi-check abi-update: build
	@$(MAKE) --no-print-directory apt PACKAGES="$(ABI_PACKAGES)"
	./tools/abi.sh $(@:abi-%=%) build/$(PRESET)

# Rewrites debian/libmox-c2.symbols after C functions were added to the binding.
symbols: build
	./tools/update-symbols.sh build/$(PRESET)

clean:
	rm -rf build
