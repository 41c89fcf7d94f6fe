# Entry points. Each one installs whatever the build needs first.

JOBS ?= $(shell nproc)
WERROR ?= OFF
FUZZ_SECONDS ?= 60

.PHONY: all deps build test demo bench fuzz format clean

all: build

deps:
	@tools/install-deps

# Release build: the programs land in build/bin/.
build: deps
	@cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIRVANE_TESTS=OFF \
		-DMIRVANE_WERROR=$(WERROR) >/dev/null
	@cmake --build build -j $(JOBS)

# Every test, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test: deps
	@cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRVANE_SANITIZE=ON \
		-DMIRVANE_BENCH=OFF -DMIRVANE_WERROR=$(WERROR) \
		-DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
	@cmake --build build/test -j $(JOBS)
	@cd build/test && ctest --output-on-failure -j $(JOBS)

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
	rm -rf build
