// Round-trip fuzz target of one encoder: any input, coded and expanded again
// through the installer's codec driver, must come back unchanged. The first
// byte chooses the level, how the data is fed to the encoder (whole or in
// pieces) and its shape: the rest of the input as it is, repeated up to
// the limit, or put on both sides of a filler so that it repeats at exactly
// the window's distance. The data is cut to kMostData bytes, a little more
// than the method's window, so that runs stay fast.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "lzh/codec_driver.h"
#include "pack/encoder.h"
#include "platform/stream.h"

#ifndef KAV_FUZZ_METHOD
#error "KAV_FUZZ_METHOD must name the method under test"
#endif

namespace {

#if !defined(KAV_FUZZ_MOST_DATA) || !defined(KAV_FUZZ_WINDOW)
#error "KAV_FUZZ_MOST_DATA and KAV_FUZZ_WINDOW must give the data limit and the window"
#endif
constexpr std::size_t kMostData = KAV_FUZZ_MOST_DATA;

void Check(bool condition) {
    if (!condition) std::abort();
}

kav::pack::Bytes Shaped(unsigned shape, const std::uint8_t* input, std::size_t size) {
    kav::pack::Bytes data(input, input + std::min(size, kMostData));
    if (shape == 1 && !data.empty()) {
        while (data.size() < kMostData) data.push_back(data[data.size() % size]);
    } else if (shape == 2 && data.size() < KAV_FUZZ_WINDOW) {
        const std::size_t head = data.size();
        for (std::size_t i = head; i < KAV_FUZZ_WINDOW; ++i) {
            data.push_back(static_cast<std::uint8_t>(i * 131 + (i >> 7)));
        }
        data.insert(data.end(), input, input + std::min(head, kMostData - data.size()));
    }
    return data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t choice = input[0];
    const kav::pack::Bytes bytes = Shaped(choice >> 6, input + 1, size - 1);
    const std::uint8_t* data = bytes.data();
    const std::size_t length = bytes.size();
    const kav::pack::Level levels[] = {kav::pack::Level::Fast, kav::pack::Level::Normal,
                                       kav::pack::Level::Best};
    const kav::pack::Level level = levels[(choice & 3) % 3];
    const std::size_t piece = ((choice >> 2) & 15) == 0 ? length : ((choice >> 2) & 15) * 97u;

    kav::pack::Bytes coded;
    kav::pack::VectorSink sink(coded);
    auto encoder = kav::pack::MakeEncoder(KAV_FUZZ_METHOD, level, sink);
    Check(encoder != nullptr);
    for (std::size_t at = 0; at < length; at += std::max<std::size_t>(piece, 1)) {
        encoder->Write(data + at, std::min(piece, length - at));
    }
    encoder->Finish();

    kav::platform::MemoryStream source(coded);
    kav::platform::MemoryStream target;
    kav::lzh::CodecSettings settings;
    std::uint32_t expectedSum = 0;
    for (std::size_t i = 0; i < length; ++i) expectedSum += data[i];
    const std::uint32_t sum = kav::lzh::ExpandCodedData(
        settings, source, target, false, KAV_FUZZ_METHOD, static_cast<std::int32_t>(length),
        static_cast<std::int32_t>(coded.size()));
    const auto& out = target.Bytes();
    Check(out.size() == length);
    Check(std::equal(out.begin(), out.end(), data));
    Check(sum == expectedSum);
    return 0;
}
