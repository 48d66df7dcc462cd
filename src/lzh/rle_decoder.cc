#include "lzh/rle_decoder.h"

#include <cstdint>
#include <cstring>

namespace kav::lzh {

namespace {

constexpr std::uint8_t kEscape = 0x94;

// Expands one token whose first byte `b` has been read; returns the byte
// that a following run repeats.
std::uint8_t ExpandToken(CodecDriver& driver, std::uint8_t b, std::uint8_t runLast) {
    if (b != kEscape) {
        driver.WriteTargetByte(b);
        return b;
    }
    // A count missing at the end of the data reads as 0, so a final lone
    // escape still stands for itself.
    const std::uint8_t n = driver.ReadSourceByte();
    if (n == 0) {
        driver.WriteTargetByte(kEscape);
    } else {
        driver.WriteTargetRun(runLast, n - 1u);
    }
    return kEscape;
}

// Expands the whole tokens among the driver's fetched bytes: literals up to
// the next escape are handed over as one run. Stops before a token that the
// fetched bytes do not hold whole; returns the byte a following run repeats.
std::uint8_t ExpandFetchedTokens(CodecDriver& driver, std::uint8_t runLast) {
    const std::uint8_t* const start = driver.SourceBytes();
    const std::uint8_t* const end = start + driver.SourceBytesLeft();
    const std::uint8_t* next = start;
    while (next != end) {
        const auto* escape =
            static_cast<const std::uint8_t*>(std::memchr(next, kEscape, end - next));
        const std::uint8_t* const literalsEnd = escape != nullptr ? escape : end;
        if (literalsEnd != next) {
            driver.WriteTargetBytes(next, static_cast<std::size_t>(literalsEnd - next));
            runLast = literalsEnd[-1];
            next = literalsEnd;
        }
        if (escape == nullptr || end - escape < 2) break;
        const std::uint8_t n = escape[1];
        if (n == 0) {
            driver.WriteTargetByte(kEscape);
        } else {
            driver.WriteTargetRun(runLast, n - 1u);
        }
        runLast = kEscape;
        next = escape + 2;
    }
    driver.SkipSourceBytes(static_cast<std::size_t>(next - start));
    return runLast;
}

}  // namespace

void DecodeRLE(CodecDriver& driver) {
    std::uint8_t runLast = 0;
    for (;;) {
        // One token through ReadSourceByte, which refills the input and
        // reports exhaustion or a stop ...
        const std::uint8_t b = driver.ReadSourceByte();
        if (driver.SourceExhausted()) return;
        runLast = ExpandToken(driver, b, runLast);
        // ... and while the input flows, the fetched bytes in bulk.
        if (!driver.SourceExhausted()) runLast = ExpandFetchedTokens(driver, runLast);
    }
}

}  // namespace kav::lzh
