#pragma once
// The byte source and sink that the decoders share with the codec driver.
// ReadSourceByte and WriteTargetByte are inline and the class is final, so
// the per-byte exchange compiles to a buffer access; decoders that can also
// take the buffered input and hand over output a run or a block at a time,
// and only refills and flushes leave the inline path.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "lzh/codec_driver.h"

namespace kav::lzh {

// The buffers' element type: a byte that is not a character type, so that
// the compiler knows stores into the buffers cannot change the driver's
// positions and may keep them in registers in the decoders' loops.
enum class Octet : std::uint8_t {};

class CodecDriver final {
public:
    static constexpr std::size_t kBufferSize = 8192;

    CodecDriver(const CodecSettings& settings, platform::Stream& source, platform::Stream& target,
                bool locked, std::int32_t compressedSize);
    CodecDriver(const CodecDriver&) = delete;
    CodecDriver& operator=(const CodecDriver&) = delete;

    // The next compressed byte with the key scrambling removed, or 0 with
    // SourceExhausted() set when no byte could be fetched or the progress
    // handler stopped the input.
    std::uint8_t ReadSourceByte() {
        if (readPos_ == readEnd_) [[unlikely]] {
            if (!Refill()) return 0;
        }
        return input_[readPos_++];
    }

    bool SourceExhausted() const { return sourceExhausted_; }

    // The fetched bytes not yet taken, unscrambled, for a decoder that reads
    // several at a time. They are what the following ReadSourceByte calls
    // would return, but only while SourceExhausted() is clear: after a stop
    // answer the same bytes stand for missing data.
    const std::uint8_t* SourceBytes() const { return input_.data() + readPos_; }
    std::size_t SourceBytesLeft() const { return readEnd_ - readPos_; }
    // Takes `count` <= SourceBytesLeft() bytes as if read one by one.
    void SkipSourceBytes(std::size_t count) { readPos_ += count; }

    // Called by a decoder for every zero byte it uses in place of a byte the
    // source no longer had. A few are expected (a bit reader fetches ahead
    // of its last code); many mean the data was cut short, and the entry is
    // stopped rather than filled up from nothing. A stop asked for by the
    // progress handler is not counted: the decoders react to it their own way.
    void CountMissingByte() {
        if (sourceEnded_ && ++missingBytes_ > kMissingByteAllowance) [[unlikely]]
            throw ELZHTruncatedData();
    }

    void WriteTargetByte(std::uint8_t value) {
        if (writePos_ == kBufferSize) [[unlikely]]
            FlushFullBuffer();
        output_[writePos_++] = static_cast<Octet>(value);
    }

    // WriteTargetByte for each of `count` bytes, copied a buffer's room at a
    // time: a full buffer is still written only when more bytes follow.
    void WriteTargetBytes(const std::uint8_t* bytes, std::size_t count) {
        while (count > 0) {
            if (writePos_ == kBufferSize) FlushFullBuffer();
            const std::size_t run = std::min(count, kBufferSize - writePos_);
            std::memcpy(output_.data() + writePos_, bytes, run);
            writePos_ += run;
            bytes += run;
            count -= run;
        }
    }

    // WriteTargetByte(value) `count` times.
    void WriteTargetRun(std::uint8_t value, std::size_t count) {
        while (count > 0) {
            if (writePos_ == kBufferSize) FlushFullBuffer();
            const std::size_t run = std::min(count, kBufferSize - writePos_);
            std::memset(output_.data() + writePos_, value, run);
            writePos_ += run;
            count -= run;
        }
    }

    // For a decoder that gathers its output in blocks of its own: a full
    // block (kBufferSize bytes) that more output follows is written at once,
    // with the yield that precedes every full-buffer write.
    void WriteFullBlock(const Octet* block);
    // The decoder's last bytes (at most kBufferSize), kept for FlushRest as
    // if they had been handed over one by one.
    void KeepLastBytes(const Octet* bytes, std::size_t count);

    // Writes what the output buffer still holds; called once after a
    // decoder has finished normally.
    void FlushRest();

    // Sum of every byte handed to WriteTargetByte, modulo 2^32.
    std::uint32_t OutputSum() const;

private:
    bool Refill();
    void FlushFullBuffer();
    void YieldTimeSlice();
    static std::uint32_t SumOf(const Octet* bytes, std::size_t count);

    // Taken from the settings at the start, as the component's event was.
    TShowProgressEvent onShowProgress_;
    platform::Processor* processor_;
    platform::Stream& source_;
    platform::Stream& target_;

    std::array<std::uint8_t, kBufferSize> input_;
    std::size_t readPos_ = 0;
    std::size_t readEnd_ = 0;
    std::array<Octet, kBufferSize> output_;
    std::size_t writePos_ = 0;

    // Bytes beyond the data a decoder may read ahead: a bit buffer's word
    // and the 16 bits it keeps ready, with room to spare.
    static constexpr std::int32_t kMissingByteAllowance = 16;

    bool sourceExhausted_ = false;
    bool sourceEnded_ = false;  // every compressed byte has been fetched
    std::int32_t missingBytes_ = 0;
    std::int32_t sourceRemaining_;
    std::int32_t compressedSize_;
    std::int32_t chunkSize_ = static_cast<std::int32_t>(kBufferSize);
    std::int32_t fetchedSoFar_ = 0;
    // Bytes already written to the target; the sum of the bytes still in the
    // output buffer is added when they are flushed or when the sum is asked for.
    std::uint32_t flushedSum_ = 0;

    bool unscramble_;
    std::array<std::uint8_t, 4> keyBytes_;
    // Position of the next fetched byte in the four-byte key cycle. Bytes are
    // handed out in the order they are fetched, so unscrambling a whole chunk
    // at refill time gives every byte the key byte it would get when taken.
    std::size_t keyIndex_ = 0;
};

// The percentage of `done` out of `total` (> 0) that the progress handler is
// given: exact below 100000 bytes, and free of overflow above.
int ProgressPercent(std::int32_t done, std::int32_t total);

}  // namespace kav::lzh
