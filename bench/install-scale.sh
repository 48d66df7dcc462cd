#!/usr/bin/env bash
# bench/install-scale.sh [N...]: for each N (default 1000 4000) makes a
# product of N small text files in 50 folders, packs it with kavpack and
# times one "kavsetup" install of it on a fresh simulated machine, printing
# the wall time, the files installed, the time per file and kavsetup's peak
# resident memory. KAVSETUP and
# KAVPACK name other builds of the two programs (an earlier version, say);
# by default those of the native build.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${KAV_BENCH_BUILD:-$top/build/native}
kavsetup=${KAVSETUP:-$build/src/app/kavsetup/kavsetup}
kavpack=${KAVPACK:-$build/src/app/kavpack/kavpack}
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
[ $# -gt 0 ] || set -- 1000 4000

for n in "$@"; do
  product=$work/product-$n
  mkdir -p "$product"
  {
    printf '[Setup - Main]\r\nHeader=Scale %s\r\nInstall Dir=Scale\r\n[Directories]\r\nDir0=<INSTALLDIR>~\r\n' "$n"
    for d in $(seq 1 50); do printf 'Dir%s=<SUB%s><INSTALLDIR>~d%s\r\n' "$d" "$d" "$d"; done
    printf '[Files]\r\n'
    for i in $(seq 0 $((n - 1))); do
      printf 'File%s=f%06d.txt~<SUB%s><INSTALLDIR>\r\n' "$i" "$i" $((i % 50 + 1))
    done
  } >"$product/install.cfg"
  for d in $(seq 1 50); do mkdir -p "$product/d$d"; done
  for i in $(seq 0 $((n - 1))); do
    seq -f "line %g of small text file $i" 1 40 >"$product/d$((i % 50 + 1))/$(printf 'f%06d.txt' "$i")"
  done
  printf 'MZ' >"$work/install.exe"
  "$kavpack" build "$product" "$work/packed-$n" --level fast --no-uninstaller \
    --installer "$work/install.exe" >/dev/null 2>&1
  rm -rf "$work/root-$n"
  start=$(date +%s.%N)
  (cd "$work/packed-$n" && /usr/bin/time -o "$work/rss-$n" -f '%M' \
     "$kavsetup" --root "$work/root-$n" </dev/null >"$work/report-$n")
  end=$(date +%s.%N)
  peak=$(tail -n 1 "$work/rss-$n")
  installed=$(grep -c '^  C:\\Scale\\d[0-9]*\\f[0-9]*\.txt (' "$work/report-$n" || true)
  awk -v n="$n" -v s="$start" -v e="$end" -v got="$installed" -v peak="$peak" 'BEGIN {
    printf "%6d files: %7.2f s, %6d installed, %.2f ms per file, peak resident %d KiB\n",
      n, e - s, got, (e - s) * 1000 / n, peak }'
done
