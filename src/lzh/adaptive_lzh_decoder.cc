#include "lzh/adaptive_lzh_decoder.h"

#include <array>
#include <memory>

#include "lzh/adaptive_model.h"
#include "lzh/bit_input.h"
#include "lzh/output_window.h"
#include "lzh/position_code.h"

namespace kav::lzh {

namespace {

constexpr unsigned kWindowSize = 4096;
constexpr unsigned kLongestMatch = 60;
constexpr unsigned kLowerBits = 6;  // of a match position, sent as they are
constexpr unsigned kLowerMask = (1u << kLowerBits) - 1;

using Bits = BitInput<ExhaustedSource::kAskAgain>;

class AdaptiveLzhDecoder {
public:
    // The whole window starts as spaces, including the 60 bytes after the
    // first write position that a well-formed stream never copies from
    // before writing them: a damaged stream then copies spaces rather than
    // stale memory.
    explicit AdaptiveLzhDecoder(CodecDriver& driver) : driver_(driver), bits_(driver) {}

    void Decode(std::int32_t count) {
        // 64 bits: a final match may carry the count past 2^31 - 1.
        std::int64_t produced = 0;
        while (produced < count) {
            const unsigned symbol = model_.DecodeSymbol(bits_);
            produced += window_.PutSymbol(symbol, [this] { return DecodePosition() + 1; });
            if (window_.BlockOverfull()) window_.WriteBlock(driver_);
        }
        window_.Finish(driver_);
    }

private:
    // The upper six bits in a prefix code of 3 to 8 bits, then the lower
    // six bits as they are: at most 14 bits, all within the next 16.
    unsigned DecodePosition() {
        const unsigned next16 = bits_.Peek16();
        const unsigned first = next16 >> 8;
        const unsigned codeLength = kPositionCode.codeLength[first];
        const unsigned lower = (next16 >> (16 - codeLength - kLowerBits)) & kLowerMask;
        bits_.Skip(codeLength + kLowerBits);
        return (kPositionCode.upperBits[first] << kLowerBits) | lower;
    }

    CodecDriver& driver_;
    Bits bits_;
    AdaptiveModel model_;
    OutputWindow<kWindowSize, kLongestMatch> window_;
};

}  // namespace

void DecodeLZH(CodecDriver& driver, std::int32_t count) {
    if (count == 0) return;
    const auto decoder = std::make_unique<AdaptiveLzhDecoder>(driver);
    decoder->Decode(count);
}

}  // namespace kav::lzh
