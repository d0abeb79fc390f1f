# make run   - set up, build, start the program (on Linux under wine)
# make test  - set up, build all three presets, run the native tests and the Windows tests under wine
# make fuzz  - run the picture decoder fuzzer for a bounded time per format
# make dist  - pack the 32-bit program folder (the release) as a zip for Windows users
SHELL := /bin/bash
PRESETS := native win64 win32

.PHONY: setup build test test-native test-win64 run dist fuzz bench $(addprefix build-,$(PRESETS))

setup:
	@tools/setup.sh

build: $(addprefix build-,$(PRESETS))

$(addprefix build-,$(PRESETS)): build-%: setup
	@cmake --preset $* >/dev/null
	@cmake --build --preset $*

test: build
	$(MAKE) --no-print-directory test-native test-win64

test-native:
	ctest --preset native

test-win64:
	tools/wine/with-wine ctest --preset win64

run: build-win64
	@tools/run-program.sh

dist: build-win32
	tools/make-dist.sh

fuzz: setup
	tools/fuzz.sh

bench: build-native
	tools/bench.sh
