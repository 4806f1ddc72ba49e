# Quick start: `make demo` and `make test`. Both install what is missing first.
PYTHON ?= python3
BUILD ?= build
JOBS ?= 2
# Extra CMake options, e.g. CMAKE_FLAGS=-DCORVANTHIUM_STRICT=ON (what `make strict` and CI use).
CMAKE_FLAGS ?=
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# The formatter and linter, pinned: a new release may format differently.
CLANG_FORMAT_VERSION = 19.1.7
RUFF_VERSION = 0.17.6
MYPY_VERSION = 2.4.1
CPP_SOURCES = $(shell git ls-files '*.cpp' '*.h')

.PHONY: all deps test-deps tools configure build test test-cpp test-python strict demo install bench sanitize fuzz tsan format lint clean

all: build

# System packages (GMP, GoogleTest, a compiler) and the Python tools.
deps:
	@missing=""; \
	for pkg in g++ libgmp-dev libgtest-dev; do \
	  dpkg -s $$pkg >/dev/null 2>&1 || missing="$$missing $$pkg"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  $(SUDO) apt-get update -qq && $(SUDO) apt-get install -y -qq $$missing; \
	fi
	@$(PYTHON) -c "import pytest, hypothesis" 2>/dev/null || $(PYTHON) -m pip install -q pytest hypothesis
	@command -v cmake >/dev/null 2>&1 || $(PYTHON) -m pip install -q cmake
	@command -v ninja >/dev/null 2>&1 || $(PYTHON) -m pip install -q ninja

# clang-format and ruff at their pinned versions, into the current Python environment.
tools:
	@clang-format --version 2>/dev/null | grep -q " $(CLANG_FORMAT_VERSION)" || \
	  $(PYTHON) -m pip install -q clang-format==$(CLANG_FORMAT_VERSION)
	@ruff --version 2>/dev/null | grep -q " $(RUFF_VERSION)" || $(PYTHON) -m pip install -q ruff==$(RUFF_VERSION)
	@$(PYTHON) -m mypy --version 2>/dev/null | grep -q " $(MYPY_VERSION)" || $(PYTHON) -m pip install -q mypy==$(MYPY_VERSION)

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test-cpp: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# What the mesh, picture and viewer tests use: trimesh with its format
# dependencies, matplotlib, manifold3d (a peer the tests compare with) and
# Debian's chromium for the viewer test (a system package: installed only
# when missing, with sudo when not root).
test-deps:
	@$(PYTHON) -c "import trimesh, lxml, networkx, matplotlib, manifold3d" 2>/dev/null || \
	  $(PYTHON) -m pip install -q trimesh lxml networkx matplotlib manifold3d
	@command -v chromium >/dev/null 2>&1 || { \
	  [ -n "$(SUDO)" ] && echo "installing chromium (a Debian package, for the HTML viewer test) needs sudo"; \
	  $(SUDO) apt-get update -qq && $(SUDO) apt-get install -y -qq chromium; }

test-python: build test-deps
	PYTHONPATH=$(CURDIR)/$(BUILD) $(PYTHON) -m pytest tests/python -q

test: test-cpp test-python

# The whole test suite on a build where every warning is an error.
strict:
	$(MAKE) test BUILD=build-strict CMAKE_FLAGS=-DCORVANTHIUM_STRICT=ON

# Rewrites the C++ and Python code in the project's style.
format: tools
	clang-format -i $(CPP_SOURCES)
	ruff check --fix -q .
	ruff format -q .

# Fails on a format difference, a lint finding, a layer crossing, a compile
# command without pinned floating-point contraction, or a type error in the
# examples and the package (mypy --strict).
lint: tools configure
	clang-format --dry-run --Werror $(CPP_SOURCES)
	ruff check -q .
	ruff format --check -q .
	$(PYTHON) tools/check_layers.py
	$(PYTHON) tools/check_fp_contract.py $(BUILD)/compile_commands.json
	$(PYTHON) tools/check_types.py

# Builds a wheel and installs it, then runs the demo from another directory.
install: deps
	$(PYTHON) -m pip install -q .

demo: install
	cd examples && $(PYTHON) tour.py && $(PYTHON) demo.py

bench: build
	PYTHONPATH=$(CURDIR)/$(BUILD) $(PYTHON) bench/bench.py all

# Address and undefined-behaviour sanitizers over the C++ tests, then over the
# Python tests with the sanitizer runtimes preloaded into the interpreter (the
# resident-memory tests are left out: the sanitizer's quarantine holds memory;
# so are the tests that start other programs, which would inherit the preload,
# and the address-space caps, which the sanitizer runtime cannot live under).
SANITIZER_PRELOAD = $(shell gcc -print-file-name=libasan.so) $(shell gcc -print-file-name=libubsan.so)
# C++ cases that take minutes under the sanitizers are left out of that pass
# (the strict build runs them; the local engine's also skip themselves there).
SANITIZE_SKIP = Golden.SlowBenchWorkloads LocalPrograms.ManyMoreAgree \
  LocalMeshes.MediumMeshesAgainstTheBspEngine LocalMeshes.LargeSpheresAndCylinders
space := $() $()
SANITIZE_SKIP_REGEX = ^($(subst $(space),|,$(strip $(SANITIZE_SKIP))))$$
sanitize: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANTHIUM_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --test-dir build-asan --output-on-failure -j $(JOBS) -E '$(SANITIZE_SKIP_REGEX)'
	LD_PRELOAD="$(SANITIZER_PRELOAD)" ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  PYTHONPATH=$(CURDIR)/build-asan $(PYTHON) -m pytest tests/python -q -p no:cacheprovider -k "not memory" -m "not subprocess and not address_space"

# The package's fuzz target on the sanitizer build, for FUZZ_SECONDS seconds
# (atheris when it is installed, hypothesis otherwise).
FUZZ_SECONDS ?= 600
fuzz: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANTHIUM_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	LD_PRELOAD="$(SANITIZER_PRELOAD)" ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  CORVANTHIUM_PROGRESS=0 PYTHONPATH=$(CURDIR)/build-asan \
	  $(PYTHON) tests/fuzz/fuzz_corvanthium.py -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=4096 \
	  -artifact_prefix=$(CURDIR)/build-asan/

# The concurrent-reads tests (many threads on the same solids) under
# ThreadSanitizer, in a build of their own.
tsan: deps
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTHIUM_TSAN=ON
	cmake --build build-tsan -j $(JOBS) --target threads_tests
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 build-tsan/threads_tests

clean:
	rm -rf $(BUILD) build-strict build-asan build-tsan
