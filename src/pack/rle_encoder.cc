#include "pack/rle_encoder.h"

namespace kav::pack {
namespace {

constexpr std::uint8_t kEscape = 0x94;
constexpr unsigned kLongestRun = 255;  // a run token's count is one byte

class RleEncoder final : public Encoder {
public:
    explicit RleEncoder(ByteSink& sink) : output_(sink) {}

    void Write(const std::uint8_t* data, std::size_t size) override {
        for (std::size_t i = 0; i < size; ++i) {
            if (run_ > 0 && data[i] == byte_ && run_ < kLongestRun) {
                ++run_;
                continue;
            }
            PutRun();
            byte_ = data[i];
            run_ = 1;
        }
    }

    void Finish() override {
        PutRun();
        output_.Drain();
    }

private:
    void PutRun() {
        if (run_ == 0) return;
        if (byte_ == kEscape) {
            // After a run token or an escaped literal the decoder repeats
            // 0x94, so the rest of an escape run follows as a run token.
            Put(kEscape);
            Put(0);
            if (run_ > 1) {
                Put(kEscape);
                Put(static_cast<std::uint8_t>(run_));
            }
        } else if (run_ >= 3) {
            Put(byte_);
            Put(kEscape);
            Put(static_cast<std::uint8_t>(run_));
        } else {
            for (unsigned k = 0; k < run_; ++k) Put(byte_);
        }
        run_ = 0;
    }

    void Put(std::uint8_t byte) { output_.Put(byte); }

    BufferedOutput output_;
    std::uint8_t byte_ = 0;
    unsigned run_ = 0;
};

}  // namespace

std::unique_ptr<Encoder> MakeRleEncoder(ByteSink& sink) {
    return std::make_unique<RleEncoder>(sink);
}

}  // namespace kav::pack
