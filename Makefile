# Quick start: `make run` starts the program here, `make test` runs every test.
# The program runs in the folder make is started from (where its Orvex.mdb
# lives), so `make -f /path/to/Makefile run` works from any folder.
ROOT       := $(patsubst %/,%,$(dir $(abspath $(lastword $(MAKEFILE_LIST)))))
BUILD      ?= $(ROOT)/build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)

MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run test test-postgres test-browser sanitize bench bench-postgres bench-display fuzz package test-package install clean

all: build

deps:
	@$(ROOT)/tools/install-deps

configure: deps
	@cmake -S $(ROOT) -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/quorvane

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE 'postgres|browser'

# The venue display's pages in a real browser: headless Chromium driven
# through its WebDriver (tools/browser-packages.txt).
test-browser: build
	@$(ROOT)/tools/install-deps $(ROOT)/tools/browser-packages.txt
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -L browser

# The store, seeding, results, standings and teams tests again on a private
# PostgreSQL server (tools/with-postgres), with the tests of several desks.
test-postgres: build
	cd $(BUILD) && $(ROOT)/tools/with-postgres env QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -L postgres

# Every test again on a Debug build with AddressSanitizer and
# UndefinedBehaviorSanitizer, in its own folder; any finding fails the test.
SANITIZE_BUILD ?= $(BUILD)-sanitize
SANITIZER_ENV = ASAN_OPTIONS=abort_on_error=0:halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
    LSAN_OPTIONS=suppressions=$(ROOT)/tools/lsan-suppressions.txt:print_suppressions=0 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
sanitize: deps
	@cmake -S $(ROOT) -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) -LE 'postgres|browser'

bench: build
	@set -e; for b in $(BUILD)/bench/bench_*; do \
	    [ -f "$$b" ] && [ -x "$$b" ] || continue; \
	    [ "$$(basename "$$b")" = bench_display ] && continue; \
	    echo "== $$b"; QT_QPA_PLATFORM=offscreen "$$b"; done

# The standings and seeding benchmarks on a private PostgreSQL server.
bench-postgres: build
	@$(ROOT)/tools/with-postgres sh -c 'for b in $(BUILD)/bench/bench_standings $(BUILD)/bench/bench_seeding; do \
	    echo "== $$b on PostgreSQL"; QT_QPA_PLATFORM=offscreen QUORVANE_TEST_STORE=postgres "$$b" || exit 1; done'

# The venue display under load: wrk against its pages and against nginx
# serving the same standings page (tools/bench-display-packages.txt).
bench-display: build
	@$(ROOT)/tools/install-deps $(ROOT)/tools/bench-display-packages.txt
	@QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_display

# Fuzzing needs clang's libFuzzer; FUZZ_SECONDS bounds each target's run.
FUZZ_SECONDS ?= 60
fuzz: deps
	@command -v clang++ >/dev/null || { echo "fuzz: clang++ is not installed"; exit 1; }
	@CXX=clang++ cmake -S $(ROOT) -B $(BUILD)-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_FUZZ=ON >/dev/null
	@cmake --build $(BUILD)-fuzz -j $(JOBS) --target fuzz_targets
	@set -e; for f in $(BUILD)-fuzz/fuzz/fuzz_*; do \
	    [ -f "$$f" ] && [ -x "$$f" ] || continue; \
	    echo "== $$f"; mkdir -p $(BUILD)-fuzz/corpus/$$(basename $$f); \
	    $$f -max_total_time=$(FUZZ_SECONDS) $(BUILD)-fuzz/corpus/$$(basename $$f) $(ROOT)/fuzz/seeds/$$(basename $$f); done

# The Debian package, made by CPack in the build folder; prints its path.
package: build
	@$(ROOT)/tools/install-deps $(ROOT)/tools/package-packages.txt
	@cd $(BUILD) && out=$$(cpack -G DEB 2>&1) || { echo "$$out"; exit 1; }; \
	    echo "$$out" | sed -n 's/^CPack: - package: \(.*\) generated\.$$/\1/p'

# The package validated, installed on this machine (as root, or with sudo),
# started as the menu starts it, and removed again.
test-package:
	@BUILD=$(BUILD) $(ROOT)/tools/test-package

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-fuzz $(SANITIZE_BUILD)
