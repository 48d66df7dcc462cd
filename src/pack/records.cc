#include "pack/records.h"

#include <algorithm>

namespace kav::pack {

using namespace archive;

RecordBytes<TCompressArchiveHeader::kSize> ArchiveHeaderRecord(const std::string& compressId,
                                                               std::int32_t total, std::int32_t key,
                                                               std::uint8_t archiveType) {
    RecordBytes<TCompressArchiveHeader::kSize> header{};
    StoreTag<TCompressArchiveHeader::kSignature>(header, kArchiveSignature);
    for (std::size_t i = 0; i < 3 && i < compressId.size(); ++i) {
        header[TCompressArchiveHeader::kCompressId + i] = static_cast<std::uint8_t>(compressId[i]);
    }
    StoreU32<TCompressArchiveHeader::kTotalUncompressed>(header, static_cast<std::uint32_t>(total));
    StoreU8<TCompressArchiveHeader::kArchiveType>(header, archiveType);
    StoreU32<TCompressArchiveHeader::kArchiveLock>(header, key > 0 ? kArchiveLockKeyed : 0);
    return header;
}

TCompressFileHeader FileHeaderRecord(const FileHeaderFields& f) {
    TCompressFileHeader header;
    header.SetNameLength(f.nameLength);
    header.SetFileDate(f.fileDate);
    header.SetAttributes(f.attributes);
    header.SetUncompressedSize(f.uncompressedSize);
    header.SetCompressedSize(f.compressedSize);
    header.SetMethod(f.method);
    header.SetChecksum(f.checksum);
    header.SetLockValue(f.lockValue);
    return header;
}

void Scramble(std::uint8_t* data, std::size_t size, std::int32_t key, std::size_t& keyIndex) {
    const auto k = static_cast<std::uint32_t>(key);
    for (std::size_t i = 0; i < size; ++i) {
        data[i] ^= static_cast<std::uint8_t>(k >> (8 * keyIndex));
        keyIndex = (keyIndex + 1) % 4;
    }
}

std::uint32_t EntryChecksum(std::uint32_t byteSum, std::int32_t lockValue, std::int32_t key) {
    return lockValue > 0 ? byteSum + static_cast<std::uint32_t>(key) : byteSum;
}

Bytes ListFileRecords(const std::vector<std::string>& names, std::int32_t recordLength,
                      bool shortLastRecord, std::uint8_t padding) {
    Bytes list;
    const auto length = static_cast<std::size_t>(recordLength);
    for (std::size_t i = 0; i < names.size(); ++i) {
        Bytes record(names[i].begin(), names[i].end());
        const bool last = i + 1 == names.size();
        if (!(last && shortLastRecord)) record.resize(std::max(record.size(), length), padding);
        record.resize(std::min(record.size(), length));
        list.insert(list.end(), record.begin(), record.end());
    }
    return list;
}

Bytes StoredArchive(const std::string& entryName, const Bytes& content, std::int32_t fileDate,
                    std::uint16_t attributes) {
    Bytes out;
    Append(out, ArchiveHeaderRecord("LH5", static_cast<std::int32_t>(content.size()), 0));
    FileHeaderFields f;
    f.nameLength = static_cast<std::int16_t>(entryName.size());
    f.fileDate = fileDate;
    f.attributes = attributes;
    f.uncompressedSize = f.compressedSize = static_cast<std::int32_t>(content.size());
    f.method = 0;
    for (auto b : content) f.checksum += b;
    Append(out, FileHeaderRecord(f).bytes);
    Append(out, entryName);
    out.insert(out.end(), content.begin(), content.end());
    return out;
}

RecordBytes<TSegIdHeader::kSize> SegIdRecord(std::uint16_t number) {
    RecordBytes<TSegIdHeader::kSize> id{};
    StoreTag<TSegIdHeader::kTag>(id, TSegIdHeader::kTagText);
    StoreU16<TSegIdHeader::kSegmentNumber>(id, number);
    return id;
}

RecordBytes<TSegSetHeader::kSize> SetHeaderRecord(std::uint16_t archiveCount) {
    RecordBytes<TSegSetHeader::kSize> set{};
    StoreTag<TSegSetHeader::kTag>(set, TSegSetHeader::kTagText);
    StoreU16<TSegSetHeader::kArchiveCount>(set, archiveCount);
    return set;
}

RecordBytes<TSegScanHeader::kSize> ScanHeaderRecord(std::uint16_t templateLength,
                                                    std::uint8_t archiveTag,
                                                    std::int32_t recordLength,
                                                    std::int32_t listArchiveSize) {
    RecordBytes<TSegScanHeader::kSize> scan{};
    StoreTag<TSegScanHeader::kTag>(scan, TSegScanHeader::kTagText);
    StoreU16<TSegScanHeader::kTemplateLength>(scan, templateLength);
    StoreU8<TSegScanHeader::kArchiveTag>(scan, archiveTag);
    StoreU32<TSegScanHeader::kRecordLength>(scan, static_cast<std::uint32_t>(recordLength));
    StoreU32<TSegScanHeader::kListArchiveSize>(scan, static_cast<std::uint32_t>(listArchiveSize));
    return scan;
}

RecordBytes<TSegArcHeader::kSize> ArcHeaderRecord(std::uint16_t sequenceNumber,
                                                  std::int32_t archiveSize) {
    RecordBytes<TSegArcHeader::kSize> arc{};
    StoreTag<TSegArcHeader::kTag>(arc, TSegArcHeader::kTagText);
    StoreU16<TSegArcHeader::kSequenceNumber>(arc, sequenceNumber);
    StoreU32<TSegArcHeader::kArchiveSize>(arc, static_cast<std::uint32_t>(archiveSize));
    return arc;
}

}  // namespace kav::pack
