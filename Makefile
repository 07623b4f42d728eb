# Two commands do all the set-up on a fresh Debian 12 machine:
#   make run   install what is missing, build, write the demo mission, start the game
#   make test  install what is missing, build with sanitizers, run every test
# Also: make build, make bench, make bench-build, make demo, make fuzz, make clean.
#   make fuzz  builds fuzz/ with clang, libFuzzer and the sanitizers and runs
#              every target for FUZZ_SECONDS (300) each, FUZZ_JOBS (4) at once,
#              seeded from the demo mission; crashes land in fuzz/regress/.

SHELL := /bin/bash
JOBS  ?= $(shell nproc)
ROOT  := $(CURDIR)

# Debian packages the build, the tests and the game need.
PACKAGES := cmake ninja-build g++ ccache pkg-config \
            qt6-base-dev libqt6dbus6 libpulse-dev qt6-serialport-dev libgl-dev \
            libgtest-dev libbenchmark-dev \
            pulseaudio pulseaudio-utils sox xvfb xauth fonts-dejavu-core dbus

# Only the fuzzing needs clang and its libFuzzer runtime.
FUZZ_PACKAGES := clang libclang-rt-14-dev

export CCACHE_BASEDIR := $(ROOT)
export CCACHE_NOHASHDIR := true
export CCACHE_COMPILERCHECK := content

RELEASE_DIR := build/release
TEST_DIR    := build/test
BENCH_DIR   := build/bench
FUZZ_DIR    := build/fuzz
FUZZ_SECONDS ?= 300
FUZZ_JOBS    ?= 4
RUN_DIR     := run

CMAKE_COMMON := -G Ninja -DCMAKE_CXX_COMPILER_LAUNCHER=ccache

.PHONY: all deps fuzz-deps build run demo test bench bench-build fuzz clean

all: build

fuzz-deps: PACKAGES += $(FUZZ_PACKAGES)
fuzz-deps: deps

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq$$missing; \
	  else \
	    echo "Missing packages. Run as root:"; \
	    echo "  sudo apt-get update && sudo apt-get install -y$$missing"; exit 1; \
	  fi; \
	fi

$(RELEASE_DIR)/build.ninja:
	cmake -S . -B $(RELEASE_DIR) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release -DKDR_TESTS=OFF

build: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) -j $(JOBS)

# The demo mission is written by our own generator through the game's own
# file routines, into a run directory that holds "Data" and "link.txt".
demo: build
	mkdir -p $(RUN_DIR)
	$(RELEASE_DIR)/kdrdemo $(RUN_DIR)

run: demo
	cd $(RUN_DIR) && ../$(RELEASE_DIR)/kedravin

$(TEST_DIR)/build.ninja:
	cmake -S . -B $(TEST_DIR) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DKDR_SANITIZE=ON -DKDR_TESTS=ON -DKDR_WERROR=ON

test: deps $(TEST_DIR)/build.ninja
	cmake --build $(TEST_DIR) -j $(JOBS)
	tests/run_tests.sh $(TEST_DIR) $(JOBS)

$(BENCH_DIR)/build.ninja:
	cmake -S . -B $(BENCH_DIR) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release -DKDR_TESTS=OFF -DKDR_BENCH=ON

# Builds the benchmarks without running them: CI builds them so they cannot rot.
bench-build: deps $(BENCH_DIR)/build.ninja
	cmake --build $(BENCH_DIR) -j $(JOBS)

# Runs every benchmark; fails when any of them fails.
bench: bench-build
	@status=0; for b in $(BENCH_DIR)/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; "$$b" || { echo "$$b failed"; status=1; }; \
	done; exit $$status

$(FUZZ_DIR)/build.ninja:
	cmake -S . -B $(FUZZ_DIR) $(CMAKE_COMMON) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKDR_TESTS=OFF -DKDR_FUZZ=ON

fuzz: fuzz-deps $(FUZZ_DIR)/build.ninja
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_targets kdrdemo
	fuzz/run_fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_JOBS)

clean:
	rm -rf build $(RUN_DIR)
