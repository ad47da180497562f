# The whole set-up: `make run` and `make test` install what is missing, build
# and then start the program or run every test.

BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build run run-tallybell test bench clean

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

# The benchmark of bench/ (not part of test): the in-process round, then the
# program and the bare Qt reference clock side by side under Xvfb.
bench: deps
	@scripts/install-deps.sh bench
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DTALLYBELL_BENCH=ON
	cmake --build $(BUILD_DIR) --parallel $(JOBS)
	QT_QPA_PLATFORM=offscreen QT_QPA_OFFSCREEN_NO_GLX=1 $(BUILD_DIR)/bin/bench_round \
	    --benchmark_out=$(BUILD_DIR)/bench_round.json --benchmark_out_format=json
	FLOOR=1 ROUND_JSON=$(BUILD_DIR)/bench_round.json bench/compare.sh \
	    $(BUILD_DIR)/bin/Countdown $(BUILD_DIR)/bin/reference_clock

clean:
	rm -rf $(BUILD_DIR)
