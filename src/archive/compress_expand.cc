// Expansion of compressed archives: the entry loop, one entry's data, and
// the free-space and directory helpers it needs.
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "archive/compress.h"
#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "platform/errors.h"

namespace kav::archive {
namespace {

// The names to expand, folded to upper case, so that an archive of
// thousands of entries is not checked against the whole list entry by entry.
std::unordered_set<std::string> UpperNames(const std::vector<std::string>& names) {
    std::unordered_set<std::string> upper;
    for (const std::string& name : names) upper.insert(base::AsciiUpper(name));
    return upper;
}

// Attribute words are applied sign-extended, as the file header's 16 bits
// were always widened.
std::uint32_t WidenedAttributes(std::uint16_t attributes) {
    return static_cast<std::uint32_t>(
        static_cast<std::int32_t>(static_cast<std::int16_t>(attributes)));
}

// Copies a stored entry's bytes and returns their sum, as the codecs do.
std::uint32_t CopyStoredData(platform::Stream& output, platform::Stream& archive,
                             std::int32_t size) {
    // Large pieces: a stored entry costs little more than its reads and
    // writes, so their number decides its speed.
    constexpr std::int32_t kPieceSize = 64 * 1024;
    std::vector<std::uint8_t> buffer(
        static_cast<std::size_t>(std::clamp<std::int32_t>(size, 0, kPieceSize)));
    std::int64_t remaining = size;
    std::uint32_t sum = 0;
    while (remaining > 0) {
        const auto want = static_cast<std::size_t>(
            std::min<std::int64_t>(remaining, static_cast<std::int64_t>(buffer.size())));
        const std::size_t got = ReadFully(archive, buffer.data(), want);
        if (got != want) throw platform::EInOutError("Stream read error");
        for (std::size_t i = 0; i < got; ++i) sum += buffer[i];
        output.WriteExactly(buffer.data(), got);
        remaining -= static_cast<std::int64_t>(got);
    }
    return sum;
}

// An entry's output gathered into pieces of kPieceSize before it is
// written: the codecs hand over 8 KiB blocks, and a write costs a call into
// the system each, which under some systems is a round trip of its own.
class GatheredOutput final : public platform::Stream {
public:
    static constexpr std::size_t kPieceSize = 64 * 1024;

    // `buffer` is lent for the entry, so that one allocation serves them all.
    GatheredOutput(platform::Stream& file, std::vector<std::uint8_t>& buffer)
        : file_(file), buffer_(buffer) {
        buffer_.clear();
        buffer_.reserve(kPieceSize);
    }

    std::size_t Read(void* buffer, std::size_t count) override {
        Flush();
        return file_.Read(buffer, count);
    }
    void WriteExactly(const void* data, std::size_t count) override {
        if (buffer_.size() + count > kPieceSize) Flush();
        if (count >= kPieceSize) {
            file_.WriteExactly(data, count);
            return;
        }
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        buffer_.insert(buffer_.end(), bytes, bytes + count);
    }
    std::int64_t Position() const override {
        return file_.Position() + static_cast<std::int64_t>(buffer_.size());
    }
    std::int64_t Size() const override { return std::max(file_.Size(), Position()); }
    void Seek(std::int64_t position) override {
        Flush();
        file_.Seek(position);
    }
    // Writes what is gathered. Throws EWriteError as a write does; what a
    // failed write held is dropped then, never written a second time.
    void Flush() {
        if (buffer_.empty()) return;
        struct Drop {
            std::vector<std::uint8_t>& gathered;
            ~Drop() { gathered.clear(); }
        } drop{buffer_};
        file_.WriteExactly(buffer_.data(), buffer_.size());
    }

private:
    platform::Stream& file_;
    std::vector<std::uint8_t>& buffer_;
};

}  // namespace

void TCompress::ExpandArchive(const std::string& archivePath, std::vector<std::string>* names) {
    auto archive = files_.OpenReadExclusive(archivePath);
    ExpandArchive(*archive, names);
}

void TCompress::ExpandArchive(platform::Stream& archive, std::vector<std::string>* names) {
    std::vector<std::string> written;
    const std::unordered_set<std::string> wanted =
        names != nullptr ? UpperNames(*names) : std::unordered_set<std::string>();
    std::string compressId;
    const TCompressArchiveHeader archiveHeader = ReadArchiveHeader(archive, compressId);
    const std::int64_t total = archiveHeader.TotalUncompressed();
    std::int64_t runningTotal = 0;

    TCompressFileHeader header;
    std::string name;
    std::vector<std::uint8_t> gathered;
    while (ReadFileHeader(archive, header, name)) {
        // The header's total ends the archive once its entries have brought
        // it there; empty files add nothing to it, so those that follow are
        // still part of the archive.
        if (runningTotal >= total && header.UncompressedSize() != 0) break;
        if (names != nullptr && wanted.count(base::AsciiUpper(name)) == 0) {
            SkipEntryData(archive, header.CompressedSize());
            runningTotal += header.UncompressedSize();
            continue;
        }
        std::string outputPath = (!name.empty() && name[0] == '\\') ? name : TargetPath() + name;
        if (OnCheckFile) {
            OnCheckFile(outputPath, cpExpand);
            if (outputPath.empty()) {
                SkipEntryData(archive, header.CompressedSize());
                continue;
            }
            if (outputPath == "*") break;
        }
        if (const std::int64_t free = FreeSpaceFor(outputPath); free < header.UncompressedSize()) {
            throw EInsufficientDiskSpace(outputPath, header.UncompressedSize(), free);
        }
        if (MakeDirectories) ForceDirectoryChain(base::DirectoryPart(outputPath));

        std::unique_ptr<platform::FileStream> output;
        try {
            output = files_.Create(outputPath);
        } catch (const platform::EFCreateError&) {
            if (ExceptionOnFileError) throw;
            SkipEntryData(archive, header.CompressedSize());
            continue;
        }

        const std::uint32_t attributes = WidenedAttributes(header.Attributes());
        GatheredOutput pieces(*output, gathered);
        try {
            ExpandEntry(pieces, archive, header.CompressedSize(), header.UncompressedSize(),
                        header.Checksum(), header.Method(), compressId, header.LockValue());
            pieces.Flush();
        } catch (const EInvalidKey&) {
            // A file that the key did not open is of no use to anyone.
            output.reset();
            files_.RemoveFile(outputPath);
            throw;
        } catch (...) {
            // The file keeps what was expanded before the failure.
            try {
                pieces.Flush();
            } catch (const kav::Exception&) {
            }
            output.reset();
            files_.SetAttributes(outputPath, attributes);
            throw;
        }
        // The system may refuse a date; the data is what matters.
        output->SetDosDateTime(static_cast<std::uint32_t>(header.FileDate()));
        written.push_back(outputPath);
        // Through the open file where the system can: by name it costs one
        // more open, which for a set of small files is much of the time.
        const bool attributesSet = output->SetAttributes(attributes);
        output.reset();
        if (!attributesSet) files_.SetAttributes(outputPath, attributes);
        if (OnExpanded) OnExpanded(outputPath, header.UncompressedSize(), header.Checksum());
        runningTotal += header.UncompressedSize();
    }
    if (names != nullptr) *names = std::move(written);
}

void TCompress::ExpandEntry(platform::Stream& output, platform::Stream& archive,
                            std::int32_t compressedSize, std::int32_t uncompressedSize,
                            std::uint32_t checksum, std::uint8_t method,
                            const std::string& CompressID, std::int32_t lockValue) {
    const bool locked = lockValue > 0;
    if (method != coNone && locked && Key == 0) throw EInvalidKey();

    std::uint32_t sum = 0;
    switch (method) {
        case coNone:
            sum = CopyStoredData(output, archive, compressedSize);
            break;
        case coRLE:
        case coLZH:
        case coLZH5: {
            lzh::CodecSettings settings;
            settings.Key = Key;
            settings.OnShowProgress = OnShowProgress;
            settings.processor = processor_;
            try {
                sum = lzh::ExpandCodedData(settings, archive, output, lockValue == kLockScrambled,
                                           method, uncompressedSize,
                                           std::max<std::int32_t>(compressedSize, 0));
            } catch (const lzh::ELZHBadDecodeTable&) {
                // With a wrong key the data only looks corrupt.
                if (locked) throw EInvalidKey();
                throw;
            } catch (const lzh::ELZHTruncatedData&) {
                if (locked) throw EInvalidKey();
                throw;
            }
            break;
        }
        case coCustom:
            if (OnExpand) {
                std::int32_t handlerSum = 0;
                OnExpand(output, archive, compressedSize, uncompressedSize, CompressID, handlerSum);
                sum = static_cast<std::uint32_t>(handlerSum);
            }
            break;
        default:
            break;
    }

    if (sum == checksum) return;
    // A stored entry whose builder left the field 0 is taken as it is; a
    // locked one cannot be checked without its key, which it does not need.
    if (method == coNone && (checksum == 0 || (locked && Key == 0))) return;
    if (!locked) throw EBadChecksum();
    if (sum + static_cast<std::uint32_t>(Key) != checksum) throw EInvalidKey();
}

std::int64_t TCompress::FreeSpaceFor(const std::string& outputPath) {
    if (!CheckSpaceBeforeExpand) return kUnlimitedSpace;
    const std::string path = base::AsciiUpper(outputPath);
    int drive = 0;
    if (path.size() > 1 && path[1] == ':') drive = static_cast<unsigned char>(path[0]) - 64;
    const auto free = files_.FreeSpace(drive);
    if (!free || *free > static_cast<std::uint64_t>(kUnlimitedSpace)) return kUnlimitedSpace;
    std::int64_t result = static_cast<std::int64_t>(*free);
    if (files_.FileExists(outputPath)) result += files_.OpenRead(outputPath)->Size();
    return result;
}

void TCompress::ForceDirectoryChain(const std::string& directory) {
    if (directory.empty()) return;
    const std::string name = base::WithoutTrailingBackslash(directory);
    if (name.size() < 3 || files_.DirectoryExists(name)) return;
    // A name ending in ":" ("\aC:") is its own directory part; going up
    // from it would never end.
    const std::string parent = base::DirectoryPart(name);
    if (parent != name) ForceDirectoryChain(parent);
    if (!files_.MakeDirectory(name)) {
        throw platform::EInOutError("Unable to create directory " + name);
    }
}

}  // namespace kav::archive
