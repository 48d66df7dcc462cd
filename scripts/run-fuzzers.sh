#!/usr/bin/env bash
# run-fuzzers.sh FAST_BUILD CHECK_BUILD [SECONDS]
#
# Fuzzes with every fuzz_* program in FAST_BUILD/fuzz (fuzzer instrumentation
# only, for throughput) for SECONDS each (default 20), starting from a copy
# of its committed seed corpus, two programs at a time (KAV_FUZZ_JOBS). Then
# replays each corpus so grown with the same program of CHECK_BUILD/fuzz,
# built with ASan and UBSan, which catch what the fast build cannot see.
# Any crash, leak, timeout or sanitizer report fails the run. Prints each
# target's executions per second. Corpora and logs: FAST_BUILD/fuzz-work/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
fast=${1:?usage: run-fuzzers.sh FAST_BUILD CHECK_BUILD [SECONDS]}
check=${2:?usage: run-fuzzers.sh FAST_BUILD CHECK_BUILD [SECONDS]}
seconds=${3:-20}
jobs=${KAV_FUZZ_JOBS:-2}
work="$fast/fuzz-work"
# UBSan's reports count as crashes, whatever the build was compiled with.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}

targets=()
for program in "$fast"/fuzz/fuzz_*; do
  [ -f "$program" ] && [ -x "$program" ] && targets+=("$(basename "$program")")
done
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no fuzz_* programs in $fast/fuzz" >&2
  exit 1
fi
for name in "${targets[@]}"; do
  if [ ! -x "$check/fuzz/$name" ]; then
    echo "fuzz: $name is missing from $check/fuzz, so its corpus cannot be checked" >&2
    exit 1
  fi
done

# Runs "$@" (a function and its arguments) for every target, $jobs at a time;
# each call leaves its verdict in $work/<target>/<step>.status.
for_each_target() {
  local step=$1 name
  shift
  for name in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
    ( if "$step" "$name"; then echo ok; else echo FAILED; fi >"$work/$name/$step.status" ) &
  done
  wait
}

# Inputs up to 4 KiB, libFuzzer's own default, which seeds larger than that
# (coded files of 20 KiB) would otherwise raise, at a cost in speed.
grow() {
  local name=$1 dir="$work/$1"
  "$fast/fuzz/$name" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=1024 \
    -artifact_prefix="$dir/" -print_final_stats=1 "$dir/corpus" >"$dir/grow.log" 2>&1
}

# -runs=0 executes every input of the corpus once and stops.
replay() {
  local name=$1 dir="$work/$1"
  "$check/fuzz/$name" -runs=0 -timeout=30 -rss_limit_mb=2048 \
    -artifact_prefix="$dir/replay-" "$dir/corpus" >"$dir/replay.log" 2>&1
}

stat_of() {
  sed -n "s/^stat::$2: *//p" "$work/$1/grow.log" | tail -n 1
}

# Shows the log's end of every target whose step failed; false if any did.
all_passed() {
  local step=$1 name failed=0
  for name in "${targets[@]}"; do
    if [ "$(cat "$work/$name/$step.status")" != ok ]; then
      failed=1
      tail -n 40 "$work/$name/$step.log"
      echo "fuzz: $name FAILED ($step); the input is in $work/$name/"
    fi
  done
  return "$failed"
}

for name in "${targets[@]}"; do
  rm -rf "${work:?}/$name" && mkdir -p "$work/$name/corpus"
  seeds="$top/fuzz/corpus/$name"
  if [ -d "$seeds" ]; then cp -r "$seeds/." "$work/$name/corpus/"; fi
done

echo "fuzz: ${#targets[@]} targets, ${seconds}s each, $jobs at a time (fuzzer instrumentation only)"
for_each_target grow
printf 'fuzz: %-22s %12s %10s %8s\n' target executions 'exec/s' corpus
for name in "${targets[@]}"; do
  printf 'fuzz: %-22s %12s %10s %8s\n' "$name" "$(stat_of "$name" number_of_executed_units)" \
    "$(stat_of "$name" average_exec_per_sec)" "$(find "$work/$name/corpus" -type f | wc -l)"
done
all_passed grow || exit 1

echo "fuzz: replaying the corpora under ASan and UBSan"
for_each_target replay
all_passed replay || exit 1
echo "fuzz: all corpora replayed cleanly"
