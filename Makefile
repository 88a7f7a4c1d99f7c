# The whole set-up: `make run` to use Tarvel, `make test` to check it.
# Each target installs what is missing first (Debian packages).

CMAKE_FLAGS := -G Ninja
TEST_DIR := build/test
RELEASE_DIR := build/release

.PHONY: all deps build run test bench format clean

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

bench: build
	@bash scripts/run-bench $(RELEASE_DIR)

format:
	find . -path ./build -prune -o \( -name '*.cpp' -o -name "*.h" \) -print | xargs -r clang-format -i

clean:
	rm -rf build
