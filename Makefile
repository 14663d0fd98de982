# One-command entry points: `make run` plays, `make test` checks everything.
BUILD      ?= build
ASAN_BUILD ?= build-asan
DEB_BUILD  ?= build-deb
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifneq ($(CI),)
CMAKE_FLAGS += -DOMBRELIX_WERROR=ON
endif

.PHONY: all deps build run test unit asan fuzz bench rules format clean package package-check

all: build

deps:
	@bash tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/ombrelix ]; then cd $(BUILD) && ./ombrelix; \
	else echo "The data is generated in $(BUILD)/data; the game itself arrives with the window layer."; fi

# Every check: house rules, the unit and GL tests, fuzzing, then the tests again under sanitizers
# (that build also writes the fighters' per-frame state lines, so their test runs there).
test: build rules unit fuzz asan

unit: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DOMBRELIX_SANITIZE=ON \
	  -DOMBRELIX_ENEMY_STATE_LOG=ON $(filter -DOMBRELIX_WERROR=ON,$(CMAKE_FLAGS))
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

fuzz: deps build
	bash tools/run-fuzz.sh

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
	rm -rf $(BUILD) $(ASAN_BUILD) $(DEB_BUILD) build-fuzz
