# SPDX-License-Identifier: GPL-3.0-or-later
# Every target installs what is missing first, so a fresh Debian 12 machine needs nothing else.
BUILD ?= build
SAN_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build test test-sanitize bench run clean

deps:
	@./tools/install-deps

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZQ_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --output-on-failure -j $(JOBS)

run: build
	$(BUILD)/zibble-quarvel

bench: build
	@set -e; for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b --benchmark_min_time=0.2; done
	$(BUILD)/bench/startup_measure $(BUILD)/zibble-quarvel $(BUILD)/bench/text_window $(BUILD)/bench/minimal_window
	$(BUILD)/bench/sound_latency

clean:
	rm -rf $(BUILD) $(SAN_BUILD)

# A long random session on the main window under the sanitizers. SOAK_SEED replays a run
# (the seed is printed); saves go to /dev/shm, where they cost no disk flush.
SOAK_EVENTS ?= 1000000
SOAK_SEED ?= $(shell date +%s)
.PHONY: soak
soak: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZQ_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SAN_BUILD) -j $(JOBS) --target game_tests
	ZQ_SOAK_EVENTS=$(SOAK_EVENTS) ZQ_SOAK_SEED=$(SOAK_SEED) QT_QPA_PLATFORM=offscreen \
		TMPDIR=$$(test -d /dev/shm && echo /dev/shm || echo /tmp) \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		$(SAN_BUILD)/tests/game/game_tests --gtest_filter='Soak.*'

# The shipped Quarvels: the designed figures of resources/quarvel-designs.txt and grown ones
# from a fixed seed, so the data file and the names file beside it are reproducible byte for byte.
LIBRARY_SEED ?= 4711
.PHONY: library
library: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target quarvel-tool
	$(BUILD)/tools/quarvel-tool/quarvel-tool generate --seed $(LIBRARY_SEED) --count 1000 \
		--designs resources/quarvel-designs.txt -o resources/zqvl2.dat
	$(BUILD)/tools/quarvel-tool/quarvel-tool check resources/zqvl2.dat

# Fuzzing the readers of outside input with libFuzzer (clang), FUZZ_SECONDS per target.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
.PHONY: fuzz
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZQ_BUILD_GUI=OFF -DZQ_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	tests/fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Installs the game under PREFIX like a desktop game (DESTDIR stages it for a package);
# uninstall removes the files the last install from $(BUILD) wrote, as its manifest lists them.
PREFIX ?= /usr/local
.PHONY: install uninstall
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)
uninstall:
	cmake --build $(BUILD) --target uninstall

# make test on a minimal Debian 12 tree that gets nothing but make (needs root). The base tree
# is cached in FRESH_CACHE; FRESH_REF is the commit of this repository that is tested.
FRESH_REF ?= HEAD
.PHONY: fresh-check
fresh-check: deps
	./tools/fresh-check $(FRESH_REF)

# The Debian package, built from a copy of the working tree: the .deb, its debug symbols,
# .buildinfo and .changes land in DEB_OUT. deb-test installs the package into this machine
# (needs root), starts the installed game on a virtual display, runs lintian and purges it
# again; it builds the whole program afresh and touches the system, so make test leaves it out.
DEB_OUT ?= $(abspath $(BUILD))/deb
.PHONY: deb deb-test
deb: deps
	JOBS=$(JOBS) nice ./tools/build-deb $(DEB_OUT) "$(CMAKE_FLAGS)"
deb-test: deb
	./tests/install/deb-check.sh $(DEB_OUT) $(CURDIR)
