#pragma once
// The records of compressed archives and segment sets as a writer fills
// them: every field through the named offsets the readers use.
#include <cstdint>
#include <string>
#include <vector>

#include "archive/compress_records.h"
#include "archive/seg_records.h"
#include "pack/byte_sink.h"

namespace kav::pack {

// The archive header: signature, the identifier's first three characters
// (zero bytes where it is shorter), total, type, and the archive lock 2
// when the key is positive.
archive::RecordBytes<archive::TCompressArchiveHeader::kSize> ArchiveHeaderRecord(
    const std::string& compressId, std::int32_t total, std::int32_t key,
    std::uint8_t archiveType = archive::caMulti);

struct FileHeaderFields {
    std::int16_t nameLength = 0;
    std::int32_t fileDate = 0;
    std::uint16_t attributes = 0;
    std::int32_t uncompressedSize = 0;
    std::int32_t compressedSize = 0;
    std::uint8_t method = 0;
    std::uint32_t checksum = 0;
    std::int32_t lockValue = 0;
};
archive::TCompressFileHeader FileHeaderRecord(const FileHeaderFields& fields);

// XORs coded data with the key's bytes, least significant first, cycling
// from `keyIndex` (0 at the start of an entry), which it advances.
void Scramble(std::uint8_t* data, std::size_t size, std::int32_t key, std::size_t& keyIndex);

// The checksum an entry header carries: the byte sum, plus the key for a
// locked entry.
std::uint32_t EntryChecksum(std::uint32_t byteSum, std::int32_t lockValue, std::int32_t key);

// List file: the names in records of `recordLength` bytes, each padded with
// `padding`; the last one is left short when `shortLastRecord`.
Bytes ListFileRecords(const std::vector<std::string>& names, std::int32_t recordLength,
                      bool shortLastRecord = true, std::uint8_t padding = ' ');
// An archive holding `content` as its one stored entry.
Bytes StoredArchive(const std::string& entryName, const Bytes& content, std::int32_t fileDate = 0,
                    std::uint16_t attributes = 0x20);

archive::RecordBytes<archive::TSegIdHeader::kSize> SegIdRecord(std::uint16_t number);
archive::RecordBytes<archive::TSegSetHeader::kSize> SetHeaderRecord(std::uint16_t archiveCount);
archive::RecordBytes<archive::TSegScanHeader::kSize> ScanHeaderRecord(std::uint16_t templateLength,
                                                                      std::uint8_t archiveTag,
                                                                      std::int32_t recordLength,
                                                                      std::int32_t listArchiveSize);
archive::RecordBytes<archive::TSegArcHeader::kSize> ArcHeaderRecord(std::uint16_t sequenceNumber,
                                                                    std::int32_t archiveSize);

template <std::size_t N>
void Append(Bytes& out, const archive::RecordBytes<N>& record) {
    out.insert(out.end(), record.begin(), record.end());
}
inline void Append(Bytes& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}
template <std::size_t N>
void WriteRecord(ByteSink& sink, const archive::RecordBytes<N>& record) {
    sink.Write(record.data(), record.size());
}

}  // namespace kav::pack
