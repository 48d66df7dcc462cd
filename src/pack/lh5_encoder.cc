#include "pack/lh5_encoder.h"

#include <vector>

#include "pack/lazy_parser.h"
#include "pack/lh5_block.h"
#include "pack/lh5_optimal_parser.h"
#include "pack/match_window.h"

namespace kav::pack {
namespace {

using Lh5Window = MatchWindow<kLh5Window, kLh5MaxMatch>;

SearchLimits LimitsFor(Level level) {
    // A 3-byte match more than 4 KiB back costs about as many bits as
    // three literals.
    if (level == Level::Fast) return {8, 32, 0, 4096};
    return {128, 128, 128, 4096};
}

// Symbols per block of the greedy and lazy parsers.
constexpr std::size_t kBlockSymbols = 16384;

class Lh5Encoder final : public Encoder {
public:
    Lh5Encoder(Level level, ByteSink& sink)
        : level_(level), limits_(LimitsFor(level)), bits_(sink) {}

    void Write(const std::uint8_t* data, std::size_t size) override {
        window_.Feed(data, size, [this](std::uint32_t end) { CodeChunk(end); });
    }

    void Finish() override {
        window_.Drain([this](std::uint32_t end) { CodeChunk(end); });
        FlushBlock();
        bits_.Finish();
    }

private:
    void CodeChunk(std::uint32_t end) {
        if (level_ == Level::Best) {
            optimal_.Parse(window_, end, [this](std::span<const Lh5Token> block) {
                WriteLh5Block(bits_, block);
            });
            return;
        }
        ParseLazily(
            window_, end, limits_, [this](std::uint8_t byte) { Emit(Lh5Token::Literal(byte)); },
            [this](unsigned length, unsigned distance) { Emit(Lh5Token::Copy(length, distance)); });
    }

    void Emit(Lh5Token token) {
        tokens_.push_back(token);
        if (tokens_.size() == kBlockSymbols) FlushBlock();
    }

    void FlushBlock() {
        if (tokens_.empty()) return;
        WriteLh5Block(bits_, tokens_);
        tokens_.clear();
    }

    Level level_;
    SearchLimits limits_;
    BitWriter bits_;
    Lh5Window window_;
    std::vector<Lh5Token> tokens_;
    Lh5OptimalParser optimal_;
};

}  // namespace

std::unique_ptr<Encoder> MakeLh5Encoder(Level level, ByteSink& sink) {
    return std::make_unique<Lh5Encoder>(level, sink);
}

}  // namespace kav::pack
