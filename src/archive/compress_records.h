#pragma once
// The two records of a compressed archive: the archive header in front of
// everything and the file header in front of each entry's name and data.
#include <cstdint>
#include <string>

#include "archive/little_endian.h"

namespace kav::archive {

// Signature at the start of every compressed archive: "HZRC" and 0x1A.
inline constexpr char kArchiveSignature[] = "HZRC\x1A";
// The only archive type this reader accepts (caMulti).
inline constexpr std::uint8_t caMulti = 1;
// The archive lock written when the writer's Key was positive.
inline constexpr std::int32_t kArchiveLockKeyed = 2;
// A file header's lock value meaning "locked and scrambled".
inline constexpr std::int32_t kLockScrambled = 2;

struct TCompressArchiveHeader {
    static constexpr std::size_t kSize = 21;
    // Field offsets.
    static constexpr std::size_t kSignature = 0;
    static constexpr std::size_t kCompressId = 5;
    static constexpr std::size_t kTotalUncompressed = 8;
    static constexpr std::size_t kArchiveType = 12;
    static constexpr std::size_t kReserved = 13;
    static constexpr std::size_t kArchiveLock = 17;

    RecordBytes<kSize> bytes{};

    bool HasSignature() const { return HasTag<kSignature>(bytes, kArchiveSignature); }
    std::string CompressId() const {
        return std::string(bytes.begin() + kCompressId, bytes.begin() + kCompressId + 3);
    }
    std::int32_t TotalUncompressed() const { return LoadI32<kTotalUncompressed>(bytes); }
    std::uint8_t ArchiveType() const { return LoadU8<kArchiveType>(bytes); }
    std::int32_t ArchiveLock() const { return LoadI32<kArchiveLock>(bytes); }
};

struct TCompressFileHeader {
    static constexpr std::size_t kSize = 25;
    static constexpr std::size_t kNameLength = 0;
    static constexpr std::size_t kFileDate = 2;
    static constexpr std::size_t kAttributes = 6;
    static constexpr std::size_t kUncompressedSize = 8;
    static constexpr std::size_t kCompressedSize = 12;
    static constexpr std::size_t kMethod = 16;
    static constexpr std::size_t kChecksum = 17;
    static constexpr std::size_t kLockValue = 21;

    RecordBytes<kSize> bytes{};

    std::int16_t NameLength() const { return LoadI16<kNameLength>(bytes); }
    std::int32_t FileDate() const { return LoadI32<kFileDate>(bytes); }
    std::uint16_t Attributes() const { return LoadU16<kAttributes>(bytes); }
    std::int32_t UncompressedSize() const { return LoadI32<kUncompressedSize>(bytes); }
    std::int32_t CompressedSize() const { return LoadI32<kCompressedSize>(bytes); }
    std::uint8_t Method() const { return LoadU8<kMethod>(bytes); }
    std::uint32_t Checksum() const { return LoadU32<kChecksum>(bytes); }
    std::int32_t LockValue() const { return LoadI32<kLockValue>(bytes); }

    void SetNameLength(std::int16_t v) {
        StoreU16<kNameLength>(bytes, static_cast<std::uint16_t>(v));
    }
    void SetFileDate(std::int32_t v) { StoreU32<kFileDate>(bytes, static_cast<std::uint32_t>(v)); }
    void SetAttributes(std::uint16_t v) { StoreU16<kAttributes>(bytes, v); }
    void SetUncompressedSize(std::int32_t v) {
        StoreU32<kUncompressedSize>(bytes, static_cast<std::uint32_t>(v));
    }
    void SetCompressedSize(std::int32_t v) {
        StoreU32<kCompressedSize>(bytes, static_cast<std::uint32_t>(v));
    }
    void SetMethod(std::uint8_t v) { StoreU8<kMethod>(bytes, v); }
    void SetChecksum(std::uint32_t v) { StoreU32<kChecksum>(bytes, v); }
    void SetLockValue(std::int32_t v) {
        StoreU32<kLockValue>(bytes, static_cast<std::uint32_t>(v));
    }
};

// Bytes of the smallest archive that can hold an entry: anything this short
// or shorter lists nothing.
inline constexpr std::int64_t kSmallestListableArchive =
    TCompressArchiveHeader::kSize + TCompressFileHeader::kSize;

}  // namespace kav::archive
