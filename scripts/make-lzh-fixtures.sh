#!/usr/bin/env bash
# make-lzh-fixtures.sh [fixtures|bench] [OUTDIR]
# make-lzh-fixtures.sh files OUTDIR FILE...
# Codes deterministic samples with the jLHA encoder (Debian's libjlha-java)
# into raw "-lh5-" (.lh5) and "-lh1-" (.lh1) streams with a manifest of the
# expected expansions. "fixtures" (the default) rewrites tests/data/lzh;
# "bench" writes the benchmark's larger set, with the originals, to OUTDIR;
# "files" codes the given files the same way (NAME.bin, NAME.lh5, ...).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-fixtures}
case "$mode" in
  fixtures) out=${2:-$top/tests/data/lzh} ;;
  bench) out=${2:?bench needs an output directory} ;;
  files) out=${2:?files needs an output directory} ;;
  *) echo "usage: $0 [fixtures|bench] [OUTDIR] | files OUTDIR FILE..." >&2; exit 2 ;;
esac
jar=$(dpkg -L libjlha-java | grep -E '/jlha\.jar$' | head -n 1)
mkdir -p "$out"
shift $(( $# < 2 ? $# : 2 ))
java -cp "$jar" "$top/scripts/make-lzh-fixtures.java" "$mode" "$out" "$@"
