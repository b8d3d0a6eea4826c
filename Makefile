# Wraps CMake so that nobody needs to know it: make, make demo, make test, make install.
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Extra CMake settings, e.g. CMAKE_FLAGS=-DZELGRIN_WERROR=ON as CI builds.
CMAKE_FLAGS ?=
CMAKE_GENERATOR ?= $(if $(shell command -v ninja 2>/dev/null),Ninja,Unix Makefiles)

.PHONY: all build demo test test-deps sanitize tsan fuzz bench install clean

all: build

# The Debian packages the build needs, checked (and installed when missing) once per build
# folder before its first configuration, and again when the package list changes.
%/.deps-installed: tools/install-deps.sh
	sh tools/install-deps.sh build
	@mkdir -p $(@D) && touch $@

$(BUILD)/CMakeCache.txt: | $(BUILD)/.deps-installed
	cmake -S . -B $(BUILD) -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

build: $(BUILD)/.deps-installed $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The demo needs the two programs only, not the tests.
demo: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target zelgrin zelgrin-export
	@sh examples/demo.sh $(abspath $(BUILD))/zelgrin

# The Debian packages some tests need (consumers of the exports, a second MRT decoder);
# installs only what is missing.
test-deps:
	@sh tools/install-deps.sh test

test: build test-deps
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/CMakeCache.txt: | $(ASAN_BUILD)/.deps-installed
	cmake -S . -B $(ASAN_BUILD) -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=Debug -DZELGRIN_SANITIZE=ON $(CMAKE_FLAGS)

sanitize: $(ASAN_BUILD)/CMakeCache.txt test-deps
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The tests once more under ThreadSanitizer, for the reader threads of -j (ThreadSanitizer
# fails a test on any data race it sees). Left out: the resource tests, millions of records that
# run past their time bound ten times slower under it, with no memory cap (its shadow memory
# leaves no room for ulimit -v), and the Dask tests (Python around the program): neither runs a
# thread of the program that build.threads_identical does not.
$(TSAN_BUILD)/CMakeCache.txt: | $(TSAN_BUILD)/.deps-installed
	cmake -S . -B $(TSAN_BUILD) -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELGRIN_TSAN=ON $(CMAKE_FLAGS)

tsan: $(TSAN_BUILD)/CMakeCache.txt test-deps
	cmake --build $(TSAN_BUILD) -j $(JOBS)
	cd $(TSAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE "resource|dask"

fuzz:
	sh fuzz/run.sh $(FUZZ_SECONDS)

bench: build-bench/.deps-installed
	cmake -S . -B build-bench -G "$(CMAKE_GENERATOR)" -DCMAKE_BUILD_TYPE=Release -DZELGRIN_BENCH=ON -DZELGRIN_TESTS=OFF
	cmake --build build-bench -j $(JOBS)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) build-bench build-fuzz
