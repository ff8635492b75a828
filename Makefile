# Set-up, build and tests in one command each; see README.md.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# Warnings stay warnings unless asked otherwise; CI (.ci/run) makes them errors.
WARNINGS_AS_ERRORS ?= OFF
WARNINGS_OPTION = -DSTACKMASON_WARNINGS_AS_ERRORS=$(WARNINGS_AS_ERRORS)

.PHONY: deps configure build test bench run clean fuzz sanitize warnings

deps:
	@tools/install-deps.sh

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(WARNINGS_OPTION)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Every benchmark program under a virtual display (the frame benchmarks need one); fails
# when a program fails or any benchmark reports an error.
bench: build
	tools/run-benchmarks.sh $(BUILD_DIR)

# The editor runs in workspace/ (not in git), which holds copies of the default packs; files
# the user saves land there too.
run: build
	mkdir -p workspace
	cp -n $(BUILD_DIR)/packs/stackmason.zip $(BUILD_DIR)/packs/minecraft.zip $(BUILD_DIR)/packs/gameblocks.zip workspace/ 2>/dev/null || true
	cd workspace && ../$(BUILD_DIR)/bin/stackmason

# libFuzzer targets (clang, with ASan and UBSan) for every reader of outside data; each runs
# FUZZ_SECONDS, two at a time. Seeds are written from the project's own files into
# $(FUZZ_DIR)/fuzz/seeds; the corpora grow in $(FUZZ_DIR)/fuzz/corpus between runs.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	    -DCMAKE_CXX_COMPILER=clang++ -DSTACKMASON_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_targets
	fuzz/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The whole test suite built with GCC's AddressSanitizer (leak checking included) and
# UndefinedBehaviorSanitizer, asserts on, and run; the first fault stops its test.
SANITIZE_DIR ?= build-sanitize
SANITIZE_FLAGS = -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined
SANITIZE_ASAN = detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
SANITIZE_ENV = LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer-suppressions.txt:print_suppressions=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# Tests that fault on purpose to see the program's own handler take over; the sanitizers
# stop them at the fault first, as they should.
SANITIZE_SKIP = FatalErrorHandler.ReportsTheRunningStepAndEndsWithExitCodeZero
# Frames drawn through Mesa under Xvfb: the driver's allocations at exit cannot be told
# apart from ours once it is unloaded, so these run without leak checking (the same scene
# code runs with it in preview_tests).
SANITIZE_GL = preview_gl_tests
sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Sanitize $(WARNINGS_OPTION) \
	    -DCMAKE_C_FLAGS_SANITIZE="$(SANITIZE_FLAGS)" -DCMAKE_CXX_FLAGS_SANITIZE="$(SANITIZE_FLAGS)" \
	    -DCMAKE_EXE_LINKER_FLAGS_SANITIZE="-fsanitize=address,undefined"
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZE_ENV) ASAN_OPTIONS=$(SANITIZE_ASAN) \
	    ctest --output-on-failure -j $(JOBS) -E '$(SANITIZE_SKIP)|$(SANITIZE_GL)'
	cd $(SANITIZE_DIR) && $(SANITIZE_ENV) ASAN_OPTIONS=$(SANITIZE_ASAN):detect_leaks=0 \
	    ctest --output-on-failure -R '$(SANITIZE_GL)'

# The builds a user or packager may make besides the default one, compiled (not run) with
# warnings as errors, each in its own folder: GCC's Release and Debug, and clang.
WARNINGS_DIR ?= build-warnings
warnings: deps
	cmake -S . -B $(WARNINGS_DIR)/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTACKMASON_WARNINGS_AS_ERRORS=ON
	cmake --build $(WARNINGS_DIR)/release -j $(JOBS)
	cmake -S . -B $(WARNINGS_DIR)/debug -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSTACKMASON_WARNINGS_AS_ERRORS=ON
	cmake --build $(WARNINGS_DIR)/debug -j $(JOBS)
	cmake -S . -B $(WARNINGS_DIR)/clang -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	    -DCMAKE_CXX_COMPILER=clang++ -DSTACKMASON_WARNINGS_AS_ERRORS=ON
	cmake --build $(WARNINGS_DIR)/clang -j $(JOBS)

# Every build folder the targets above make; workspace/ holds the user's buildings and stays.
clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(WARNINGS_DIR)
