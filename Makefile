# The two commands of the README: `make run` and `make test`. Both install what is
# missing (Debian packages), configure and build with CMake and Ninja first.
BUILD_DIR ?= build
DEV_DIR ?= build-dev
SAN_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run dev screenshots test test-unit test-sanitize test-fuzz package bench clean

all: build

deps:
	@packaging/install-build-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# `make run ARGS=MIN` starts the reminder mode. Only what running needs is built:
# the program, its data and its window module (the program's dependencies).
run: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target kalvora
	@tools/run-kalvora $(BUILD_DIR) $(ARGS)

# The edit-test loop: an unoptimised build of its own that compiles quickly, and
# the suite on it (`make dev TESTS=e2e` runs the tests whose names match).
dev: deps
	@cmake -S . -B $(DEV_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Dev >/dev/null
	@cmake --build $(DEV_DIR) -j $(JOBS)
	@ctest --test-dir $(DEV_DIR) --output-on-failure -j $(JOBS) $(if $(TESTS),-R '$(TESTS)')

# The pictures of the README: the demo tour, replayed headless into build/tour/.
screenshots: build
	@tools/run-kalvora $(BUILD_DIR) --tour

# The Debian package, into the build folder.
package: build
	@cd $(BUILD_DIR) && cpack

# Everything CI runs: the suite, the suite again under the sanitizers, and a bounded
# fuzzing pass, all built with warnings as errors.
test: test-unit test-sanitize test-fuzz

test-unit: CMAKE_ARGS = -DKALVORA_WERROR=ON
test-unit: build
	@ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The unit, end-to-end and reliability tests again, with the program and the tests
# built with AddressSanitizer and UndefinedBehaviorSanitizer: any report fails
# its test (exit code 86). Tests labelled nosanitize measure what the sanitizers
# distort (memory held over time) and run in test-unit only.
SANITIZER_EXIT = 86
test-sanitize: deps
	@cmake -S . -B $(SAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKALVORA_SANITIZE=ON -DKALVORA_WERROR=ON >/dev/null
	@cmake --build $(SAN_DIR) -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:exitcode=$(SANITIZER_EXIT) \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:exitcode=$(SANITIZER_EXIT) \
	  ctest --test-dir $(SAN_DIR) --output-on-failure -j $(JOBS) -LE nosanitize

# Every fuzz target for FUZZ_SECONDS from its committed seed corpus (only the
# fuzzers and the libraries they need are built here).
FUZZ_SECONDS ?= 60
test-fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKALVORA_FUZZ=ON -DKALVORA_TESTS=OFF -DKALVORA_WERROR=ON >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzzers
	@FUZZ_SECONDS=$(FUZZ_SECONDS) tests/fuzz/run-all $(FUZZ_DIR)

clean:
	rm -rf $(BUILD_DIR) $(DEV_DIR) $(SAN_DIR) $(FUZZ_DIR)
