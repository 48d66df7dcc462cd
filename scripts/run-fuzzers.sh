#!/usr/bin/env bash
# run-fuzzers.sh BUILD_DIR: runs every fuzz target built there for a short
# while on a copy of its committed seed corpus. Any crash fails the run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$1
seconds=${KAV_FUZZ_SECONDS:-20}
shopt -s nullglob
found=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  found=1
  name=$(basename "$target")
  work="$build/fuzz-work/$name"
  rm -rf "$work" && mkdir -p "$work/corpus"
  if [ -d "$top/fuzz/corpus/$name" ]; then cp -r "$top/fuzz/corpus/$name/." "$work/corpus/"; fi
  echo "fuzz: $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
    -artifact_prefix="$work/" -print_final_stats=1 "$work/corpus" >"$work/log" 2>&1 || {
      tail -n 40 "$work/log"; echo "fuzz: $name FAILED"; exit 1; }
  grep -E 'stat::number_of_executed_units' "$work/log" || true
done
[ "$found" = 1 ] || echo "fuzz: no targets built"
