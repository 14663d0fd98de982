# One-command entry points: `make run` plays, `make test` checks everything.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifneq ($(CI),)
CMAKE_FLAGS += -DOMBRELIX_WERROR=ON
endif

.PHONY: all deps build run test unit asan fuzz bench rules format clean mutants soak

all: build

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/ombrelix ]; then cd $(BUILD) && ./ombrelix; \
	else echo "The data is generated in $(BUILD)/data; the game itself arrives with the window layer."; fi

# Every check: house rules, the unit and GL tests, fuzzing, then the tests again under sanitizers.
test: build rules unit fuzz asan

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

bench: build
	@if [ -f bench/run-bench.sh ]; then bash bench/run-bench.sh $(BUILD); \
	else echo "No benchmarks yet."; fi

rules:
	@bash tools/check-rules.sh

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz
