# Set-up and everyday commands. Each target installs what it needs first.
BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
TSAN_DIR     ?= build-tsan
FUZZ_DIR     ?= build-fuzz
JOBS         ?= $(shell nproc)
# Line tables only (-g1): enough for profiles and backtraces, and much quicker to build than -g.
CMAKE_FLAGS  ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
                -DQUENDERLINK_WERROR=ON
# Sanitizer builds only run the tests: -O1 without debug info keeps them quick to build.
CHECK_FLAGS  ?= -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE=-O1 -DQUENDERLINK_WERROR=ON

.PHONY: all bootstrap configure build test test-plain test-sanitize test-tsan run package bench clean fuzz

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD_DIR)/build.ninja: | bootstrap
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

$(SANITIZE_DIR)/build.ninja: | bootstrap
	cmake -S . -B $(SANITIZE_DIR) -G Ninja $(CHECK_FLAGS) -DQUENDERLINK_SANITIZE=ON

$(TSAN_DIR)/build.ninja: | bootstrap
	cmake -S . -B $(TSAN_DIR) -G Ninja $(CHECK_FLAGS) -DQUENDERLINK_TSAN=ON

configure: bootstrap $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: test-plain test-sanitize test-tsan

test-plain: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-sanitize: bootstrap $(SANITIZE_DIR)/build.ninja
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

# Only the tests of the threaded code and of the windows that run it are built with ThreadSanitizer.
test-tsan: bootstrap $(TSAN_DIR)/build.ninja
	cmake --build $(TSAN_DIR) -j $(JOBS) --target net_tests journal_tests survey_tests upload_tests terminal_tests \
	  survey_ui_tests upload_ui_tests exchange_ui_tests shell_ui_tests workers_ui_tests dialogs_ui_tests journal_ui_tests
	cd $(TSAN_DIR) && TSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/QtThreadSanitizer.supp \
	  ctest --output-on-failure -j $(JOBS)

run: build
	$(BUILD_DIR)/src/quenderlink --demo

# The Debian package of the plain build, written into $(BUILD_DIR).
package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	cmake --build $(BUILD_DIR) --target quenderlink_bench -j $(JOBS)
	$(BUILD_DIR)/bench/quenderlink_bench

# Fuzzes every reader of outside input with clang's libFuzzer, each for
# FUZZ_SECONDS, on copies of the seed corpora that grow from run to run; crash
# inputs land in $(FUZZ_DIR).
FUZZ_TARGETS ?= decode_reply site_list import_file settings telnet_receive template_workbook
FUZZ_SECONDS ?= 25
fuzz:
	@scripts/bootstrap fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja $(CMAKE_FLAGS) -DQUENDERLINK_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(addsuffix _fuzzer,$(FUZZ_TARGETS))
	set -e; for target in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$target; \
	  cp tests/fuzz/corpus/$$target/* $(FUZZ_DIR)/corpus/$$target/; \
	  $(FUZZ_DIR)/tests/fuzz/$${target}_fuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/$$target- $(FUZZ_DIR)/corpus/$$target; \
	done

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(TSAN_DIR)
