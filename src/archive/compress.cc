#include "archive/compress.h"

#include "base/path_parts.h"

namespace kav::archive {

TCompress::TCompress(platform::FileSystem& files, platform::Processor* processor)
    : files_(files), processor_(processor) {}

void TCompress::SetTargetPath(const std::string& value) {
    targetPath_ = value;
    if (!targetPath_.empty() && targetPath_.back() != '\\') targetPath_ += '\\';
}

std::size_t ReadFully(platform::Stream& stream, void* buffer, std::size_t count) {
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t got = stream.Read(bytes + done, count - done);
        if (got == 0) break;
        done += got;
    }
    return done;
}

void SkipEntryData(platform::Stream& archive, std::int32_t compressedSize) {
    if (compressedSize > 0) archive.Seek(archive.Position() + compressedSize);
}

void TCompress::ScanArchive(const std::string& archivePath, TCompressedFileList& list) {
    auto archive = files_.OpenReadExclusive(archivePath);
    ScanArchive(*archive, list);
}

void TCompress::ScanArchive(platform::Stream& archive, TCompressedFileList& list) {
    if (archive.Size() - archive.Position() < kSmallestListableArchive) return;
    std::string compressId;
    ReadArchiveHeader(archive, compressId);
    TCompressFileHeader header;
    std::string name;
    while (ReadFileHeader(archive, header, name)) {
        TCompressedFileInfo info;
        info.FileDate = header.FileDate();
        info.FileAttributes = header.Attributes();
        info.UncompressedSize = header.UncompressedSize();
        info.CompressedSize = header.CompressedSize();
        info.Method = static_cast<TCompressionMethod>(header.Method());
        info.Checksum = header.Checksum();
        info.HeaderOffset =
            static_cast<std::int32_t>(archive.Position() - TCompressFileHeader::kSize -
                                      static_cast<std::int64_t>(name.size()));
        info.Locked = header.LockValue() > 0;
        list.push_back({name, info});
        SkipEntryData(archive, header.CompressedSize());
    }
}

TCompressArchiveHeader TCompress::ReadArchiveHeader(platform::Stream& archive,
                                                    std::string& CompressID) {
    if (archive.Size() - archive.Position() <
        static_cast<std::int64_t>(TCompressArchiveHeader::kSize)) {
        CompressID.clear();
        return MakeArchiveHeader("", 0, caMulti);
    }
    TCompressArchiveHeader header;
    if (ReadFully(archive, header.bytes.data(), header.bytes.size()) != header.bytes.size()) {
        // The size said it was there; a stream that cannot deliver it has no header.
        CompressID.clear();
        return MakeArchiveHeader("", 0, caMulti);
    }
    if (!header.HasSignature()) throw EInvalidHeader();
    if (header.ArchiveType() != caMulti) throw EInvalidHeaderArchiveType();
    CompressID = header.CompressId();
    MethodFromId(CompressID);
    return header;
}

bool TCompress::ReadFileHeader(platform::Stream& archive, TCompressFileHeader& header,
                               std::string& name) {
    if (ReadFully(archive, header.bytes.data(), header.bytes.size()) != header.bytes.size()) {
        return false;
    }
    const std::int16_t nameLength = header.NameLength();
    if (nameLength < 0) return false;
    name.assign(static_cast<std::size_t>(nameLength), '\0');
    return ReadFully(archive, name.data(), name.size()) == name.size();
}

TCompressionMethod TCompress::MethodFromId(const std::string& CompressID) {
    for (std::uint8_t ordinal = 0; ordinal < std::size(kMethodIds); ++ordinal) {
        if (CompressID == kMethodIds[ordinal]) return static_cast<TCompressionMethod>(ordinal);
    }
    if (OnRecognize) {
        bool recognized = false;
        OnRecognize(CompressID, recognized);
        if (recognized) return coCustom;
    }
    throw EUnrecognizedCompressionMethod(CompressID);
}

TCompressArchiveHeader TCompress::MakeArchiveHeader(const std::string& CompressID,
                                                    std::int32_t totalUncompressed,
                                                    std::uint8_t archiveType) const {
    TCompressArchiveHeader header;
    StoreTag<TCompressArchiveHeader::kSignature>(header.bytes, kArchiveSignature);
    for (std::size_t i = 0; i < 3 && i < CompressID.size(); ++i) {
        header.bytes[TCompressArchiveHeader::kCompressId + i] =
            static_cast<std::uint8_t>(CompressID[i]);
    }
    StoreU32<TCompressArchiveHeader::kTotalUncompressed>(
        header.bytes, static_cast<std::uint32_t>(totalUncompressed));
    StoreU8<TCompressArchiveHeader::kArchiveType>(header.bytes, archiveType);
    StoreU32<TCompressArchiveHeader::kReserved>(header.bytes, 0);
    StoreU32<TCompressArchiveHeader::kArchiveLock>(
        header.bytes, Key > 0 ? static_cast<std::uint32_t>(kArchiveLockKeyed) : 0);
    return header;
}

}  // namespace kav::archive
