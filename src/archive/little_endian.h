#pragma once
// Little-endian loads and stores on fixed-size records. The offset is a
// template argument so that a field that would reach past the end of its
// record fails to compile instead of reading outside the buffer.
#include <array>
#include <cstddef>
#include <cstdint>

namespace kav::archive {

template <std::size_t Size>
using RecordBytes = std::array<std::uint8_t, Size>;

template <std::size_t Offset, std::size_t Size>
std::uint8_t LoadU8(const RecordBytes<Size>& record) {
    static_assert(Offset + 1 <= Size, "field outside its record");
    return record[Offset];
}

template <std::size_t Offset, std::size_t Size>
std::uint16_t LoadU16(const RecordBytes<Size>& record) {
    static_assert(Offset + 2 <= Size, "field outside its record");
    return static_cast<std::uint16_t>(record[Offset] | (record[Offset + 1] << 8));
}

template <std::size_t Offset, std::size_t Size>
std::uint32_t LoadU32(const RecordBytes<Size>& record) {
    static_assert(Offset + 4 <= Size, "field outside its record");
    return static_cast<std::uint32_t>(record[Offset]) |
           (static_cast<std::uint32_t>(record[Offset + 1]) << 8) |
           (static_cast<std::uint32_t>(record[Offset + 2]) << 16) |
           (static_cast<std::uint32_t>(record[Offset + 3]) << 24);
}

template <std::size_t Offset, std::size_t Size>
std::int16_t LoadI16(const RecordBytes<Size>& record) {
    return static_cast<std::int16_t>(LoadU16<Offset>(record));
}

template <std::size_t Offset, std::size_t Size>
std::int32_t LoadI32(const RecordBytes<Size>& record) {
    return static_cast<std::int32_t>(LoadU32<Offset>(record));
}

// True when the record holds `tag` (its characters, no terminator) at Offset.
template <std::size_t Offset, std::size_t TagSize, std::size_t Size>
bool HasTag(const RecordBytes<Size>& record, const char (&tag)[TagSize]) {
    static_assert(Offset + TagSize - 1 <= Size, "field outside its record");
    for (std::size_t i = 0; i + 1 < TagSize; ++i) {
        if (record[Offset + i] != static_cast<std::uint8_t>(tag[i])) return false;
    }
    return true;
}

template <std::size_t Offset, std::size_t Size>
void StoreU8(RecordBytes<Size>& record, std::uint8_t value) {
    static_assert(Offset + 1 <= Size, "field outside its record");
    record[Offset] = value;
}

template <std::size_t Offset, std::size_t Size>
void StoreU16(RecordBytes<Size>& record, std::uint16_t value) {
    static_assert(Offset + 2 <= Size, "field outside its record");
    record[Offset] = static_cast<std::uint8_t>(value);
    record[Offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

template <std::size_t Offset, std::size_t Size>
void StoreU32(RecordBytes<Size>& record, std::uint32_t value) {
    static_assert(Offset + 4 <= Size, "field outside its record");
    for (std::size_t i = 0; i < 4; ++i) {
        record[Offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

template <std::size_t Offset, std::size_t TagSize, std::size_t Size>
void StoreTag(RecordBytes<Size>& record, const char (&tag)[TagSize]) {
    static_assert(Offset + TagSize - 1 <= Size, "field outside its record");
    for (std::size_t i = 0; i + 1 < TagSize; ++i) {
        record[Offset + i] = static_cast<std::uint8_t>(tag[i]);
    }
}

}  // namespace kav::archive
