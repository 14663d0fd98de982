# One-command entry points: `make run` plays, `make test` checks everything.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifneq ($(CI),)
CMAKE_FLAGS += -DOMBRELIX_WERROR=ON
endif

.PHONY: all deps build run test unit asan fuzz bench rules format clean mutants soak soak-short

all: build

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/ombrelix ]; then cd $(BUILD) && ./ombrelix; \
	else echo "The data is generated in $(BUILD)/data; the game itself arrives with the window layer."; fi

# Every check: house rules, the unit and GL tests, fuzzing, the tests again under sanitizers and
# a short soak of the sanitizer runner.
test: build rules unit fuzz asan soak-short

unit: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DOMBRELIX_SANITIZE=ON $(filter -DOMBRELIX_WERROR=ON,$(CMAKE_FLAGS))
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

fuzz: deps build
	bash tools/run-fuzz.sh

# Not part of `make test`: plants the faults of tools/mutants.tsv one by one and lists survivors.
mutants: deps
	python3 tools/mutants.py --jobs $(JOBS)

# The shipped level flown by a seeded random pilot: 100,000 frames in the release runner beside
# 10,000 in the sanitizer runner; `soak-short` (part of `make test`) flies the latter briefly.
soak: build
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DOMBRELIX_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target ombrelix-headless data level_data
	python3 tools/soak.py --build $(BUILD) --asan-build $(ASAN_BUILD)

soak-short: asan
	python3 tools/soak.py --short --asan-build $(ASAN_BUILD)

bench: build
	@if [ -f bench/run-bench.sh ]; then bash bench/run-bench.sh $(BUILD); \
	else echo "No benchmarks yet."; fi

rules:
	@bash tools/check-rules.sh

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
