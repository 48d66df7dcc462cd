# The two commands of the README:
#   make test   installs what is missing, builds native, asan, win32 and the
#               fuzz targets, runs every test natively and under Wine, and
#               runs each fuzz target briefly.
#   make demo   runs install.exe under Wine on the sample installation set.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: test demo deps native asan win32 win64 fuzz release test-native test-asan test-win32 test-fuzz bench clean

test: deps
	$(MAKE) test-native
	$(MAKE) test-asan
	$(MAKE) test-win32
	$(MAKE) test-fuzz

deps:
	./scripts/install-deps.sh

native asan win32 win64 fuzz release:
	cmake --preset $@ >/dev/null
	cmake --build --preset $@ -j $(JOBS)

test-native: native
	ctest --preset native -j $(JOBS)

test-asan: asan
	ctest --preset asan -j $(JOBS)

# The 32-bit programs are always built. Their tests run under 32-bit Wine
# where the host can execute 32-bit binaries; elsewhere the same code built
# as 64-bit programs is tested under 64-bit Wine.
test-win32: win32
	if ./scripts/host-runs-i386.sh; then \
	  ./scripts/with-wine.sh ctest --preset win32; \
	else \
	  echo "test-win32: this host cannot run 32-bit programs; testing the 64-bit build under Wine"; \
	  $(MAKE) win64 && WINEARCH=win64 ./scripts/with-wine.sh ctest --preset win64; \
	fi

test-fuzz: fuzz
	./scripts/run-fuzzers.sh build/fuzz

bench: deps release
	./bench/run.sh
	./bench/kavpack-bench.sh

# demo.sh builds install.exe itself: the 32-bit build where the host runs
# 32-bit programs, else the 64-bit build of the same code.
demo: deps
	./scripts/demo.sh

clean:
	rm -rf build
