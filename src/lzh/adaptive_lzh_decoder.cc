#include "lzh/adaptive_lzh_decoder.h"

#include <array>
#include <memory>

#include "lzh/adaptive_model.h"
#include "lzh/bit_input.h"
#include "lzh/position_code.h"
#include "lzh/sliding_window.h"

namespace kav::lzh {

namespace {

constexpr unsigned kWindowSize = 4096;
constexpr unsigned kLookAhead = 60;
constexpr unsigned kStartPosition = kWindowSize - kLookAhead;
constexpr unsigned kLengthBias = 253;  // match length = symbol - 253

using Bits = BitInput<ExhaustedSource::kAskAgain>;

class AdaptiveLzhDecoder {
public:
    // The whole window starts as spaces, including the look-ahead area that
    // a well-formed stream never copies from before writing it: a damaged
    // stream then copies spaces rather than stale memory.
    explicit AdaptiveLzhDecoder(CodecDriver& driver)
        : driver_(driver), bits_(driver), window_(kStartPosition) {}

    void Decode(std::int32_t count) {
        // 64 bits: a final match may carry the count past 2^31 - 1.
        std::int64_t produced = 0;
        while (produced < count) {
            const unsigned symbol = model_.DecodeSymbol([this] { return bits_.Get(1); });
            if (symbol <= 0xFF) {
                window_.PutLiteral(driver_, static_cast<std::uint8_t>(symbol));
                ++produced;
            } else {
                const unsigned length = symbol - kLengthBias;
                window_.CopyMatch(driver_, DecodePosition() + 1, length);
                produced += length;
            }
        }
    }

private:
    unsigned DecodePosition() {
        const unsigned first = bits_.Get(8);
        const unsigned upper = kPositionCode.upperBits[first];
        const unsigned extra = kPositionCode.codeLength[first] - 2u;
        const unsigned lower = ((first << extra) + bits_.Get(extra)) & 0x3F;
        return (upper << 6) | lower;
    }

    CodecDriver& driver_;
    Bits bits_;
    AdaptiveModel model_;
    SlidingWindow<kWindowSize> window_;
};

}  // namespace

void DecodeLZH(CodecDriver& driver, std::int32_t count) {
    if (count == 0) return;
    const auto decoder = std::make_unique<AdaptiveLzhDecoder>(driver);
    decoder->Decode(count);
}

}  // namespace kav::lzh
