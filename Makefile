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

# The Windows builds, cross-compiled with mingw-w64 (Release, with their
# tests): build/windows/ for x86_64, build/windows-i686/ for i686, which also
# makes the one installer for both. libxml2 for Windows is built once from
# Debian's source package and kept in build/deps/.
windows-configure: deps
	@tools/configure-windows x86_64 build/windows $(WERROR)
	@tools/configure-windows i686 build/windows-i686 $(WERROR)

# The programs for Windows, their zips and their installer:
# dist/mirvane-<version>-win64.zip, -win32.zip and -setup.exe. Signed
# (Authenticode) when given a certificate and its key (tools/sign-windows):
#   make windows SIGN_CERT=cert.pem SIGN_KEY=key.pem [SIGN_PASS_FILE=pass.txt] [SIGN_TIMESTAMP=URL]
windows: windows-configure
	@cmake --build build/windows -j $(JOBS) --target packages
	@cmake --build build/windows-i686 -j $(JOBS) --target packages
	@mkdir -p dist && cp build/windows/dist/mirvane-*-win64.zip build/windows-i686/dist/mirvane-*-win32.zip \
		build/windows-i686/dist/mirvane-*-setup.exe dist/ && \
		ls dist/mirvane-*

# Every test: the Linux suite, built with AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows suites under Wine, 64-bit and
# 32-bit. Line tables alone (-g1) are all the sanitizers' reports need, and
# the largest test programs compile in less than half the time they take
# with full -g. Each library compiled as one unit takes about half the time
# of its files one by one; the release build keeps one unit a file, for
# quick rebuilds. The Windows programs and the installer are signed with a
# throw-away certificate, which the tests check them against.
TEST_SIGNING = $(CURDIR)/build/test-signing
test: deps
	@tests/win/make-test-certificate $(TEST_SIGNING)
	@$(MAKE) --no-print-directory windows-configure SIGN_CERT=$(TEST_SIGNING)/certificado.pem \
		SIGN_KEY=$(TEST_SIGNING)/clave.pem SIGN_PASS_FILE= SIGN_TIMESTAMP=
	@cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRVANE_SANITIZE=ON \
		-DMIRVANE_BENCH=OFF -DMIRVANE_WERROR=$(WERROR) \
		-DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
		-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=0 >/dev/null
	@cmake --build build/test -j $(JOBS)
	@cmake --build build/windows -j $(JOBS)
	@cmake --build build/windows-i686 -j $(JOBS)
	@JOBS=$(JOBS) tools/run-tests build/test build/windows build/windows-i686

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
