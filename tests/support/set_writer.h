#pragma once
// Writes compressed archives and segment sets for tests and fuzz seeds. The
// program itself only reads; this writer makes every shape the reader must
// cope with, well-formed or deliberately damaged.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "lzh/compression_method.h"

namespace kav::archive::testing {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(const std::string& text);
std::uint32_t ByteSum(const Bytes& data);
// Run-length codes `data` with escape byte 0x94 (a run extends the literal
// in front of it; 0x94 0x00 is a literal 0x94).
Bytes EncodeRle(const Bytes& data);
// FNV-1a 64 of `data`, as the LZH fixture manifest lists it.
std::uint64_t Fnv1a64(const Bytes& data);

// One entry of an archive. `data` is the expanded content for stored and
// run-length entries; coded LZH entries carry `coded` and the expanded size
// and sum from the fixture manifest.
struct EntrySpec {
    std::string name;
    std::uint8_t method = lzh::coNone;
    Bytes data;
    std::optional<Bytes> coded;
    std::int32_t uncompressedSize = 0;
    std::uint32_t byteSum = 0;
    std::uint64_t fnv = 0;               // of the expanded content
    std::int32_t fileDate = 0x2A8B6C21;  // 2001-04-11 13:33:02
    std::uint16_t attributes = 0x20;
    // 2 scrambles coded data with the archive's key; any positive value
    // adds the key to the checksum.
    std::int32_t lockValue = 0;
    std::optional<std::uint32_t> checksum;       // replaces the computed one
    std::optional<std::int32_t> compressedSize;  // replaces the real one
    std::optional<std::int16_t> nameLength;      // replaces the real one
};

EntrySpec Stored(const std::string& name, const Bytes& data);
EntrySpec Rle(const std::string& name, const Bytes& data);
// An entry coded with any method byte whose data is `data` as it is.
EntrySpec Raw(const std::string& name, std::uint8_t method, const Bytes& data,
              std::uint32_t checksum);
// An LZH5 (.lh5) or LZH (.lh1) entry from tests/data/lzh/<fixture>.
EntrySpec FromFixture(const std::string& name, const std::string& fixture);
// The same from any raw stream with known expansion.
EntrySpec Coded(const std::string& name, std::uint8_t method, Bytes coded,
                std::int32_t uncompressedSize, std::uint32_t byteSum);

class ArchiveWriter {
public:
    explicit ArchiveWriter(std::string compressId = "LH5") : compressId_(std::move(compressId)) {}
    ArchiveWriter& Key(std::int32_t key) {
        key_ = key;
        return *this;
    }
    ArchiveWriter& ArchiveType(std::uint8_t type) {
        archiveType_ = type;
        return *this;
    }
    ArchiveWriter& Total(std::int32_t total) {
        total_ = total;
        return *this;
    }
    ArchiveWriter& Add(EntrySpec entry) {
        entries_.push_back(std::move(entry));
        return *this;
    }

    Bytes Build() const;
    const std::vector<EntrySpec>& Entries() const { return entries_; }

private:
    std::string compressId_;
    std::int32_t key_ = 0;
    std::uint8_t archiveType_ = 1;
    std::optional<std::int32_t> total_;
    std::vector<EntrySpec> entries_;
};

// A list archive: one stored entry whose content is `names`, each padded to
// `recordLength` (the last one may stay shorter) with `padding`.
Bytes ListArchive(const std::vector<std::string>& names, std::int32_t recordLength,
                  bool shortLastRecord = true, std::uint8_t padding = ' ',
                  const std::string& entryName = "files.lst");

struct ArchiveLayout {
    std::string templ = "C:\\KAV\\main.arc";
    std::uint8_t archiveTag = 0;
    std::int32_t recordLength = 64;
    std::vector<std::string> listNames;  // what the list file names
    Bytes archive;
    std::optional<Bytes> listArchive;  // replaces the one made from listNames
    std::optional<std::uint16_t> sequenceNumber;
    std::optional<std::uint16_t> templateLength;
};

// A scan record and archive whose list file names every entry of `archive`.
ArchiveLayout ArchiveFor(const std::string& templ, const ArchiveWriter& archive,
                         std::int32_t recordLength = 64);

// Where each record lies in the logical stream, for cutting segments inside
// them.
struct StreamLayout {
    std::size_t setHeader = 0;
    std::vector<std::size_t> scanHeaders, templates, listArchives, archiveHeaders, archives;
    std::size_t size = 0;
};

struct SegmentFile {
    std::string name;
    Bytes bytes;
};

class SegmentSetWriter {
public:
    SegmentSetWriter& Add(ArchiveLayout archive) {
        archives_.push_back(std::move(archive));
        return *this;
    }
    SegmentSetWriter& ArchiveCount(std::uint16_t count) {
        archiveCount_ = count;
        return *this;
    }

    Bytes LogicalStream(StreamLayout* layout = nullptr) const;

    // Cuts the logical stream at the given positions (ascending; a repeated
    // position gives a segment that holds nothing but its 8-byte header).
    std::vector<SegmentFile> SplitAt(const std::vector<std::size_t>& cuts) const;
    // Shares of at most `share` bytes each.
    std::vector<SegmentFile> SplitEvery(std::size_t share) const;

    std::string baseName = "disk";
    std::string fixedExtension;                           // e.g. "dat"
    std::map<std::uint16_t, std::uint16_t> wrongNumbers;  // segment -> number written

private:
    std::vector<SegmentFile> Segments(const Bytes& stream,
                                      const std::vector<std::size_t>& cuts) const;
    std::vector<ArchiveLayout> archives_;
    std::optional<std::uint16_t> archiveCount_;
};

// The expanded fixtures' manifest: size, byte sum and FNV of each stream.
struct FixtureInfo {
    std::int32_t size = 0;
    std::uint32_t byteSum = 0;
    std::uint64_t fnv = 0;
};
FixtureInfo FixtureManifest(const std::string& fixture);
Bytes ReadHostFile(const std::string& path);
void WriteHostFile(const std::string& path, const Bytes& bytes);
std::string TestDataDir();

}  // namespace kav::archive::testing
