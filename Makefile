# Set-up and everyday commands. Each target installs what it needs first.
BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
JOBS         ?= $(shell nproc)
CMAKE_FLAGS  ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENDERLINK_WERROR=ON

.PHONY: all bootstrap configure build test test-plain test-sanitize run bench clean

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD_DIR)/build.ninja: | bootstrap
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

$(SANITIZE_DIR)/build.ninja: | bootstrap
	cmake -S . -B $(SANITIZE_DIR) -G Ninja $(CMAKE_FLAGS) -DQUENDERLINK_SANITIZE=ON

configure: bootstrap $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: test-plain test-sanitize

test-plain: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-sanitize: bootstrap $(SANITIZE_DIR)/build.ninja
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

run: build
	$(BUILD_DIR)/src/quenderlink

bench: build
	cmake --build $(BUILD_DIR) --target quenderlink_bench -j $(JOBS)
	$(BUILD_DIR)/bench/quenderlink_bench

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
