#include "lzh/rle_decoder.h"

#include <cstdint>

namespace kav::lzh {

namespace {
constexpr std::uint8_t kEscape = 0x94;
}

void DecodeRLE(CodecDriver& driver) {
    std::uint8_t runLast = 0;
    for (;;) {
        const std::uint8_t b = driver.ReadSourceByte();
        if (driver.SourceExhausted()) return;
        if (b != kEscape) {
            driver.WriteTargetByte(b);
        } else {
            // A count missing at the end of the data reads as 0, so a final
            // lone escape still stands for itself.
            const std::uint8_t n = driver.ReadSourceByte();
            if (n == 0) {
                driver.WriteTargetByte(kEscape);
            } else {
                for (unsigned k = 1; k < n; ++k) driver.WriteTargetByte(runLast);
            }
        }
        runLast = b;
    }
}

}  // namespace kav::lzh
