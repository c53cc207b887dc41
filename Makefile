# The two commands: `make run` and `make test`. Both install what is missing first.
# `make dist` builds and packs the release zip into dist/.
WIN32_BUILD := build/win32
JOBS := $(shell nproc)

.PHONY: all setup build native run test dist clean

all: build

setup:
	@scripts/setup.sh

build: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j$(JOBS)
	@echo "Mivtra.exe, HOOK.DLL, the help and Readme.txt are in $(WIN32_BUILD)/bin/"

native: setup
	cmake --preset native >/dev/null
	cmake --build --preset native -j$(JOBS)

run: build
	scripts/run.sh $(WIN32_BUILD)

test: build native
	scripts/test.sh

dist: build
	cmake --build --preset win32 --target dist

clean:
	rm -rf build
