# Lorvane: `make run` builds and starts the program, `make install` puts it in
# the applications menu, `make test` runs every test.
#
# Build folders: `make run` and `make install` build the program and its
# data-set builder alone in $(RUN_BUILD), without the tests and the
# benchmarks; `make test` and `make bench` build everything in $(BUILD), the
# sanitized core in $(ASAN_BUILD) and the fuzzers (clang) in $(FUZZ_BUILD).

BUILD      ?= build
RUN_BUILD  ?= build-run
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
MAKE_BUILD ?= build-make
DEB_BUILD  ?= build-deb
JOBS       ?= $(shell nproc)
# A USFM Bible, a folder or an archive as downloaded, for the data set (make run
# BIBLE=~/Téléchargements/fraLSG_usfm.zip); without it the
# data come from the SWORD module engWEB2015eb.
BIBLE      ?=
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLORVANE_WERROR=ON
# The program for running: the code of RelWithDebInfo (-O2) without the
# debugging information, which takes a third of the compiler's time.
RUN_OPTIONS = -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
	-DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DLORVANE_WERROR=ON \
	-DLORVANE_TESTS=OFF -DLORVANE_BENCH=OFF
RUN_FLAGS   = -G Ninja $(RUN_OPTIONS)

.PHONY: all deps deps-run build build-run data run install uninstall test test-asan test-fuzz \
	test-makefiles deb bench format clean

all: build

# What building and running need; deps adds what the tests need.
deps-run:
	@scripts/install-deps.sh run

deps:
	@scripts/install-deps.sh test

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

$(RUN_BUILD)/build.ninja: CMakeLists.txt | deps-run
	cmake -S . -B $(RUN_BUILD) $(RUN_FLAGS)

# The program and the data-set builder.
build-run: deps-run $(RUN_BUILD)/build.ninja
	cmake --build $(RUN_BUILD) -j $(JOBS) --target lorvane lorvane-sword-import lorvane-data

data: build-run
	@scripts/prepare-data.sh $(RUN_BUILD)/bin "$(BIBLE)"
	@scripts/prepare-dictionaries.sh $(RUN_BUILD)/bin

run: data
	$(RUN_BUILD)/bin/lorvane

# A per-user installation, without root: the program folder in
# ~/.local/share/lorvane, the launcher ~/.local/bin/lorvane, the menu entry
# and the icons (see scripts/install-paths.sh).
install: data
	cmake --build $(RUN_BUILD) -j $(JOBS) --target lorvane_icons
	@scripts/install.sh $(RUN_BUILD)/bin $(RUN_BUILD)/icons/hicolor

uninstall:
	@scripts/uninstall.sh

# The Debian package lorvane_<version>_amd64.deb, built without root from the
# tracked sources with the data of `make data` (same BIBLE=), and checked
# with lintian, appstreamcli and desktop-file-validate (scripts/build-deb.sh).
deb: data
	@scripts/install-deps.sh deb
	@scripts/build-deb.sh $(RUN_BUILD)/bin $(DEB_BUILD)

test: build test-asan test-fuzz test-makefiles
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The core libraries and their tests under AddressSanitizer and
# UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLORVANE_WERROR=ON \
	    -DLORVANE_CORE_ONLY=ON -DLORVANE_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The libFuzzer targets, built with clang, each run over its seeds and a few
# thousand fresh inputs (tests/fuzz).
test-fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLORVANE_WERROR=ON \
	    -DLORVANE_CORE_ONLY=ON -DLORVANE_TESTS=OFF -DLORVANE_BENCH=OFF \
	    -DLORVANE_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target lorvane_fuzzers
	ctest --test-dir $(FUZZ_BUILD) --output-on-failure -j $(JOBS)

# The program alone with CMake's default generator (Unix Makefiles), so that
# a build step only Ninja copes with cannot come in unnoticed.
test-makefiles: deps
	cmake -S . -B $(MAKE_BUILD) -G "Unix Makefiles" $(RUN_OPTIONS)
	cmake --build $(MAKE_BUILD) -j $(JOBS) --target lorvane

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(RUN_BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(MAKE_BUILD) $(DEB_BUILD)
