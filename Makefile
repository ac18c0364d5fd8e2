# SPDX-License-Identifier: GPL-3.0-or-later
# The README's commands. Each target installs what is missing first.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
PREFIX     ?= /usr/local
# The Windows tree: cross-compiled with MinGW-w64, tested under wine.
# WIN64=0 leaves it out of `make test`. With the static Qt for Windows in the
# user's cache (`make qt-win64`, once per machine) it builds huegrab.exe too;
# `make test` builds that Qt when it is missing, unless QT_WIN64=0.
WIN_BUILD  ?= build-win64
WIN64      ?= 1
QT_WIN64   ?= 1
VERSION    := $(shell sed -n 's/^project.huegrab VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

.PHONY: all deps deps-tests configure build run test bench install format sanitize clean \
	qt-win64 configure-win64 build-win64 test-win64 bench-win64 dist-win64

all: build

deps:
	@scripts/install-deps

deps-tests:
	@scripts/install-deps --for-tests

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DHUEGRAB_BUILD_BENCH=ON $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-huegrab $(BUILD)/app/huegrab

# The native suite, then the Windows one.
test: deps-tests build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
ifeq ($(WIN64),1)
ifeq ($(QT_WIN64),1)
	@$(MAKE) --no-print-directory qt-win64
endif
	@$(MAKE) --no-print-directory test-win64
endif

# The static Qt for Windows, built from Debian's qt6-base source into
# ~/.cache/huegrab once per machine (about half an hour of CPU); afterwards it
# says it is there.
qt-win64: deps-tests
	@JOBS=$(JOBS) scripts/build-qt-win64

configure-win64: deps-tests
	@scripts/configure-win64 $(WIN_BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DHUEGRAB_BUILD_BENCH=ON >/dev/null

build-win64: configure-win64
	@cmake --build $(WIN_BUILD) -j $(JOBS)

# Without the Windows Qt, huegrab.exe and its tests under wine are left out.
test-win64: build-win64
	@scripts/build-qt-win64 --ready >/dev/null || \
		echo "test-win64: huegrab.exe tests skipped: no Windows Qt in the cache (make qt-win64 builds it)"
	@cd $(WIN_BUILD) && ctest --output-on-failure -j $(JOBS)

# dist/huegrab-<version>-win64.zip: both programs, a README for Windows
# users and the licence. Needs the Windows Qt.
dist-win64: qt-win64 build-win64
	@scripts/dist-win64 $(WIN_BUILD) dist/huegrab-$(VERSION)-win64.zip

bench: build
	@scripts/run-benchmarks $(BUILD)

# Both programs, the launcher entry, AppStream data, icons and the shell
# completion under $(PREFIX); DESTDIR=… stages them for a package.
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# The Win32 screen-read benchmark, under wine on a private Xvfb.
bench-win64: build-win64
	@scripts/wine-desktop up $(WIN_BUILD)/wine >/dev/null; \
	scripts/wine-desktop run $(WIN_BUILD)/wine $(WIN_BUILD)/bench/win32/huegrab_bench_win32_screen.exe; \
	status=$$?; scripts/wine-desktop down $(WIN_BUILD)/wine >/dev/null; exit $$status

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	@$(MAKE) --no-print-directory test BUILD=build-asan BUILD_TYPE=Debug CMAKE_ARGS=-DHUEGRAB_SANITIZE=ON WIN64=0

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) build-asan $(WIN_BUILD) dist
