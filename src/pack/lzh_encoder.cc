#include "pack/lzh_encoder.h"

#include <array>

#include "lzh/adaptive_model.h"
#include "lzh/position_code.h"
#include "pack/bit_writer.h"
#include "pack/lazy_parser.h"
#include "pack/match_window.h"

namespace kav::pack {
namespace {

constexpr unsigned kWindow = 4096;
constexpr unsigned kMaxMatch = 60;
constexpr unsigned kLengthBias = 253;  // symbol = match length + 253

// The prefix code of the upper six position bits, as (code, length) per
// value, from the decoder's lookup tables: a value's code is the top bits
// of the first table index that decodes to it.
struct PositionPrefix {
    std::array<std::uint8_t, 64> code{};
    std::array<std::uint8_t, 64> length{};
};

PositionPrefix MakePositionPrefix() {
    PositionPrefix prefix;
    for (int b = 255; b >= 0; --b) {
        const unsigned upper = lzh::kPositionCode.upperBits[b];
        const unsigned length = lzh::kPositionCode.codeLength[b];
        prefix.code[upper] = static_cast<std::uint8_t>(b >> (8 - length));
        prefix.length[upper] = static_cast<std::uint8_t>(length);
    }
    return prefix;
}

const PositionPrefix kPositionPrefix = MakePositionPrefix();

SearchLimits LimitsFor(Level level) {
    switch (level) {
        case Level::Fast:
            return {8, 32, 0, 0};
        case Level::Normal:
            return {48, kMaxMatch, kMaxMatch, 0};
        case Level::Best:
            break;
    }
    return {256, kMaxMatch, kMaxMatch, 0};
}

class LzhEncoder final : public Encoder {
public:
    LzhEncoder(Level level, ByteSink& sink) : limits_(LimitsFor(level)), bits_(sink) {}

    void Write(const std::uint8_t* data, std::size_t size) override {
        window_.Feed(data, size, [this](std::uint32_t end) { CodeChunk(end); });
    }

    void Finish() override {
        window_.Drain([this](std::uint32_t end) { CodeChunk(end); });
        bits_.Finish();
    }

private:
    void CodeChunk(std::uint32_t end) {
        ParseLazily(
            window_, end, limits_, [this](std::uint8_t byte) { PutSymbol(byte); },
            [this](unsigned length, unsigned distance) {
                PutSymbol(length + kLengthBias);
                const unsigned position = distance - 1;
                const unsigned upper = position >> 6;
                bits_.Put(kPositionPrefix.length[upper], kPositionPrefix.code[upper]);
                bits_.Put(6, position & 0x3F);
            });
    }

    // Sends the symbol's current code and updates the model as the decoder
    // will after reading it.
    void PutSymbol(unsigned symbol) {
        for (char bit : model_.CodeOf(symbol)) bits_.Put(1, bit == '1');
        model_.Update(symbol);
    }

    SearchLimits limits_;
    BitWriter bits_;
    MatchWindow<kWindow, kMaxMatch> window_;
    lzh::AdaptiveModel model_;
};

}  // namespace

std::unique_ptr<Encoder> MakeLzhEncoder(Level level, ByteSink& sink) {
    return std::make_unique<LzhEncoder>(level, sink);
}

}  // namespace kav::pack
