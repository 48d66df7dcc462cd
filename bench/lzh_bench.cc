// Decoding speed of this project's codec driver against peer decoders on the
// same streams: liblhasa for "-lh5-" and "-lh1-", libarchive for "-lh5-"
// (wrapped in an LHA archive in memory). Every decoder's output is checked
// against the original before anything is timed. After the runs the ratios
// of each peer's time to ours are printed (above 1: ours is faster).
//
//   lzh_bench DATA_DIR [benchmark options]
// DATA_DIR is written by scripts/make-lzh-fixtures.sh bench.
#include <archive.h>
#include <archive_entry.h>
#include <benchmark/benchmark.h>

extern "C" {
#include <lha_decoder.h>
}

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "lzh/codec_driver.h"
#include "platform/stream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Sample {
    std::string name;
    Bytes original;
    Bytes lh5;
    Bytes lh1;
    Bytes lh5Archive;  // lh5 wrapped as the only entry of an LHA archive
};

std::vector<Sample> gSamples;
std::size_t gExpandedBytes = 0;

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// --- this project's driver ---------------------------------------------------

// Reads a byte vector in place (MemoryStream would copy it on every run).
class SpanSource final : public kav::platform::Stream {
public:
    explicit SpanSource(const Bytes& bytes) : bytes_(bytes) {}
    std::size_t Read(void* buffer, std::size_t count) override {
        const std::size_t n = std::min(count, bytes_.size() - position_);
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
        return n;
    }
    void WriteExactly(const void*, std::size_t) override {}
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    void Seek(std::int64_t position) override { position_ = static_cast<std::size_t>(position); }

private:
    const Bytes& bytes_;
    std::size_t position_ = 0;
};

// Writes into a buffer sized beforehand, as the peers below do.
class BufferTarget final : public kav::platform::Stream {
public:
    explicit BufferTarget(Bytes& buffer) : buffer_(buffer) {}
    std::size_t Read(void*, std::size_t) override { return 0; }
    void WriteExactly(const void* data, std::size_t count) override {
        if (position_ + count > buffer_.size()) throw std::runtime_error("output overflow");
        std::memcpy(buffer_.data() + position_, data, count);
        position_ += count;
    }
    std::int64_t Position() const override { return static_cast<std::int64_t>(position_); }
    std::int64_t Size() const override { return static_cast<std::int64_t>(position_); }
    void Seek(std::int64_t) override {}

private:
    Bytes& buffer_;
    std::size_t position_ = 0;
};

std::size_t DecodeWithDriver(std::uint8_t method, const Bytes& coded, Bytes& out) {
    SpanSource source(coded);
    BufferTarget target(out);
    kav::lzh::ExpandCodedData({}, source, target, false, method,
                              static_cast<std::int32_t>(out.size()),
                              static_cast<std::int32_t>(coded.size()));
    return static_cast<std::size_t>(target.Size());
}

// --- liblhasa -------------------------------------------------------------

struct LhasaInput {
    const Bytes* coded;
    std::size_t position;
};

std::size_t LhasaRead(void* buffer, std::size_t length, void* userData) {
    auto* in = static_cast<LhasaInput*>(userData);
    const std::size_t n = std::min(length, in->coded->size() - in->position);
    std::memcpy(buffer, in->coded->data() + in->position, n);
    in->position += n;
    return n;
}

std::size_t DecodeWithLhasa(const char* method, const Bytes& coded, Bytes& out) {
    LhasaInput in{&coded, 0};
    LHADecoder* decoder = lha_decoder_new(lha_decoder_for_name(const_cast<char*>(method)),
                                          LhasaRead, &in, out.size());
    std::size_t done = 0;
    while (done < out.size()) {
        const std::size_t n = lha_decoder_read(decoder, out.data() + done, out.size() - done);
        if (n == 0) break;
        done += n;
    }
    lha_decoder_free(decoder);
    return done;
}

// --- libarchive -----------------------------------------------------------

std::uint16_t Crc16(const Bytes& data) {
    std::uint16_t crc = 0;
    for (const std::uint8_t b : data) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

void PutLe(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A level-0 LHA archive holding one "-lh5-" entry and the end mark.
Bytes WrapInLhaArchive(const Bytes& coded, const Bytes& original) {
    const std::string fileName = "data.bin";
    Bytes header;  // from the method field to the CRC
    header.insert(header.end(), {'-', 'l', 'h', '5', '-'});
    PutLe(header, static_cast<std::uint32_t>(coded.size()), 4);
    PutLe(header, static_cast<std::uint32_t>(original.size()), 4);
    PutLe(header, 0x58210000, 4);  // a DOS date and time
    header.push_back(0x20);        // attribute
    header.push_back(0);           // header level
    header.push_back(static_cast<std::uint8_t>(fileName.size()));
    header.insert(header.end(), fileName.begin(), fileName.end());
    PutLe(header, Crc16(original), 2);
    std::uint8_t checksum = 0;
    for (const std::uint8_t b : header) checksum = static_cast<std::uint8_t>(checksum + b);
    // Header size, checksum, header, data, and a zero byte as the end mark.
    Bytes archive(2 + header.size() + coded.size() + 1, 0);
    archive[0] = static_cast<std::uint8_t>(header.size());
    archive[1] = checksum;
    std::memcpy(archive.data() + 2, header.data(), header.size());
    std::memcpy(archive.data() + 2 + header.size(), coded.data(), coded.size());
    return archive;
}

std::size_t DecodeWithLibarchive(const Bytes& archiveBytes, Bytes& out) {
    archive* a = archive_read_new();
    archive_read_support_format_lha(a);
    std::size_t done = 0;
    archive_entry* entry = nullptr;
    if (archive_read_open_memory(a, archiveBytes.data(), archiveBytes.size()) == ARCHIVE_OK &&
        archive_read_next_header(a, &entry) == ARCHIVE_OK) {
        for (;;) {
            const la_ssize_t n = archive_read_data(a, out.data() + done, out.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
    }
    archive_read_free(a);
    return done;
}

// --- benchmarks -----------------------------------------------------------

template <typename Decode>
void RunBenchmark(benchmark::State& state, Decode decode) {
    std::vector<Bytes> outputs;
    for (const Sample& s : gSamples) outputs.emplace_back(s.original.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < gSamples.size(); ++i) {
            benchmark::DoNotOptimize(decode(gSamples[i], outputs[i]));
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * gExpandedBytes));
}

void KavLzh5(benchmark::State& state) {
    RunBenchmark(state, [](const Sample& s, Bytes& out) {
        return DecodeWithDriver(kav::lzh::coLZH5, s.lh5, out);
    });
}
void LhasaLzh5(benchmark::State& state) {
    RunBenchmark(state,
                 [](const Sample& s, Bytes& out) { return DecodeWithLhasa("-lh5-", s.lh5, out); });
}
void LibarchiveLzh5(benchmark::State& state) {
    RunBenchmark(
        state, [](const Sample& s, Bytes& out) { return DecodeWithLibarchive(s.lh5Archive, out); });
}
void KavLzh(benchmark::State& state) {
    RunBenchmark(state, [](const Sample& s, Bytes& out) {
        return DecodeWithDriver(kav::lzh::coLZH, s.lh1, out);
    });
}
void LhasaLzh(benchmark::State& state) {
    RunBenchmark(state,
                 [](const Sample& s, Bytes& out) { return DecodeWithLhasa("-lh1-", s.lh1, out); });
}

// Every decoder must reproduce every sample before its speed means anything.
void VerifyAll() {
    for (const Sample& s : gSamples) {
        const std::pair<const char*, std::function<std::size_t(Bytes&)>> decoders[] = {
            {"kav lh5", [&](Bytes& o) { return DecodeWithDriver(kav::lzh::coLZH5, s.lh5, o); }},
            {"lhasa lh5", [&](Bytes& o) { return DecodeWithLhasa("-lh5-", s.lh5, o); }},
            {"libarchive lh5", [&](Bytes& o) { return DecodeWithLibarchive(s.lh5Archive, o); }},
            {"kav lh1", [&](Bytes& o) { return DecodeWithDriver(kav::lzh::coLZH, s.lh1, o); }},
            {"lhasa lh1", [&](Bytes& o) { return DecodeWithLhasa("-lh1-", s.lh1, o); }},
        };
        for (const auto& [label, decode] : decoders) {
            Bytes out(s.original.size());
            if (decode(out) != s.original.size() || out != s.original) {
                throw std::runtime_error(std::string(label) + " decodes " + s.name + " wrongly");
            }
        }
    }
}

// Keeps the least CPU time per iteration that each benchmark took over its
// repetitions: on a shared machine the other processes only ever add time,
// so the least is the closest to the decoder's own speed.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            const std::string name = run.run_name.function_name;
            const double time = run.GetAdjustedCPUTime();
            const auto it = times.find(name);
            if (it == times.end() || time < it->second) times[name] = time;
        }
    }
    std::map<std::string, double> times;
};

void PrintRatio(const RatioReporter& r, const char* label, const char* peer, const char* ours) {
    const auto p = r.times.find(peer);
    const auto o = r.times.find(ours);
    if (p == r.times.end() || o == r.times.end()) return;
    std::printf("%-40s %.2f\n", label, p->second / o->second);
}

}  // namespace

BENCHMARK(KavLzh5)->Unit(benchmark::kMillisecond);
BENCHMARK(LibarchiveLzh5)->Unit(benchmark::kMillisecond);
BENCHMARK(LhasaLzh5)->Unit(benchmark::kMillisecond);
BENCHMARK(KavLzh)->Unit(benchmark::kMillisecond);
BENCHMARK(LhasaLzh)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR [benchmark options]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    for (const char* name : {"bench_text", "bench_binary", "bench_log", "bench_random"}) {
        Sample s;
        s.name = name;
        s.original = ReadFile(dir + "/" + name + ".bin");
        s.lh5 = ReadFile(dir + "/" + name + ".lh5");
        s.lh1 = ReadFile(dir + "/" + name + ".lh1");
        s.lh5Archive = WrapInLhaArchive(s.lh5, s.original);
        gExpandedBytes += s.original.size();
        gSamples.push_back(std::move(s));
    }
    VerifyAll();
    std::printf("%zu bytes expanded per iteration, all decoders verified\n", gExpandedBytes);

    int benchArgc = argc - 1;
    argv[1] = argv[0];
    benchmark::Initialize(&benchArgc, argv + 1);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf(
        "\nSpeed ratios (peer CPU time / our CPU time, least of the repetitions;\n above 1 means "
        "ours is faster):\n");
    PrintRatio(reporter, "-lh5-: libarchive / kav (target >= 1.0)", "LibarchiveLzh5", "KavLzh5");
    PrintRatio(reporter, "-lh5-: lhasa / kav", "LhasaLzh5", "KavLzh5");
    PrintRatio(reporter, "-lh1-: lhasa / kav (target >= 1.2)", "LhasaLzh", "KavLzh");
    return 0;
}
