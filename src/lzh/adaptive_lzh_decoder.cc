#include "lzh/adaptive_lzh_decoder.h"

#include <array>
#include <cstddef>
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
using Window = OutputWindow<kWindowSize, kLongestMatch>;

// The bit buffer held in registers over the driver's fetched bytes, for
// symbols whose bits are all among them: topped up from memory whenever
// fewer than 16 bits are left, without a source call.
struct FetchedBits {
    Bits::State state;
    const std::uint8_t* next;

    Bits::Word PeekWord() const { return state.buffer; }
    unsigned BitsHeld() const { return state.count; }
    unsigned Peek16() const {
        return static_cast<unsigned>(state.buffer >> (Bits::kWordBits - 16));
    }
    void Skip(unsigned n) {
        state.buffer <<= n;
        state.count -= n;
        if (state.count < 16) [[unlikely]]
            Bits::TopUp(state, next);
    }
};

// The fetched bytes one symbol may reach at most: its code (at most one bit
// per level of a tree of 314 leaves) and a position's 14 bits, on top of a
// full buffer, and the word a top-up loads.
constexpr std::ptrdiff_t kMostBytesPerSymbol =
    (AdaptiveModel::kSymbols - 1 + 14 + Bits::kWordBits) / 8 + sizeof(Bits::Word);

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
            if (!DecodeFetchedSymbols(produced, count)) {
                const unsigned symbol = model_.DecodeSymbol(bits_);
                produced += window_.PutSymbol(symbol, [this] { return DecodePosition(bits_) + 1; });
            }
            // A final match longer than what remains ends at the file's
            // size, before the block that holds it is written.
            if (produced > count) {
                window_.TakeBack(static_cast<std::size_t>(produced - count));
                produced = count;
            }
            if (window_.BlockOverfull()) window_.WriteBlock(driver_);
        }
        window_.Finish(driver_);
    }

private:
    // Decodes symbols with the bit buffer, the input and the output position
    // held in registers, for as long as the driver has fetched enough input
    // beyond what is held for a whole symbol (so that no source call is
    // needed), the block is not overfull and the count is not reached.
    // Returns false when it stopped for want of fetched input, so that the
    // next symbol needs the byte-wise input.
    bool DecodeFetchedSymbols(std::int64_t& produced, std::int32_t count) {
        Octet* out = window_.Position();
        Octet* const outStart = out;
        // One symbol's output may pass either limit.
        const Octet* limit = window_.BlockEnd() + 1;
        if (count - produced < limit - out) limit = out + (count - produced);
        const std::uint8_t* const inStart = driver_.SourceBytes();
        // Once the source is exhausted only the byte-wise input may be used.
        const std::uint8_t* const inEnd =
            driver_.SourceExhausted() ? inStart : inStart + driver_.SourceBytesLeft();
        FetchedBits bits{bits_.Save(), inStart};
        bool stalled = false;
        while (out < limit) {
            if (inEnd - bits.next < kMostBytesPerSymbol) {
                stalled = true;
                break;
            }
            Bits::TopUp(bits.state, bits.next);
            const unsigned symbol = model_.DecodeSymbol(bits);
            if (symbol <= 0xFF) {
                *out++ = static_cast<Octet>(symbol);
            } else {
                out = Window::CopyMatchAt(out, DecodePosition(bits) + 1,
                                          symbol - Window::kLengthBias);
            }
        }
        bits_.Restore(bits.state);
        driver_.SkipSourceBytes(static_cast<std::size_t>(bits.next - inStart));
        window_.MoveTo(out);
        produced += out - outStart;
        return !stalled;
    }

    // The upper six bits in a prefix code of 3 to 8 bits, then the lower
    // six bits as they are: at most 14 bits, all within the next 16.
    template <typename BitSource>
    static unsigned DecodePosition(BitSource& bits) {
        const unsigned next16 = bits.Peek16();
        const unsigned first = next16 >> 8;
        const unsigned codeLength = kPositionCode.codeLength[first];
        const unsigned lower = (next16 >> (16 - codeLength - kLowerBits)) & kLowerMask;
        bits.Skip(codeLength + kLowerBits);
        return (kPositionCode.upperBits[first] << kLowerBits) | lower;
    }

    CodecDriver& driver_;
    Bits bits_;
    AdaptiveModel model_;
    Window window_;
};

}  // namespace

void DecodeLZH(CodecDriver& driver, std::int32_t count) {
    if (count == 0) return;
    const auto decoder = std::make_unique<AdaptiveLzhDecoder>(driver);
    decoder->Decode(count);
}

}  // namespace kav::lzh
