#!/usr/bin/env bash
# bench/run.sh [benchmark options]: decodes the same streams (over 8 MB
# expanded, text, binary, log lines and random bytes, coded by the jLHA
# encoder) with this project's codec driver, liblhasa and libarchive, and
# prints the speed ratios. Brings the release preset's lzh_bench up to date;
# the data are made once into the build folder.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
build=${KAV_BENCH_BUILD:-$top/build/release}
data=$build/bench-data
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset release -B "$build" >/dev/null
fi
cmake --build "$build" --target lzh_bench >/dev/null
if [ ! -f "$data/manifest.txt" ]; then
  "$top/scripts/make-lzh-fixtures.sh" bench "$data"
fi
exec "$build/bench/lzh_bench" "$data" --benchmark_min_time=0.5 --benchmark_repetitions=5 "$@"
