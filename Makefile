# One-command entry points: `make run` plays, `make test` checks everything.
BUILD      ?= build
ASAN_BUILD ?= build-asan
DEB_BUILD  ?= build-deb
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifneq ($(CI),)
CMAKE_FLAGS += -DOMBRELIX_WERROR=ON
endif

.PHONY: all deps build run test unit asan fuzz fuzz-long bench rules format clean package \
        package-check mutants soak soak-short

all: build

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/ombrelix ]; then cd $(BUILD) && ./ombrelix; \
	else echo "The data is generated in $(BUILD)/data; the game itself arrives with the window layer."; fi

# Every check: house rules, the unit and GL tests, fuzzing, the tests again under sanitizers (that
# build also writes the fighters' per-frame state lines, so their test runs there) and a short
# soak of the sanitizer runner.
test: build rules unit fuzz asan soak-short

unit: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DOMBRELIX_SANITIZE=ON \
	  -DOMBRELIX_ENEMY_STATE_LOG=ON $(filter -DOMBRELIX_WERROR=ON,$(CMAKE_FLAGS))
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

fuzz: deps build
	bash tools/run-fuzz.sh

# Not part of `make test`: every fuzz target to 10 million executions (FUZZ_RUNS), two at a time,
# in its own build folder so that `make fuzz` meanwhile rebuilds nothing it runs. Hours on two cores.
fuzz-long: deps build
	FUZZ_BUILD=build-fuzz-long FUZZ_RUNS=$${FUZZ_RUNS:-10000000} FUZZ_JOBS=$${FUZZ_JOBS:-2} \
	  nice bash tools/run-fuzz.sh

# Not part of `make test`: plants a seeded random sample of small faults one by one, judges each
# by the tests and lists survivors (MUTANTS=N SEED=S make mutants; REVISION=commit judges that
# commit rather than the working tree). An hour or two for 40.
mutants: deps
	python3 tools/mutants.py --jobs $(JOBS) --count $${MUTANTS:-40} --seed $${SEED:-1} \
	  $${REVISION:+--revision $$REVISION}

# The shipped level flown by a seeded random pilot: 100,000 frames in the release runner beside
# 10,000 in the sanitizer runner; `soak-short` (part of `make test`) flies the latter briefly.
soak: build
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DOMBRELIX_SANITIZE=ON \
	  -DOMBRELIX_ENEMY_STATE_LOG=ON $(filter -DOMBRELIX_WERROR=ON,$(CMAKE_FLAGS))
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target ombrelix-headless data level_data
	python3 tools/soak.py --build $(BUILD) --asan-build $(ASAN_BUILD)

soak-short: asan
	python3 tools/soak.py --short --asan-build $(ASAN_BUILD)

bench: build
	@if [ -f bench/run-bench.sh ]; then bash bench/run-bench.sh $(BUILD); \
	else echo "No benchmarks yet."; fi

# The Debian package, built as Debian builds (its hardening flags, /usr, the games layout).
package: deps
	cmake -S . -B $(DEB_BUILD) -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
	  -DOMBRELIX_GAMES_LAYOUT=ON $(filter -DOMBRELIX_WERROR=ON,$(CMAKE_FLAGS)) \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)"
	cmake --build $(DEB_BUILD) -j $(JOBS) --target ombrelix ombrelix-headless data level_data docs
	cd $(DEB_BUILD) && cpack -G DEB

# The package's checks: its metadata, lintian, and the unpacked game played headless.
package-check: package
	bash tools/check-package.sh $(DEB_BUILD)

rules:
	@bash tools/check-rules.sh
	@bash tools/test-ratio.sh || true

format:
	@git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(DEB_BUILD) build-fuzz build-fuzz-long build-mutants
