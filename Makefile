# Entry points for people and CI. Each target installs what it needs first.
BUILD       ?= build
BUILD_ASAN  ?= build-asan
BUILD_TSAN  ?= build-tsan
BUILD_FUZZ  ?= build-fuzz
JOBS        ?= 2
FUZZ_SECONDS ?= 30

.PHONY: all deps build run e2e test asan-test tsan-test fuzz bench deb screenshots format clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja
	cmake --build $(BUILD) -j $(JOBS)

# Sets everything up and runs the program: the desktop program on the user's catalog when there is
# a display; without one it says so and shows pelko-cli's help instead.
PELKO_GUI = $(BUILD)/apps/pelko/pelko
PELKO_CLI = $(BUILD)/apps/pelko-cli/pelko-cli
run: build
	@if [ -z "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
		echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): the desktop program needs one; here is pelko-cli --help."; \
		$(PELKO_CLI) --help; \
	else \
		$(PELKO_GUI); \
	fi

# The Debian package of the build: $(BUILD)/pelko_VERSION_ARCH.deb, with the library
# dependencies computed by dpkg-shlibdeps.
deb: build
	cd $(BUILD) && cpack -G DEB

# The pictures the AppStream metadata shows, made from the real program under Xvfb
# (into $(BUILD)/screenshots).
screenshots: build
	scripts/make-screenshots.sh $(BUILD) $(BUILD)/screenshots

# Just the end-to-end tests: the desktop program driven under Xvfb (ctest label "e2e").
e2e: build
	ctest --test-dir $(BUILD) --output-on-failure -L e2e --no-tests=error

# Sets everything up and runs every test.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test: deps
	cmake -S . -B $(BUILD_ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELKO_SANITIZE=ON -DPELKO_BUILD_BENCH=OFF
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS)

# The tests that run worker threads (ctest label "threads"), built with ThreadSanitizer. Only
# their programs are built; tests/tsan.supp silences what third-party libraries do inside.
# Qt is not built for ThreadSanitizer and synchronises its own thread pool (image conversions,
# pooled runnables) with futexes the sanitizer cannot see, so the allocations Qt makes and frees
# there are ignored (ignore_noninstrumented_modules); every access from our own code is still
# checked.
tsan-test: deps
	cmake -S . -B $(BUILD_TSAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELKO_SANITIZE_THREAD=ON -DPELKO_BUILD_BENCH=OFF
	cmake --build $(BUILD_TSAN) -j $(JOBS) --target thread_tests
	TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 ignore_noninstrumented_modules=1 suppressions=$(CURDIR)/tests/tsan.supp" \
		ctest --test-dir $(BUILD_TSAN) --output-on-failure -j $(JOBS) -L threads --no-tests=error

# Every libFuzzer target for FUZZ_SECONDS from its seed corpus (clang).
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELKO_FUZZ=ON
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	fuzz/run-all.sh $(BUILD_FUZZ)/fuzz $(FUZZ_SECONDS)

# Benchmarks against public tools (not part of the tests). Each script prints its ratios.
BENCH_SCRIPTS = run archive extras search export disc desktop message-pane browse scan-desktop find-desktop
bench: build
	for script in $(BENCH_SCRIPTS); do bench/$$script.sh $(BUILD) || exit 1; done

format:
	find src apps tests bench fuzz -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_TSAN) $(BUILD_FUZZ)
