# The README's commands. Each target installs what is missing first.
BUILD      ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
PREFIX     ?= /usr/local
# The Windows tree: cross-compiled with MinGW-w64, tested under wine.
# WIN64=0 leaves it out of `make test`.
WIN_BUILD  ?= build-win64
WIN64      ?= 1

.PHONY: all deps deps-tests configure build run test bench install format sanitize clean \
	configure-win64 build-win64 test-win64 bench-win64

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
	@$(MAKE) --no-print-directory test-win64
endif

configure-win64: deps-tests
	@cmake -S . -B $(WIN_BUILD) --toolchain cmake/mingw-w64-x86_64.cmake \
		-DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DHUEGRAB_BUILD_BENCH=ON >/dev/null

build-win64: configure-win64
	@cmake --build $(WIN_BUILD) -j $(JOBS)

test-win64: build-win64
	@cd $(WIN_BUILD) && ctest --output-on-failure -j $(JOBS)

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
	@rm -rf $(BUILD) build-asan $(WIN_BUILD)
