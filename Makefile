# The two commands of the README. Each one prepares the machine first, so a fresh
# clone needs nothing else.
BUILD_RUN   := build/release
BUILD_TEST  := build/test
BUILD_BENCH := build/bench
PROGRAM_DIR := dist/Kestrelon
JOBS        ?= $(shell nproc)

.PHONY: run test bench setup clean

setup:
	@bash scripts/setup.sh

run: setup
	cmake -S . -B $(BUILD_RUN) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKST_TESTS=OFF
	cmake --build $(BUILD_RUN) -j $(JOBS)
	bash scripts/deploy.sh $(BUILD_RUN) $(PROGRAM_DIR)
	$(PROGRAM_DIR)/kestrelon

test: setup
	cmake -S . -B $(BUILD_TEST) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKST_SANITIZE=ON -DKST_TESTS=ON
	cmake --build $(BUILD_TEST) -j $(JOBS)
	bash scripts/run-tests.sh $(BUILD_TEST)

bench: setup
	cmake -S . -B $(BUILD_BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKST_TESTS=OFF -DKST_BENCH=ON
	cmake --build $(BUILD_BENCH) -j $(JOBS)
	bash scripts/run-bench.sh $(BUILD_BENCH)

# Only build trees go; the program folder under dist/ holds the user's profiles and preferences.
clean:
	rm -rf build
