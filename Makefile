# Lorvane: `make run` builds and starts the program, `make install` puts it in
# the applications menu, `make test` runs every test.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
# A USFM Bible, a folder or an archive as downloaded, for the data set (make run
# BIBLE=~/Téléchargements/fraLSG_usfm.zip); without it the
# data come from the SWORD module engWEB2015eb.
BIBLE      ?=
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLORVANE_WERROR=ON

.PHONY: all deps build data run install uninstall test test-asan bench format clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

data: build
	@scripts/prepare-data.sh $(BUILD)/bin "$(BIBLE)"

run: data
	$(BUILD)/bin/lorvane

# A per-user installation, without root: the program folder in
# ~/.local/share/lorvane, the launcher ~/.local/bin/lorvane, the menu entry
# and the icons (see scripts/install-paths.sh).
install: data
	@scripts/install.sh $(BUILD)/bin $(BUILD)/icons/hicolor

uninstall:
	@scripts/uninstall.sh

test: build test-asan
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The core libraries and their tests under AddressSanitizer and
# UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLORVANE_WERROR=ON \
	    -DLORVANE_CORE_ONLY=ON -DLORVANE_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
