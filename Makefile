# The whole set-up: `make run`, `make test` and `make package` install what is
# missing, build and then start the program, run every test or make the
# Debian packages.

BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run run-tallybell test package bench clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD_DIR) --parallel $(JOBS)

run: build
	$(BUILD_DIR)/bin/Countdown

run-tallybell: build
	$(BUILD_DIR)/bin/Tallybell-3

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel $(JOBS)

# One Debian package per deliverable, in $(BUILD_DIR).
package: build
	cmake --build $(BUILD_DIR) --target package

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

clean:
	rm -rf $(BUILD_DIR)
