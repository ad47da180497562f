# The whole set-up: `make run`, `make test` and `make package` install what is
# missing, build and then start the program, run every test or make the
# Debian packages.

BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Reproducible builds: the time stamps in the packages (CPack) and in the
# embedded icons (rcc) are the last commit's time. Outside a git checkout,
# the time of CMakeLists.txt stands in: `git archive` gives every file the
# commit's time.
SOURCE_DATE_EPOCH ?= $(shell git -C "$(CURDIR)" log -1 --format=%ct 2>/dev/null \
	|| stat -c %Y "$(CURDIR)/CMakeLists.txt")
export SOURCE_DATE_EPOCH

# Quality checks (see "Checks beyond the tests" in docs/testing.md).
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_TIME ?= 120
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$(CURDIR)/tests/sanitizers/ubsan.supp \
	TALLYBELL_LONG_RUN=reduced

.PHONY: all deps configure build run run-countdown run-tallybell test package check-packages update-expected \
	windows test-windows package-windows bench clean test-sanitize test-locales test-wayland fuzz fuzz-merge lint

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR) --parallel $(JOBS)

# Countdown is drawn in the LCARS face, which few machines have; where
# fontconfig finds none, the sentence would be cut off, so `make run` starts
# Tallybell-3, the build in Arial, instead.
run: build
	@if fc-list -q LCARS; then \
		echo "make run: starting Countdown (fontconfig has the LCARS face it is drawn in)"; \
		exec $(BUILD_DIR)/bin/Countdown; \
	else \
		echo "make run: starting Tallybell-3, the build in Arial (no LCARS face for Countdown here; make run-countdown starts it anyway)"; \
		exec $(BUILD_DIR)/bin/Tallybell-3; \
	fi

run-countdown: build
	$(BUILD_DIR)/bin/Countdown

run-tallybell: build
	$(BUILD_DIR)/bin/Tallybell-3

# The tests run in a zone whose offset is no whole number of hours, so that a
# clock read in UTC, or in any whole-hour zone, shows.
TEST_ZONE ?= Asia/Kathmandu
test: build
	cd $(BUILD_DIR) && TZ=$(TEST_ZONE) QT_QPA_PLATFORM=offscreen \
		ctest --output-on-failure --parallel $(JOBS)

# One Debian package per deliverable, in $(BUILD_DIR).
package: build
	cmake --build $(BUILD_DIR) --target package

# What a Debian maintainer checks of the packages: their fields and files,
# then lintian, which fails on any error or warning.
check-packages: package
	@scripts/install-deps.sh package
	DELIVERABLE_FACTS=$(BUILD_DIR)/tests/support/deliverables.json \
		python3 tests/deliverables/check_deliverables.py packages $(BUILD_DIR)/*.deb
	lintian --fail-on error,warning --info --pedantic $(BUILD_DIR)/*.deb

# The expected files of tests/deliverables/expected rewritten from the build,
# after a change of a deliverable's settings: review the diff it makes.
update-expected: build
	cmake --build $(BUILD_DIR) --target update-expected

# The Windows executables, cross-built with MinGW-w64 against a static Qt that
# scripts/build-qt-windows.sh makes from Debian's own source (once: it is
# kept in ~/.cache/tallybell), then their tests under Wine (with their
# installers') and their zips and installers.
WINDOWS_DIR ?= build-windows
windows: deps
	@scripts/install-deps.sh windows
	@qt=$$(scripts/build-qt-windows.sh) && \
	cmake -S . -B $(WINDOWS_DIR) -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
		-DCMAKE_FIND_ROOT_PATH="$$qt" -DCMAKE_PREFIX_PATH="$$qt" \
		-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/$$(gcc -print-multiarch)/cmake
	cmake --build $(WINDOWS_DIR) --parallel $(JOBS) --target Countdown Tallybell-3
	@ls -l $(WINDOWS_DIR)/bin/*.exe

test-windows: windows
	cmake --build $(WINDOWS_DIR) --parallel $(JOBS)
	cmake --build $(WINDOWS_DIR) --target package-windows
	tests/support/run_windows_tests.sh $(WINDOWS_DIR)

package-windows: windows
	cmake --build $(WINDOWS_DIR) --target package-windows

# The benchmark of bench/ (not part of test): the in-process round, then the
# program and the bare Qt reference clock side by side under Xvfb. It has a
# build folder of its own, so that the usual build stays without it.
BENCH_DIR ?= $(BUILD_DIR)-bench
bench: deps
	@scripts/install-deps.sh bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DTALLYBELL_BENCH=ON -DBUILD_TESTING=OFF
	cmake --build $(BENCH_DIR) --parallel $(JOBS)
	QT_QPA_PLATFORM=offscreen QT_QPA_OFFSCREEN_NO_GLX=1 $(BENCH_DIR)/bin/bench_round \
	    --benchmark_out=$(BENCH_DIR)/bench_round.json --benchmark_out_format=json
	FLOOR=1 ROUND_JSON=$(BENCH_DIR)/bench_round.json bench/compare.sh \
	    $(BENCH_DIR)/bin/Countdown $(BENCH_DIR)/bin/reference_clock

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# in a build of its own; the long run covers a shorter range there.
test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DTALLYBELL_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) --parallel $(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen \
		ctest --output-on-failure --parallel $(JOBS)

# Both programs on a private headless Weston through Qt's Wayland platform:
# each must keep running and print nothing on stderr.
test-wayland: build
	@scripts/install-deps.sh wayland
	tests/app/check_wayland.sh $(BUILD_DIR)/bin/Countdown $(BUILD_DIR)/bin/Tallybell-3

# Every test but the long run again under a German and the C locale, then in
# a zone half an hour off the whole-hour zones.
test-locales: build
	@scripts/install-deps.sh locales
	@locale -a | grep -qix 'de_DE\.utf-\?8' || { echo "de_DE.UTF-8 is not available" >&2; exit 1; }
	cd $(BUILD_DIR) && LC_ALL=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen \
		ctest --output-on-failure --parallel $(JOBS) --label-exclude long
	cd $(BUILD_DIR) && env -u LC_ALL -u LANGUAGE LANG=C QT_QPA_PLATFORM=offscreen \
		ctest --output-on-failure --parallel $(JOBS) --label-exclude long
	cd $(BUILD_DIR) && TZ=America/St_Johns QT_QPA_PLATFORM=offscreen \
		ctest --output-on-failure --parallel $(JOBS) --label-exclude long

# Fuzzes the text-to-number conversion for FUZZ_TIME seconds, starting from
# the kept corpus; new inputs collect in $(FUZZ_DIR)/corpus.
fuzz:
	@scripts/install-deps.sh fuzz
	CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DTALLYBELL_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_DIR) --target number_fuzzer --parallel $(JOBS)
	mkdir -p $(FUZZ_DIR)/corpus $(FUZZ_DIR)/artifacts
	$(FUZZ_DIR)/bin/number_fuzzer -dict=fuzz/number.dict -max_len=128 -timeout=2 \
		-max_total_time=$(FUZZ_TIME) -print_final_stats=1 \
		-artifact_prefix=$(FUZZ_DIR)/artifacts/ $(FUZZ_DIR)/corpus fuzz/corpus

# Keeps in fuzz/corpus the smallest set of inputs that covers what the
# fuzzer's corpus covers.
fuzz-merge:
	$(FUZZ_DIR)/bin/number_fuzzer -merge=1 -use_counters=0 fuzz/corpus $(FUZZ_DIR)/corpus

# clang-format and clang-tidy on src/ and tests/, cppcheck on src/, with the
# compile commands of the build.
lint: build
	@scripts/install-deps.sh lint
	scripts/lint.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(WINDOWS_DIR) $(BENCH_DIR)
