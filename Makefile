# Entry points. Each one installs whatever the build needs first.

JOBS ?= $(shell nproc)
WERROR ?= OFF
FUZZ_SECONDS ?= 60

.PHONY: all deps build test demo bench fuzz format clean windows windows-configure

all: build

deps:
	@tools/install-deps

# Release build: the programs land in build/bin/.
build: deps
	@cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIRVANE_TESTS=OFF \
		-DMIRVANE_WERROR=$(WERROR) >/dev/null
	@cmake --build build -j $(JOBS)

# The Windows build, cross-compiled with mingw-w64 for x86_64 (Release, with
# its tests): build/windows/. libxml2 for Windows is built once from Debian's
# source package and kept in build/deps/.
windows-configure: deps
	@tools/configure-windows x86_64 build/windows $(WERROR)

# The programs for Windows, their zip and their installer:
# dist/mirvane-<version>-win64.zip and dist/mirvane-<version>-setup.exe.
windows: windows-configure
	@cmake --build build/windows -j $(JOBS) --target packages
	@mkdir -p dist && cp build/windows/dist/mirvane-* dist/ && ls dist/mirvane-*

# Every test: the Linux suite, built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows suite under Wine. Line tables
# alone (-g1) are all the sanitizers' reports need, and the largest test
# programs compile in less than half the time they take with full -g. Each
# library compiled as one unit takes about half the time of its files one by
# one; the release build keeps one unit a file, for quick rebuilds.
test: windows-configure
	@cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRVANE_SANITIZE=ON \
		-DMIRVANE_BENCH=OFF -DMIRVANE_WERROR=$(WERROR) \
		-DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
		-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=0 >/dev/null
	@cmake --build build/test -j $(JOBS)
	@cmake --build build/windows -j $(JOBS)
	@JOBS=$(JOBS) tools/run-tests build/test build/windows

demo: build
	@tools/demo

bench: build
	@tools/run-bench

fuzz: deps
	@CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DMIRVANE_FUZZ=ON -DMIRVANE_TESTS=OFF -DMIRVANE_BENCH=OFF >/dev/null
	@cmake --build build/fuzz -j $(JOBS)
	@tools/run-fuzz build/fuzz/bin $(FUZZ_SECONDS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist
