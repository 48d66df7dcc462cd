#pragma once
// Checked little-endian loads from a picture file held in memory: reading
// past the end raises EInvalidGraphic instead of touching other memory.
#include <cstddef>
#include <cstdint>

#include "widgets/picture/picture.h"

namespace kav::widgets::picture {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Size() const { return size_; }
    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return size_ - position_; }
    void Seek(std::size_t position) {
        if (position > size_) throw EInvalidGraphic("picture data ends too early");
        position_ = position;
    }
    void Skip(std::size_t count) { Seek(Need(count) + count); }

    std::uint8_t U8() {
        const std::size_t at = Need(1);
        ++position_;
        return data_[at];
    }
    std::uint16_t U16() {
        const std::size_t at = Need(2);
        position_ += 2;
        return static_cast<std::uint16_t>(data_[at] | data_[at + 1] << 8);
    }
    std::uint32_t U32() {
        const std::size_t at = Need(4);
        position_ += 4;
        return static_cast<std::uint32_t>(data_[at]) |
               static_cast<std::uint32_t>(data_[at + 1]) << 8 |
               static_cast<std::uint32_t>(data_[at + 2]) << 16 |
               static_cast<std::uint32_t>(data_[at + 3]) << 24;
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    // `count` bytes from the current position, which moves past them.
    const std::uint8_t* Bytes(std::size_t count) {
        const std::size_t at = Need(count);
        position_ += count;
        return data_ + at;
    }

private:
    std::size_t Need(std::size_t count) const {
        if (count > size_ - position_) throw EInvalidGraphic("picture data ends too early");
        return position_;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace kav::widgets::picture
