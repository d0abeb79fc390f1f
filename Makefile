# make run   - set up, build, start the program (on Linux under wine); ARCH=win32 for the release
# make test  - set up, build all three presets, run the native tests and both builds' Windows tests
#              under wine (the 32-bit ones only where this machine runs 32-bit programs), then the
#              tests labelled locale again under en_US, zh_TW and ja_JP (tools/test-locales.sh)
# make fuzz  - run the picture decoder fuzzer for a bounded time per format
# make dist  - pack the 32-bit program folder (the release) as a zip for Windows users
SHELL := /bin/bash
PRESETS := native win64 win32

.PHONY: setup build test test-native test-win64 test-win32 test-locales run dist fuzz bench screenshots $(addprefix build-,$(PRESETS))

setup:
	@tools/setup.sh

build: $(addprefix build-,$(PRESETS))

$(addprefix build-,$(PRESETS)): build-%: setup
	@cmake --preset $* >/dev/null
	@cmake --build --preset $*

test: build
	$(MAKE) --no-print-directory test-native test-win64 test-win32 test-locales

test-native:
	ctest --preset native

test-win64:
	tools/wine/with-wine ctest --preset win64

test-win32:
	@tools/test-win32.sh

test-locales:
	@tools/test-locales.sh

screenshots: build-win64
	tools/screenshots.sh

# The 64-bit build by default; ARCH=win32 starts the 32-bit release where this machine can run it.
ARCH ?= win64
run: build-$(ARCH)
	@tools/run-program.sh $(ARCH)

dist: build-win32
	tools/make-dist.sh

fuzz: setup
	tools/fuzz.sh

bench: build-native
	tools/bench.sh
