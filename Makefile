# The two commands of the README:
#   make test   installs what is missing, builds native, asan, win32 and the
#               fuzz targets, runs every test natively and under Wine, and
#               runs each fuzz target briefly, and checks the formatting.
#   make demo   runs install.exe under Wine on the sample installation set.
# and, on demand, make fuzz FUZZ_SECONDS=N: every fuzz target for N seconds.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
# Seconds per fuzz target: make test's brief run, and make fuzz.
TEST_FUZZ_SECONDS ?= 20
FUZZ_SECONDS ?= 600

.PHONY: test demo deps native asan win32 win64 fuzzers release test-native test-asan test-win32 test-fuzz fuzz bench clean

test: deps
	$(MAKE) test-native
	$(MAKE) test-asan
	$(MAKE) test-win32
	$(MAKE) test-fuzz
	$(MAKE) format-check

deps:
	./scripts/install-deps.sh

native asan win32 win64 release:
	cmake --preset $@ >/dev/null
	cmake --build --preset $@ -j $(JOBS)

# The fuzz targets twice: fuzzer instrumentation only (fast, to fuzz with)
# and with ASan and UBSan (to replay what the fast ones found).
fuzzers:
	for preset in fuzz-fast fuzz; do \
	  cmake --preset $$preset >/dev/null && \
	  cmake --build --preset $$preset -j $(JOBS) --target fuzzers || exit 1; \
	done

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

test-fuzz: fuzzers
	./scripts/run-fuzzers.sh build/fuzz-fast build/fuzz $(TEST_FUZZ_SECONDS)

fuzz: deps fuzzers
	./scripts/run-fuzzers.sh build/fuzz-fast build/fuzz $(FUZZ_SECONDS)

# The C++ sources as the repository's .clang-format wants them.
format-check:
	./scripts/check-format.sh

bench: deps release
	./bench/run.sh
	./bench/kavpack-bench.sh
	./bench/install-scale.sh
	./bench/install-race.sh

# demo.sh builds install.exe itself: the 32-bit build where the host runs
# 32-bit programs, else the 64-bit build of the same code.
demo: deps
	./scripts/demo.sh

clean:
	rm -rf build
