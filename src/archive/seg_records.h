#pragma once
// The records of a segment set: the identification header at the start of
// every segment file, and the set header, scan records and archive records
// of the logical stream that runs through the segments.
#include <cstdint>
#include <string>

#include "archive/little_endian.h"

namespace kav::archive {

struct TSegIdHeader {
    static constexpr std::size_t kSize = 8;
    static constexpr std::size_t kTag = 0;
    static constexpr std::size_t kSegmentNumber = 6;
    static constexpr char kTagText[] = "SSeg";

    RecordBytes<kSize> bytes{};

    bool HasTag() const { return archive::HasTag<kTag>(bytes, kTagText); }
    std::uint16_t SegmentNumber() const { return LoadU16<kSegmentNumber>(bytes); }
};

struct TSegSetHeader {
    static constexpr std::size_t kSize = 21;
    static constexpr std::size_t kTag = 0;
    static constexpr std::size_t kArchiveCount = 6;
    static constexpr char kTagText[] = "SHdr";

    RecordBytes<kSize> bytes{};

    bool HasTag() const { return archive::HasTag<kTag>(bytes, kTagText); }
    std::uint16_t ArchiveCount() const { return LoadU16<kArchiveCount>(bytes); }
};

struct TSegScanHeader {
    static constexpr std::size_t kSize = 17;
    static constexpr std::size_t kTag = 0;
    static constexpr std::size_t kTemplateLength = 6;
    static constexpr std::size_t kArchiveTag = 8;
    static constexpr std::size_t kRecordLength = 9;
    static constexpr std::size_t kListArchiveSize = 13;
    static constexpr char kTagText[] = "Scan";

    RecordBytes<kSize> bytes{};

    bool HasTag() const { return archive::HasTag<kTag>(bytes, kTagText); }
    std::uint16_t TemplateLength() const { return LoadU16<kTemplateLength>(bytes); }
    std::uint8_t ArchiveTag() const { return LoadU8<kArchiveTag>(bytes); }
    std::int32_t RecordLength() const { return LoadI32<kRecordLength>(bytes); }
    std::int32_t ListArchiveSize() const { return LoadI32<kListArchiveSize>(bytes); }
};

struct TSegArcHeader {
    static constexpr std::size_t kSize = 16;
    static constexpr std::size_t kTag = 0;
    static constexpr std::size_t kSequenceNumber = 6;
    static constexpr std::size_t kArchiveSize = 12;
    static constexpr char kTagText[] = "SArc";

    RecordBytes<kSize> bytes{};

    bool HasTag() const { return archive::HasTag<kTag>(bytes, kTagText); }
    std::uint16_t SequenceNumber() const { return LoadU16<kSequenceNumber>(bytes); }
    std::int32_t ArchiveSize() const { return LoadI32<kArchiveSize>(bytes); }
};

// The file name of segment `number`: base name + "." + the fixed extension
// when there is one, else the number padded with "0" to three digits.
std::string SegmentFileName(const std::string& baseName, const std::string& fixedExtension,
                            std::uint16_t number);

}  // namespace kav::archive
