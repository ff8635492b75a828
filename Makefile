# Set-up, build and tests in one command each; see README.md.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: deps configure build test bench run clean

deps:
	@tools/install-deps.sh

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for program in $(BUILD_DIR)/bin/*_bench; do echo "== $$program"; $$program || exit 1; done

# The editor runs in workspace/ (not in git), which holds copies of the default packs; files
# the user saves land there too.
run: build
	mkdir -p workspace
	cp -n $(BUILD_DIR)/packs/stackmason.zip $(BUILD_DIR)/packs/minecraft.zip workspace/ 2>/dev/null || true
	cd workspace && ../$(BUILD_DIR)/bin/stackmason

clean:
	rm -rf $(BUILD_DIR)
