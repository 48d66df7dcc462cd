// Writes deterministic sample files and their raw "-lh5-" and "-lh1-" coded
// streams, made with the jLHA encoder, plus a manifest of the expected
// expansions. Used for the committed decoder fixtures and for the benchmark
// data; run it through make-lzh-fixtures.sh.
//
//   java -cp jlha.jar make-lzh-fixtures.java fixtures|bench OUTDIR
import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.FileOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.io.PrintWriter;
import java.nio.charset.StandardCharsets;
import java.util.LinkedHashMap;
import java.util.Map;

import jp.gr.java_conf.dangan.util.lha.CompressMethod;
import jp.gr.java_conf.dangan.util.lha.LhaProperty;

class MakeLzhFixtures {
    // A small linear congruential generator, so that the samples are the same
    // on every machine and every Java version.
    static final class Lcg {
        long state;
        Lcg(long seed) { state = seed; }
        int next() {
            state = state * 6364136223846793005L + 1442695040888963407L;
            return (int) (state >>> 33);
        }
        int below(int n) { return Math.floorMod(next(), n); }
    }

    static final String[] WORDS = {
        "the", "installer", "copies", "every", "file", "into", "its", "directory", "and",
        "writes", "a", "shortcut", "for", "program", "folder", "registry", "value", "of",
        "setup", "disk", "archive", "expanded", "window", "user", "choose", "to", "is",
        "with", "when", "which", "configuration", "temporary", "drive", "restart"};

    static byte[] text(long seed, int size) {
        Lcg rng = new Lcg(seed);
        StringBuilder out = new StringBuilder();
        int column = 0;
        while (out.length() < size) {
            String word = WORDS[rng.below(WORDS.length)];
            if (rng.below(12) == 0) word = Character.toUpperCase(word.charAt(0)) + word.substring(1);
            out.append(word);
            column += word.length() + 1;
            if (rng.below(9) == 0) { out.append('.'); }
            if (column > 70) { out.append("\r\n"); column = 0; } else { out.append(' '); }
        }
        return out.substring(0, size).getBytes(StandardCharsets.US_ASCII);
    }

    // Something like an executable: code-like byte patterns, tables of small
    // little-endian numbers, runs of zero padding and embedded strings.
    static byte[] binary(long seed, int size) {
        Lcg rng = new Lcg(seed);
        byte[] out = new byte[size];
        int i = 0;
        while (i < size) {
            int kind = rng.below(4);
            int n = 16 + rng.below(400);
            for (int k = 0; k < n && i < size; ++k, ++i) {
                switch (kind) {
                    case 0: out[i] = (byte) (0x8B + rng.below(6) * (k % 3)); break;
                    case 1: out[i] = (byte) ((k % 4 == 0) ? rng.below(64) : 0); break;
                    case 2: out[i] = 0; break;
                    default: out[i] = (byte) ("KERNEL32.DLL\0GetProcAddress\0".charAt(k % 27)); break;
                }
            }
        }
        return out;
    }

    static byte[] random(long seed, int size) {
        Lcg rng = new Lcg(seed);
        byte[] out = new byte[size];
        for (int i = 0; i < size; ++i) out[i] = (byte) rng.next();
        return out;
    }

    static byte[] equal(byte value, int size) {
        byte[] out = new byte[size];
        java.util.Arrays.fill(out, value);
        return out;
    }

    // Log lines: many short matches and literals, so the adaptive model sees
    // hundreds of thousands of symbols while the coded stream stays small.
    static byte[] log(long seed, int size) {
        Lcg rng = new Lcg(seed);
        String[] levels = {"INFO", "INFO", "INFO", "WARN", "DEBUG"};
        String[] actions = {"copied", "expanded", "skipped", "created", "registered"};
        StringBuilder out = new StringBuilder();
        int second = 0;
        while (out.length() < size) {
            second += rng.below(3);
            out.append(String.format("12:%02d:%02d %s %s file%03d.dat %d\r\n", second / 60 % 60,
                    second % 60, levels[rng.below(levels.length)], actions[rng.below(actions.length)],
                    rng.below(40), rng.below(64)));
        }
        return out.substring(0, size).getBytes(StandardCharsets.US_ASCII);
    }

    static byte[] concat(byte[]... parts) {
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        for (byte[] p : parts) out.write(p, 0, p.length);
        return out.toByteArray();
    }

    static Map<String, byte[]> fixtureSamples() {
        Map<String, byte[]> s = new LinkedHashMap<>();
        s.put("empty", new byte[0]);
        s.put("one_byte", new byte[] {'x'});
        s.put("text", text(1, 20000));
        s.put("binary", binary(2, 30000));
        s.put("equal", equal((byte) 'A', 50000));
        s.put("random", random(3, 20000));
        s.put("exact_8192", text(4, 8192));
        s.put("exact_8193", text(5, 8193));
        s.put("mixed", concat(text(6, 40000), binary(7, 40000), random(8, 10000), equal((byte) 0, 30000)));
        s.put("large_log", log(9, 1100000));  // "-lh1-" only: rebuilds the model many times
        // Prefixes of one sample, ending just before, at and just after the
        // "-lh1-" window (4096), the "-lh5-" window and output block (8192,
        // with exact_8192 and exact_8193 above) and two blocks.
        byte[] edges = log(21, 16385);
        for (int size : new int[] {2, 3, 4095, 4096, 4097, 8191, 8194, 16383, 16384, 16385}) {
            s.put("edge_" + size, java.util.Arrays.copyOf(edges, size));
        }
        return s;
    }

    static Map<String, byte[]> benchSamples() {
        Map<String, byte[]> s = new LinkedHashMap<>();
        s.put("bench_text", text(11, 4 << 20));
        s.put("bench_binary", binary(12, 3 << 20));
        s.put("bench_log", log(13, 2 << 20));
        s.put("bench_random", random(14, 1 << 20));
        return s;
    }

    static byte[] encode(byte[] data, String method) throws IOException {
        ByteArrayOutputStream coded = new ByteArrayOutputStream();
        OutputStream encoder = CompressMethod.connectEncoder(coded, method, LhaProperty.getProperties());
        encoder.write(data);
        encoder.close();
        return coded.toByteArray();
    }

    static long byteSum(byte[] data) {
        long sum = 0;
        for (byte b : data) sum = (sum + (b & 0xFF)) & 0xFFFFFFFFL;
        return sum;
    }

    static long fnv1a64(byte[] data) {
        long hash = 0xcbf29ce484222325L;
        for (byte b : data) {
            hash ^= (b & 0xFF);
            hash *= 0x100000001b3L;
        }
        return hash;
    }

    static void write(File file, byte[] data) throws IOException {
        try (FileOutputStream out = new FileOutputStream(file)) { out.write(data); }
    }

    // Files given by name, each under the name of the file itself.
    static Map<String, byte[]> fileSamples(String[] paths) throws IOException {
        Map<String, byte[]> s = new LinkedHashMap<>();
        for (String path : paths) {
            s.put(new File(path).getName(), java.nio.file.Files.readAllBytes(new File(path).toPath()));
        }
        return s;
    }

    public static void main(String[] args) throws IOException {
        boolean files = args[0].equals("files");
        boolean bench = files || args[0].equals("bench");
        File dir = new File(args[1]);
        dir.mkdirs();
        Map<String, byte[]> samples = files
            ? fileSamples(java.util.Arrays.copyOfRange(args, 2, args.length))
            : bench ? benchSamples() : fixtureSamples();
        try (PrintWriter manifest = new PrintWriter(new File(dir, "manifest.txt"), "US-ASCII")) {
            manifest.println("# stream expanded-size byte-sum fnv1a64 (written by scripts/make-lzh-fixtures.sh)");
            for (Map.Entry<String, byte[]> e : samples.entrySet()) {
                byte[] data = e.getValue();
                if (bench) write(new File(dir, e.getKey() + ".bin"), data);
                for (String method : new String[] {"-lh5-", "-lh1-"}) {
                    if (!bench && e.getKey().startsWith("large") && method.equals("-lh5-")) continue;
                    String name = e.getKey() + "." + method.substring(1, 4);
                    write(new File(dir, name), encode(data, method));
                    manifest.printf("%s %d %d %016x%n", name, data.length, byteSum(data), fnv1a64(data));
                }
            }
        }
    }
}
