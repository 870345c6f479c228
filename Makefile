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
MAN_PACKAGES := help2man

.PHONY: all deps apt configure build run test asan tsan fuzz fuzz-long coverage bench docs manpage install installcheck consumer clean

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

# The moxctl man page (help2man over --help), built into build/$(PRESET)/tools/moxctl.
manpage: configure
	@$(MAKE) --no-print-directory apt PACKAGES="$(MAN_PACKAGES)"
	cmake --preset $(PRESET) >/dev/null
	cmake --build --preset $(PRESET) -j $(JOBS) --target moxctl-manpage
	grep -q '^\.TH MOXCTL' build/$(PRESET)/tools/moxctl/moxctl.1

# Installs into a second, moved prefix and builds C++ (and C) programs through pkg-config.
installcheck: build
	./tools/check-install.sh build/$(PRESET)

# Installs the default build into build/install and builds tests/consumer against it.
install: build
	cmake --install build/$(PRESET) --prefix $(CURDIR)/build/install >/dev/null

consumer: install
	cmake -S tests/consumer -B build/consumer -G Ninja -DCMAKE_PREFIX_PATH=$(CURDIR)/build/install >/dev/null
	cmake --build build/consumer -j $(JOBS)
	./build/consumer/mox-consumer

clean:
	rm -rf build
