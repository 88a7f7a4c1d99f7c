# The whole set-up: `make run` to use Tarvel, `make test` to check it.
# Each target installs what is missing first (Debian packages).

CMAKE_FLAGS := -G Ninja
TEST_DIR := build/test
RELEASE_DIR := build/release
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 600
SOAK_DIR := build/soak
SOAK_SELECTIONS ?= 100000
PREFIX ?= /usr/local

.PHONY: all deps build run test bench bench-compare fuzz fuzz-study soak install format clean

all: build

deps:
	@bash scripts/install-deps

build: deps
	cmake -S . -B $(RELEASE_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release \
	  -DTARVEL_BUILD_TESTS=OFF
	cmake --build $(RELEASE_DIR)

run: build
	@bash scripts/run-trainer $(RELEASE_DIR)

test: deps
	cmake -S . -B $(TEST_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug \
	  -DTARVEL_SANITIZE=ON
	cmake --build $(TEST_DIR)
	cd $(TEST_DIR) && ctest --output-on-failure -j2

# The trainer, tarvel-report, the desktop entry and icons, the library with
# its headers, CMake package and pkg-config file, under PREFIX.
install: build
	cmake --install $(RELEASE_DIR) --prefix $(PREFIX)

bench: build
	@bash scripts/run-bench $(RELEASE_DIR)

# This tree's benchmarks against those of REV, run by turns on one machine:
# make bench-compare REV=main (BENCHES="bench_tracking" for some programs).
bench-compare: deps
	@test -n "$(REV)" || { echo "make bench-compare REV=<revision>"; exit 2; }
	@bash scripts/bench-compare $(REV) $(BENCHES)

# Fuzzes the library's public calls for FUZZ_SECONDS (clang, libFuzzer).
fuzz: deps
	cmake -DTARVEL_ROOT=$(CURDIR) -DBINARY=$(CURDIR)/$(FUZZ_DIR) \
	  -DSECONDS=$(FUZZ_SECONDS) -P tests/fuzz/run.cmake

# Fuzzes the study file reader for FUZZ_SECONDS (clang, libFuzzer).
fuzz-study: deps
	cmake -DTARVEL_ROOT=$(CURDIR) -DBINARY=$(CURDIR)/$(FUZZ_DIR) \
	  -DSECONDS=$(FUZZ_SECONDS) -DFUZZER=fuzz_study -P tests/fuzz/run.cmake

# The long soak, without sanitizers: they bring an allocator and
# bookkeeping of their own, and it is the C library's heap that must stay
# flat.
soak: deps
	cmake -S . -B $(SOAK_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(SOAK_DIR) --target soak_tests
	TARVEL_SOAK_SELECTIONS=$(SOAK_SELECTIONS) $(SOAK_DIR)/tests/soak_tests \
	  --gtest_filter='Soak.Random*'

format:
	find . -path ./build -prune -o \( -name '*.cpp' -o -name "*.h" \) -print | xargs -r clang-format -i

clean:
	rm -rf build
