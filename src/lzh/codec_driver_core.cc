#include "lzh/codec_driver_core.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kav::lzh {

namespace {
constexpr std::int32_t kExactPercentLimit = 100000;
}

int ProgressPercent(std::int32_t done, std::int32_t total) {
    if (total <= kExactPercentLimit) return done * 100 / total;
    return done / (total / 100);
}

CodecDriver::CodecDriver(const CodecSettings& settings, platform::Stream& source,
                         platform::Stream& target, bool locked, std::int32_t compressedSize)
    : onShowProgress_(settings.OnShowProgress),
      processor_(settings.processor),
      source_(source),
      target_(target),
      // A negative size in a damaged header means there is nothing to read.
      sourceRemaining_(std::max<std::int32_t>(compressedSize, 0)),
      compressedSize_(std::max<std::int32_t>(compressedSize, 0)),
      unscramble_(locked && settings.Key != 0) {
    const auto key = static_cast<std::uint32_t>(settings.Key);
    for (std::size_t i = 0; i < keyBytes_.size(); ++i) {
        keyBytes_[i] = static_cast<std::uint8_t>(key >> (8 * i));
    }
}

bool CodecDriver::Refill() {
    sourceExhausted_ = true;
    if (sourceRemaining_ == 0) {
        sourceEnded_ = true;
        return false;
    }
    if (sourceRemaining_ < chunkSize_) chunkSize_ = sourceRemaining_;
    const std::size_t got = source_.Read(input_.data(), static_cast<std::size_t>(chunkSize_));
    sourceRemaining_ -= static_cast<std::int32_t>(got);
    if (got == 0) {
        sourceEnded_ = true;
        return false;
    }
    readPos_ = 0;
    readEnd_ = got;
    if (unscramble_) {
        for (std::size_t i = 0; i < got; ++i) {
            input_[i] ^= keyBytes_[keyIndex_];
            keyIndex_ = (keyIndex_ + 1) & 3;
        }
    }
    if (onShowProgress_) {
        fetchedSoFar_ += static_cast<std::int32_t>(got);
        int percentageDone = ProgressPercent(fetchedSoFar_, compressedSize_);
        onShowProgress_(percentageDone);
        // The fetched bytes stay in the buffer and are handed out by the
        // following calls; only this call reports the stop.
        if (percentageDone == -1) return false;
    }
    YieldTimeSlice();
    sourceExhausted_ = false;
    return true;
}

void CodecDriver::FlushFullBuffer() {
    YieldTimeSlice();
    target_.WriteExactly(output_.data(), kBufferSize);
    flushedSum_ += SumOf(output_.data(), kBufferSize);
    writePos_ = 0;
}

void CodecDriver::WriteFullBlock(const Octet* block) {
    YieldTimeSlice();
    target_.WriteExactly(block, kBufferSize);
    flushedSum_ += SumOf(block, kBufferSize);
}

void CodecDriver::KeepLastBytes(const Octet* bytes, std::size_t count) {
    std::memcpy(output_.data(), bytes, count);
    writePos_ = count;
}

void CodecDriver::FlushRest() {
    if (writePos_ == 0) return;
    target_.WriteExactly(output_.data(), writePos_);
    flushedSum_ += SumOf(output_.data(), writePos_);
    writePos_ = 0;
}

std::uint32_t CodecDriver::OutputSum() const {
    return flushedSum_ + SumOf(output_.data(), writePos_);
}

void CodecDriver::YieldTimeSlice() {
    if (processor_ != nullptr) processor_->YieldTimeSlice();
}

std::uint32_t CodecDriver::SumOf(const Octet* bytes, std::size_t count) {
    std::uint32_t sum = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: each sum of absolute differences from zero
    // adds eight bytes into a 64-bit lane, which cannot overflow here.
    const __m128i zero = _mm_setzero_si128();
    __m128i lanes = zero;
    for (; count - i >= 16; i += 16) {
        const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        lanes = _mm_add_epi64(lanes, _mm_sad_epu8(sixteen, zero));
    }
    sum += static_cast<std::uint32_t>(_mm_cvtsi128_si32(lanes)) +
           static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(lanes, lanes)));
#else
    // Eight bytes at a time: the even and the odd bytes of each word are
    // added into four 16-bit lanes, which 128 words cannot overflow
    // (128 x 2 x 255 < 65536); the lanes are folded into the sum after them.
    constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FFull;
    constexpr std::size_t kWordsPerFold = 128;
    while (count - i >= 8) {
        const std::size_t words = std::min((count - i) / 8, kWordsPerFold);
        std::uint64_t lanes = 0;
        for (std::size_t w = 0; w < words; ++w, i += 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + i, sizeof word);
            lanes += (word & kEvenBytes) + ((word >> 8) & kEvenBytes);
        }
        lanes = (lanes & 0x0000FFFF0000FFFFull) + ((lanes >> 16) & 0x0000FFFF0000FFFFull);
        sum += static_cast<std::uint32_t>(lanes) + static_cast<std::uint32_t>(lanes >> 32);
    }
#endif
    for (; i < count; ++i) sum += static_cast<std::uint8_t>(bytes[i]);
    return sum;
}

}  // namespace kav::lzh
