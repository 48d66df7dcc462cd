// Fuzz target of one decoder, fed through the real codec driver. The first
// four input bytes choose the expanded size (up to 256 KiB, and at most
// kOutputPerInputByte bytes for each compressed byte), whether the entry is
// locked with a key, and whether the progress handler stops the input; the
// rest is the compressed data.
//
// Properties checked beyond the sanitizers: a coded method either refuses
// the data (ELZHBadDecodeTable from LZH5 only; ELZHTruncatedData from
// either once its data has run out, before the expanded size) or produces
// exactly the expanded size (a final match that runs past it is cut), and
// the returned sum is that of the bytes written. A decoder that looped without output or
// input would be caught by libFuzzer's -timeout.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "lzh/codec_driver.h"
#include "output_limit.h"
#include "platform/stream.h"

#ifndef KAV_FUZZ_METHOD
#error "KAV_FUZZ_METHOD must name the method under test"
#endif

namespace {

using kav::lzh::coLZH;
using kav::lzh::coLZH5;

// Keeps only the count and sum of what is written.
class SummingTarget final : public kav::platform::Stream {
public:
    std::size_t Read(void*, std::size_t) override { return 0; }
    void WriteExactly(const void* buffer, std::size_t count) override {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        for (std::size_t i = 0; i < count; ++i) sum += bytes[i];
        size += static_cast<std::int64_t>(count);
    }
    std::int64_t Position() const override { return size; }
    std::int64_t Size() const override { return size; }
    void Seek(std::int64_t) override {}

    std::int64_t size = 0;
    std::uint32_t sum = 0;
};

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const auto compressedSize = static_cast<std::int32_t>(size - 4);
    const std::int32_t expandedSize =
        std::min(data[0] | (data[1] << 8) | ((data[2] & 3) << 16),
                 static_cast<std::int32_t>(kav::fuzz::kOutputPerInputByte) * compressedSize);
    const bool locked = (data[3] & 1) != 0;
    const bool stopAtSecondRefill = (data[3] & 2) != 0;
    kav::platform::MemoryStream source(std::vector<std::uint8_t>(data + 4, data + size));
    SummingTarget target;

    kav::lzh::CodecSettings settings;
    settings.Key = locked ? static_cast<std::int32_t>(0x5A17C3E1) : 0;
    int refills = 0;
    if (stopAtSecondRefill) {
        settings.OnShowProgress = [&refills](int& percent) {
            if (++refills == 2) percent = -1;
        };
    }
    const std::uint8_t method = KAV_FUZZ_METHOD;
    std::uint32_t sum = 0;
    try {
        sum = kav::lzh::ExpandCodedData(settings, source, target, locked, method, expandedSize,
                                        compressedSize);
    } catch (const kav::lzh::ELZHBadDecodeTable&) {
        Check(method == coLZH5);
        return 0;
    } catch (const kav::lzh::ELZHTruncatedData&) {
        Check(method == coLZH5 || method == coLZH);
        Check(source.Position() == compressedSize && target.size < expandedSize);
        return 0;
    }
    Check(sum == target.sum);
    Check(source.Position() <= compressedSize);
    if (method == coLZH5 || method == coLZH) Check(target.size == expandedSize);
    return 0;
}
