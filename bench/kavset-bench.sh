#!/usr/bin/env bash
# bench/kavset-bench.sh [ROUNDS]: times "kavset test" of the release build on
# one 12 MB entry of each method against peers on the same data:
#   -lh5-   the jLHA encoder's stream, also in an LHA archive for "bsdtar -xOf"
#           and "lhasa t"; the same sample compressed by "gzip -6" for
#           "libdeflate-gunzip -c" and "gzip -dc" (deflate: the same kind of
#           code, static Huffman tables per block over LZ77 matches)
#   -lh1-   the jLHA encoder's stream, and "lhasa t" on it in an LHA archive
#   RLE, stored: against "cat" of the expanded sample
# Every command runs once per round, in turn, for ROUNDS rounds (default 7),
# as a whole process with its output thrown away; the median of its rounds
# counts, in wall time and in CPU time (user + system). Prints both and the
# ratios the targets are stated in. KAV_BENCH_BEFORE=/path/to/kavset adds the
# rows of another kavset build (an earlier version), run in the same rounds.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-7}
build=${KAV_BENCH_BUILD:-$top/build/release}
data=$build/kavset-bench-data
kavset=$build/src/app/kavset/kavset
wrap=$build/tests/archive/make_bench_archive

for tool in libdeflate-gunzip gzip bsdtar lhasa; do
  command -v "$tool" >/dev/null || { echo "kavset-bench: $tool missing (scripts/install-deps.sh)" >&2; exit 1; }
done

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset release -B "$build" >/dev/null
fi
cmake --build "$build" --target kavset make_bench_archive -j 2 >/dev/null

if [ ! -f "$data/done-3" ]; then
  rm -rf "$data" && mkdir -p "$data"
  jar=$(dpkg -L libjlha-java | grep -E '/jlha\.jar$' | head -n 1)
  cat >"$data/MakeBenchStreams.java" <<'JAVA'
// Writes a 12 MB deterministic sample, its raw -lh5- and -lh1- streams made
// by the jLHA encoder, and level-0 LHA archives around those same streams.
import java.io.*;
import java.nio.file.*;
import jp.gr.java_conf.dangan.util.lha.CompressMethod;
import jp.gr.java_conf.dangan.util.lha.LhaProperty;

class MakeBenchStreams {
    static long state = 20010411L;
    static int next(int n) {
        state = state * 6364136223846793005L + 1442695040888963407L;
        return (int) Math.floorMod(state >>> 33, (long) n);
    }
    static byte[] sample(int size) {
        String[] words = {"setup", "disk", "archive", "expanded", "window", "registry", "value",
            "program", "folder", "shortcut", "installer", "copies", "every", "file", "into", "the"};
        ByteArrayOutputStream out = new ByteArrayOutputStream(size);
        while (out.size() < size) {
            if (next(4) == 0) {  // a stretch of table-like binary
                int n = 64 + next(512);
                for (int i = 0; i < n; i++) out.write(next(3) == 0 ? next(256) : (i & 15));
            } else {
                int n = 20 + next(60);
                for (int i = 0; i < n; i++) {
                    byte[] w = words[next(words.length)].getBytes();
                    out.write(w, 0, w.length);
                    out.write(next(10) == 0 ? '\n' : ' ');
                }
            }
        }
        return java.util.Arrays.copyOf(out.toByteArray(), size);
    }
    static int crc16(byte[] data) {
        int crc = 0;
        for (byte b : data) {
            crc ^= b & 0xFF;
            for (int k = 0; k < 8; k++) crc = (crc & 1) != 0 ? (crc >>> 1) ^ 0xA001 : crc >>> 1;
        }
        return crc;
    }
    static void le(ByteArrayOutputStream o, long v, int n) {
        for (int i = 0; i < n; i++) o.write((int) (v >>> (8 * i)) & 0xFF);
    }
    static void lha(Path out, String method, String name, byte[] original, byte[] coded) throws IOException {
        ByteArrayOutputStream h = new ByteArrayOutputStream();
        h.write(method.getBytes(), 0, 5);
        le(h, coded.length, 4);
        le(h, original.length, 4);
        le(h, 0x2A8B6C21L, 4);
        h.write(0x20);
        h.write(0);
        h.write(name.length());
        h.write(name.getBytes(), 0, name.length());
        le(h, crc16(original), 2);
        byte[] body = h.toByteArray();
        int sum = 0;
        for (byte b : body) sum += b & 0xFF;
        ByteArrayOutputStream a = new ByteArrayOutputStream();
        a.write(body.length);
        a.write(sum & 0xFF);
        a.write(body, 0, body.length);
        a.write(coded, 0, coded.length);
        a.write(0);
        Files.write(out, a.toByteArray());
    }
    public static void main(String[] args) throws IOException {
        Path dir = Paths.get(args[0]);
        byte[] data = sample(12 << 20);
        Files.write(dir.resolve("sample.bin"), data);
        for (String m : new String[] {"-lh5-", "-lh1-"}) {
            ByteArrayOutputStream coded = new ByteArrayOutputStream();
            OutputStream enc = CompressMethod.connectEncoder(coded, m, LhaProperty.getProperties());
            enc.write(data);
            enc.close();
            String tag = m.substring(1, 4);
            Files.write(dir.resolve(tag + ".stream"), coded.toByteArray());
            lha(dir.resolve(tag + ".lzh"), m, "sample.bin", data, coded.toByteArray());
        }
    }
}
JAVA
  java -cp "$jar" "$data/MakeBenchStreams.java" "$data"
  for m in lh5 lh1; do
    "$wrap" "$data/$m.arc" sample.bin "$m" "$data/$m.stream" "$data/sample.bin"
  done
  "$wrap" "$data/rle.arc" sample.bin rle "$data/sample.bin"
  "$wrap" "$data/stored.arc" sample.bin none "$data/sample.bin"
  : >"$data/empty.bin"
  "$wrap" "$data/empty.arc" empty.bin none "$data/empty.bin"
  gzip -6 -c "$data/sample.bin" >"$data/sample.gz"
  touch "$data/done-3"
fi

names=(kavset-lh5 libdeflate gzip bsdtar lhasa-lh5 kavset-lh1 lhasa-lh1 kavset-rle kavset-stored cat
       kavset-empty)
before=${KAV_BENCH_BEFORE:-}
if [ -n "$before" ]; then names+=(before-lh5 before-lh1 before-rle before-stored); fi
run() {
  case $1 in
    kavset-lh5) "$kavset" test "$data/lh5.arc" ;;
    libdeflate) libdeflate-gunzip -c "$data/sample.gz" ;;
    gzip) gzip -dc "$data/sample.gz" ;;
    bsdtar) bsdtar -xOf "$data/lh5.lzh" ;;
    lhasa-lh5) lhasa t "$data/lh5.lzh" ;;
    kavset-lh1) "$kavset" test "$data/lh1.arc" ;;
    lhasa-lh1) lhasa t "$data/lh1.lzh" ;;
    kavset-rle) "$kavset" test "$data/rle.arc" ;;
    kavset-stored) "$kavset" test "$data/stored.arc" ;;
    cat) cat "$data/sample.bin" ;;
    # What every kavset run costs before its first entry.
    kavset-empty) "$kavset" test "$data/empty.arc" ;;
    before-*) "$before" test "$data/${1#before-}.arc" ;;
  esac
}

# The commands that take a few milliseconds run ten times back to back per
# sample, so that the clock's millisecond steps do not swamp them.
repeats() {
  case $1 in kavset-rle | kavset-stored | cat | kavset-empty | before-rle | before-stored) echo 10 ;; *) echo 1 ;; esac
}
# One sample: "wall cpu" in milliseconds per whole-process run.
timed() {
  local TIMEFORMAT='%3R %3U %3S' t n
  n=$(repeats "$1")
  t=$({ time for _ in $(seq "$n"); do run "$1" >/dev/null 2>&1 || exit 1; done; } 2>&1) ||
    { echo "kavset-bench: $1 failed" >&2; exit 1; }
  awk -v n="$n" '{ printf "%.1f %.1f\n", $1 * 1000 / n, ($2 + $3) * 1000 / n }' <<<"$t"
}

declare -A wall cpu
for _ in $(seq "$rounds"); do
  for n in "${names[@]}"; do
    read -r w c < <(timed "$n")
    wall[$n]+="$w "
    cpu[$n]+="$c "
  done
done
median() { tr ' ' '\n' <<<"$1" | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
declare -A W C
for n in "${names[@]}"; do
  W[$n]=$(median "${wall[$n]}")
  C[$n]=$(median "${cpu[$n]}")
done

echo "kavset test against its peers, 12 MB expanded, median of $rounds alternating rounds"
printf '%-15s %9s %9s\n' command "wall ms" "cpu ms"
for n in "${names[@]}"; do printf '%-15s %9s %9s\n' "$n" "${W[$n]}" "${C[$n]}"; done
# ratio A B: A / B, in wall time and in CPU time.
ratio() {
  awk -v a="${W[$1]}" -v b="${W[$2]}" -v c="${C[$1]}" -v d="${C[$2]}" \
    'BEGIN { printf "%5.2f wall %5.2f cpu", (b > 0 ? a / b : 0), (d > 0 ? c / d : 0) }'
}
echo "lh5 kavset / libdeflate-gunzip: $(ratio kavset-lh5 libdeflate)  (target <= 1.30)"
echo "lh5 kavset / gzip -dc:          $(ratio kavset-lh5 gzip)"
echo "lh5 bsdtar / kavset:            $(ratio bsdtar kavset-lh5)  (target >= 2.00)"
echo "lh5 lhasa / kavset:             $(ratio lhasa-lh5 kavset-lh5)"
echo "lh1 lhasa / kavset:             $(ratio lhasa-lh1 kavset-lh1)  (target >= 3.00)"
echo "rle kavset / cat:               $(ratio kavset-rle cat)  (target <= 1.20)"
echo "stored kavset / cat:            $(ratio kavset-stored cat)  (target <= 1.20)"
# The same without what kavset spends before its first entry (its run on an
# archive of one empty entry): the cost of the entry itself.
share() {
  awk -v a="${W[$1]}" -v e="${W[kavset-empty]}" -v b="${W[$2]}" \
    -v c="${C[$1]}" -v f="${C[kavset-empty]}" -v d="${C[$2]}" \
    'BEGIN { printf "%5.2f wall %5.2f cpu", (b > 0 ? (a - e) / b : 0), (d > 0 ? (c - f) / d : 0) }'
}
echo "rle entry share / cat:          $(share kavset-rle cat)"
echo "stored entry share / cat:       $(share kavset-stored cat)"
