#!/usr/bin/env bash
# bench/kavset-bench.sh [RUNS]: times "kavset test" of the release build on
# one large -lh5- entry and one large -lh1- entry (12 MB each, coded by the
# jLHA encoder) against the peers on an LHA archive holding the very same
# coded stream: "bsdtar -xOf" (lh5) and "lhasa t" (lh5 and lh1). Each
# command runs RUNS times (default 5) as a whole process; the fastest run
# counts. Prints the times and the ratios peer time / kavset time (above 1:
# kavset is faster).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
build=${KAV_BENCH_BUILD:-$top/build/release}
data=$build/kavset-bench-data
kavset=$build/src/app/kavset/kavset
wrap=$build/tests/archive/make_bench_archive

if [ ! -x "$kavset" ] || [ ! -x "$wrap" ]; then
  cmake --preset release -B "$build" >/dev/null
  cmake --build "$build" --target kavset make_bench_archive -j 2 >/dev/null
fi

if [ ! -f "$data/done" ]; then
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
  touch "$data/done"
fi

# Fastest of $runs whole-process runs, in milliseconds.
fastest() {
  local best="" start end ms
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "kavset-bench: failed: $*" >&2; exit 1; }
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}
ratio() { awk -v p="$1" -v k="$2" 'BEGIN { printf "%.2f", (k > 0 ? p / k : 0) }'; }

echo "kavset test against its peers, 12 MB expanded, fastest of $runs runs"
k5=$(fastest "$kavset" test "$data/lh5.arc")
b5=$(fastest bsdtar -xOf "$data/lh5.lzh")
l5=$(fastest lhasa t "$data/lh5.lzh")
k1=$(fastest "$kavset" test "$data/lh1.arc")
l1=$(fastest lhasa t "$data/lh1.lzh")
printf '%-6s %-22s %8s ms\n' lh5 "kavset test" "$k5" lh5 "bsdtar -xOf" "$b5" lh5 "lhasa t" "$l5" \
  lh1 "kavset test" "$k1" lh1 "lhasa t" "$l1"
echo "ratio lh5 bsdtar/kavset: $(ratio "$b5" "$k5")  (target >= 1.00)"
echo "ratio lh5 lhasa/kavset:  $(ratio "$l5" "$k5")"
echo "ratio lh1 lhasa/kavset:  $(ratio "$l1" "$k1")  (target >= 1.20)"
