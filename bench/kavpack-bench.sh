#!/usr/bin/env bash
# bench/kavpack-bench.sh [RUNS]: times "kavpack build" of the release build
# (--level normal and --level best, whole process) on the decoder
# benchmark's input (text, binary, log lines and random bytes, 10 MB in
# four files) against "gzip -6" on the same files, and compares the LH5
# data of the set's entries with the jLHA encoder's "-lh5-" streams of the
# same files. Each command runs RUNS times (default 5); the fastest run
# counts. Also prints kavpack's peak resident memory.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
build=${KAV_BENCH_BUILD:-$top/build/release}
data=$build/bench-data
src=$build/kavpack-bench-src
out=$build/kavpack-bench-out
kavpack=$build/src/app/kavpack/kavpack
kavset=$build/src/app/kavset/kavset

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset release -B "$build" >/dev/null
fi
cmake --build "$build" --target kavpack kavset -j 2 >/dev/null
if [ ! -f "$data/manifest.txt" ]; then
  "$top/scripts/make-lzh-fixtures.sh" bench "$data"
fi
samples=(bench_text bench_binary bench_log bench_random)
rm -rf "$src" && mkdir -p "$src"
printf '[Files]\n' >"$src/install.cfg"
for s in "${samples[@]}"; do
  cp "$data/$s.bin" "$src/"
  printf '%s=%s.bin~<INSTALLDIR>\n' "$s" "$s" >>"$src/install.cfg"
done
printf 'MZ' >"$build/kavpack-bench-installer.exe"

# Fastest of $runs runs in milliseconds; each run's peak resident size in
# KiB is added to $build/kavpack-bench-rss.
rss_log=$build/kavpack-bench-rss
fastest() {
  local best="" start end ms
  for _ in $(seq "$runs"); do
    rm -rf "$out"
    start=$(date +%s%N)
    /usr/bin/time -o "$build/kavpack-bench-time" -f '%M' "$@" >/dev/null 2>&1 ||
      { echo "kavpack-bench: failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    tail -n 1 "$build/kavpack-bench-time" >>"$rss_log"
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (b > 0 ? a / b : 0) }'; }
# Compressed size of each entry of the set in $out, in sample order.
entry_sizes() {
  "$kavset" list "$out" | awk -v names="${samples[*]}" '$1 ~ /^[0-9]+$/ { size[$NF] = $4 }
    END { n = split(names, list, " "); for (i = 1; i <= n; i++) printf "%s ", size[list[i] ".bin"] }'
}


echo "kavpack build against gzip -6 and jLHA, 10 MB in four files, fastest of $runs runs"
peak() { sort -n "$rss_log" | tail -n 1; }
: >"$rss_log"
tn=$(fastest "$kavpack" build "$src" "$out" --level normal --segment-size 1457664 \
  --installer "$build/kavpack-bench-installer.exe")
read -r -a normal <<<"$(entry_sizes)"
peak_normal=$(peak)
: >"$rss_log"
tb=$(fastest "$kavpack" build "$src" "$out" --level best --segment-size 1457664 \
  --installer "$build/kavpack-bench-installer.exe")
read -r -a best <<<"$(entry_sizes)"
peak_best=$(peak)
tg=$(fastest bash -c "gzip -6 -c $(printf '%q ' "$src"/*.bin) >/dev/null")

printf '%-14s %10s %10s %10s %10s\n' sample original jLHA normal best
sum_j=0 sum_n=0 sum_b=0 coded_j=0 coded_n=0 coded_b=0
for i in "${!samples[@]}"; do
  s=${samples[$i]}
  o=$(stat -c %s "$data/$s.bin")
  j=$(stat -c %s "$data/$s.lh5")
  printf '%-14s %10d %10d %10d %10d\n' "$s" "$o" "$j" "${normal[$i]}" "${best[$i]}"
  sum_j=$((sum_j + j)) sum_n=$((sum_n + normal[i])) sum_b=$((sum_b + best[i]))
  if [ "$s" != bench_random ]; then
    coded_j=$((coded_j + j)) coded_n=$((coded_n + normal[i])) coded_b=$((coded_b + best[i]))
  fi
done
printf '%-14s %10s %10d %10d %10d\n' total "" "$sum_j" "$sum_n" "$sum_b"
echo "(kavpack stores an entry that coding would not shrink: bench_random)"
echo
printf 'time: kavpack normal %d ms, kavpack best %d ms, gzip -6 %d ms\n' "$tn" "$tb" "$tg"
printf 'peak resident: normal %d KiB, best %d KiB (target < 65536)\n' "$peak_normal" "$peak_best"
echo "ratio size normal/jLHA:          $(ratio "$sum_n" "$sum_j")  (target <= 1.000)"
echo "ratio size normal/jLHA, coded:   $(ratio "$coded_n" "$coded_j")  (without bench_random)"
echo "ratio time gzip -6/normal:       $(ratio "$tg" "$tn")  (target >= 1.000)"
echo "ratio size best/jLHA:            $(ratio "$sum_b" "$sum_j")  (target <= 0.960)"
echo "ratio size best/jLHA, coded:     $(ratio "$coded_b" "$coded_j")  (without bench_random)"
echo "time best: $tb ms (target < 30000)"

# The same comparison at --level best on real files: an executable of this
# project (install.exe where a Windows build exists), a Linux program and a
# licence text.
real=$build/bench-real
real_files=()
for f in "$top/build/win32/src/app/install/install.exe" "$top/build/win64/src/app/install/install.exe"; do
  if [ -f "$f" ]; then real_files+=("$f"); break; fi
done
real_files+=(/usr/bin/bash /usr/share/common-licenses/GPL-3)
rm -rf "$real" "$src" && mkdir -p "$src"
"$top/scripts/make-lzh-fixtures.sh" files "$real" "${real_files[@]}" >/dev/null
printf '[Files]\n' >"$src/install.cfg"
for f in "${real_files[@]}"; do
  cp "$f" "$src/$(basename "$f").bin"
  printf '%s=%s.bin~<INSTALLDIR>\n' "$(basename "$f")" "$(basename "$f")" >>"$src/install.cfg"
done
rm -rf "$out"
"$kavpack" build "$src" "$out" --level best --segment-size 1457664 \
  --installer "$build/kavpack-bench-installer.exe" >/dev/null 2>&1
echo
printf '%-14s %10s %10s %10s\n' 'real file' original jLHA best
sum_j=0 sum_b=0
while read -r name coded; do
  j=$(stat -c %s "$real/$name.lh5")
  printf '%-14s %10d %10d %10d\n' "$name" "$(stat -c %s "$real/$name.bin")" "$j" "$coded"
  sum_j=$((sum_j + j)) sum_b=$((sum_b + coded))
done < <("$kavset" list "$out" | awk '$1 ~ /^[0-9]+$/ && $NF ~ /\.bin$/ { sub(/\.bin$/, "", $NF); print $NF, $4 }')
echo "ratio size best/jLHA, real files: $(ratio "$sum_b" "$sum_j")  (target <= 0.960)"
