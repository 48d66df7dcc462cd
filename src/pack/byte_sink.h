#pragma once
// Where encoders and the set writer put their bytes: a growing buffer in
// memory, or anything else that takes bytes in order (a file, a segment
// splitter).
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kav::pack {

using Bytes = std::vector<std::uint8_t>;

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(const std::uint8_t* data, std::size_t size) = 0;
    // Ends the writing; a sink that can fail late (a file) reports it here.
    virtual void Close() {}
};

class VectorSink final : public ByteSink {
public:
    explicit VectorSink(Bytes& bytes) : bytes_(bytes) {}
    void Write(const std::uint8_t* data, std::size_t size) override {
        bytes_.insert(bytes_.end(), data, data + size);
    }

private:
    Bytes& bytes_;
};

// Counts what passes through to another sink.
class CountingSink final : public ByteSink {
public:
    explicit CountingSink(ByteSink& next) : next_(next) {}
    void Write(const std::uint8_t* data, std::size_t size) override {
        count_ += size;
        next_.Write(data, size);
    }
    std::uint64_t Count() const { return count_; }

private:
    ByteSink& next_;
    std::uint64_t count_ = 0;
};

// Collects bytes one at a time and hands them on a few thousand at once.
class BufferedOutput {
public:
    explicit BufferedOutput(ByteSink& sink) : sink_(sink) {}
    BufferedOutput(const BufferedOutput&) = delete;
    BufferedOutput& operator=(const BufferedOutput&) = delete;

    void Put(std::uint8_t byte) {
        buffer_[used_++] = byte;
        if (used_ == buffer_.size()) Drain();
    }
    // Hands on what has been collected.
    void Drain() {
        sink_.Write(buffer_.data(), used_);
        used_ = 0;
    }

private:
    ByteSink& sink_;
    std::array<std::uint8_t, 4096> buffer_;
    std::size_t used_ = 0;
};

}  // namespace kav::pack
