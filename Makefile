# Front door: `make run` opens the window, `make test` runs every test.
# Each target installs missing Debian packages (tools/debian-packages.txt) and builds first.

BUILD      := build
ASAN_BUILD := build-asan
BENCH_BUILD := build-release
CMAKE_GEN  := -G Ninja
BENCH_DIR  ?=

.PHONY: all deps build build-asan test run bench clean

all: build

deps:
	@sh tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
	@cmake --build $(BUILD)

build-asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTOVRIK_SANITIZE=ON -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
	@cmake --build $(ASAN_BUILD)

test: build build-asan
	@echo "== tests ($(BUILD))"
	@ctest --test-dir $(BUILD) --output-on-failure
	@echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer ($(ASAN_BUILD))"
	@ctest --test-dir $(ASAN_BUILD) --output-on-failure

run: build
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	    echo "There is no display to open the window on. Run it under a virtual one with" >&2; \
	    echo "    xvfb-run make run" >&2; \
	    echo "or use the command-line tool: $(BUILD)/tovrik-cut --help" >&2; \
	    exit 1; \
	fi
	@$(BUILD)/tovrik

bench: deps
	@cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_BUILD) --target tovrik-cut make_bench_tree window_run
	@sh bench/run.sh $(BENCH_BUILD) $(BENCH_DIR)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD)
