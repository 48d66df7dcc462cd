#pragma once
// TCompress: reads compressed archives (an archive header, then per entry a
// file header, the stored name and the coded data) and expands their
// entries as files, asking the owner about every output path.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/compress_errors.h"
#include "archive/compress_records.h"
#include "lzh/codec_driver.h"
#include "lzh/compression_method.h"
#include "platform/file_system.h"
#include "platform/processor.h"
#include "platform/stream.h"

namespace kav::archive {

using lzh::coCustom;
using lzh::coLZH;
using lzh::coLZH5;
using lzh::coNone;
using lzh::coRLE;
using lzh::TCompressionMethod;

enum TCProcessMode { cpCompress = 0, cpExpand = 1 };

// What a listing records about one entry.
struct TCompressedFileInfo {
    std::int32_t FileDate = 0;
    std::uint16_t FileAttributes = 0;
    std::int32_t UncompressedSize = 0;
    std::int32_t CompressedSize = 0;
    TCompressionMethod Method = coNone;  // the raw method byte, possibly above coLZH5
    std::uint32_t Checksum = 0;
    std::int32_t HeaderOffset = 0;
    bool Locked = false;
};

// One listed entry: its stored name with the information about it.
struct TCompressedFileEntry {
    std::string Name;
    TCompressedFileInfo Info;
};
using TCompressedFileList = std::vector<TCompressedFileEntry>;

using TFilenameCheckEvent = std::function<void(std::string& filepath, TCProcessMode mode)>;
using TExpandEvent = std::function<void(platform::Stream& dest, platform::Stream& source,
                                        std::int32_t Sourcesize, std::int32_t Destsize,
                                        const std::string& CompressID, std::int32_t& checksum)>;
using TCompressEvent =
    std::function<void(platform::Stream& dest, platform::Stream& source, std::string& CompressID,
                       std::int32_t& Outputsize, std::int32_t& checksum)>;
using TRecognizeEvent = std::function<void(const std::string& CompressID, bool& recognized)>;
using lzh::TShowProgressEvent;
// An entry has been expanded to `filepath` and its checksum matched.
using TExpandedEvent =
    std::function<void(const std::string& filepath, std::int32_t size, std::uint32_t checksum)>;

// The method identifiers, indexed by method ordinal.
inline constexpr const char* kMethodIds[] = {"NON", "RLE", "LZH", "CUS", "LH5"};

// The largest signed 32-bit count: "room enough" when free space is not
// checked or cannot be known.
inline constexpr std::int64_t kUnlimitedSpace = 2147483647;

class TCompress {
public:
    // `processor` lets the codec driver yield the time slice; may be null.
    explicit TCompress(platform::FileSystem& files, platform::Processor* processor = nullptr);
    TCompress(const TCompress&) = delete;
    TCompress& operator=(const TCompress&) = delete;
    virtual ~TCompress() = default;

    TCompressEvent OnCompress;  // never raised by expansion
    TExpandEvent OnExpand;
    TFilenameCheckEvent OnCheckFile;
    TRecognizeEvent OnRecognize;
    TShowProgressEvent OnShowProgress;
    TExpandedEvent OnExpanded;

    const std::string& TargetPath() const { return targetPath_; }
    // A non-empty value gets a final "\" when it has none.
    void SetTargetPath(const std::string& value);

    bool MakeDirectories = false;
    bool ExceptionOnFileError = false;
    std::int32_t Key = 0;
    bool CheckSpaceBeforeExpand = false;

    // Appends every entry of the archive to `list` (which is not cleared).
    void ScanArchive(const std::string& archivePath, TCompressedFileList& list);
    void ScanArchive(platform::Stream& archive, TCompressedFileList& list);

    // Reads and validates the archive header at the stream position. An
    // archive too short for a header reads as an empty one.
    TCompressArchiveHeader ReadArchiveHeader(platform::Stream& archive, std::string& CompressID);
    // Reads one file header and its name; false when either is incomplete
    // or the name length is negative.
    bool ReadFileHeader(platform::Stream& archive, TCompressFileHeader& header, std::string& name);
    TCompressionMethod MethodFromId(const std::string& CompressID);
    TCompressArchiveHeader MakeArchiveHeader(const std::string& CompressID,
                                             std::int32_t totalUncompressed,
                                             std::uint8_t archiveType) const;

    // Expands the entries of an archive; with `names`, only the entries whose
    // stored names it holds, and on normal return `names` holds the output
    // paths written instead.
    void ExpandArchive(const std::string& archivePath, std::vector<std::string>* names);
    void ExpandArchive(platform::Stream& archive, std::vector<std::string>* names);
    // Writes one entry from the archive stream, positioned at its data.
    void ExpandEntry(platform::Stream& output, platform::Stream& archive,
                     std::int32_t compressedSize, std::int32_t uncompressedSize,
                     std::uint32_t checksum, std::uint8_t method, const std::string& CompressID,
                     std::int32_t lockValue);

    std::int64_t FreeSpaceFor(const std::string& outputPath);
    void ForceDirectoryChain(const std::string& directory);

protected:
    platform::FileSystem& files_;
    platform::Processor* processor_;

private:
    std::string targetPath_;
};

// Reads until `count` bytes came or the stream has no more; returns how many
// came. Streams may deliver less than asked without being at their end.
std::size_t ReadFully(platform::Stream& stream, void* buffer, std::size_t count);

// Moves the stream forward past an entry's data. A negative size counts as
// no data: a damaged header must never send the reader backwards.
void SkipEntryData(platform::Stream& archive, std::int32_t compressedSize);

}  // namespace kav::archive
