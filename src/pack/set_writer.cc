#include "pack/set_writer.h"

#include <algorithm>

#include "archive/compress.h"
#include "archive/seg_records.h"
#include "pack/host_files.h"
#include "pack/pack_errors.h"
#include "pack/records.h"
#include "pack/segment_splitter.h"

namespace kav::pack {
namespace {

namespace fs = std::filesystem;

// Sizes in the records are signed 32-bit numbers.
constexpr std::uint64_t kLargestSize = 0x7FFFFFFF;
constexpr std::size_t kMostArchives = 0xFFFF;
constexpr char kListEntryName[] = "files.lst";

struct ArchivePlan {
    std::vector<const PackFile*> files;
    std::uint64_t input = 0;
    fs::path work;
    std::uint64_t size = 0;
    std::string templ;
    Bytes listArchive;
    std::int32_t recordLength = 1;
};

// Coded data scrambled with the key on its way to the next sink.
class ScramblingSink final : public ByteSink {
public:
    ScramblingSink(ByteSink& next, std::int32_t key) : next_(next), key_(key) {}
    void Write(const std::uint8_t* data, std::size_t size) override {
        buffer_.assign(data, data + size);
        Scramble(buffer_.data(), buffer_.size(), key_, keyIndex_);
        next_.Write(buffer_.data(), buffer_.size());
    }

private:
    ByteSink& next_;
    std::int32_t key_;
    std::size_t keyIndex_ = 0;
    Bytes buffer_;
};

std::vector<ArchivePlan> PlanArchives(const std::vector<PackFile>& files,
                                      const PackOptions& options) {
    std::vector<ArchivePlan> plans;
    for (const auto& f : files) {
        if (f.size > kLargestSize) {
            throw EPackError(f.hostPath.string() + ": larger than " + std::to_string(kLargestSize) +
                             " bytes, the most an entry can hold");
        }
        const bool full =
            !plans.empty() &&
            ((options.firstFileAlone && plans.size() == 1) ||
             (options.archiveSize != 0 && plans.back().input + f.size > options.archiveSize) ||
             plans.back().input + f.size > kLargestSize);
        if (plans.empty() || full) plans.emplace_back();
        plans.back().files.push_back(&f);
        plans.back().input += f.size;
    }
    if (plans.size() > kMostArchives) {
        throw EPackError("the set would need " + std::to_string(plans.size()) +
                         " archives; a set holds at most 65535 (use a larger --archive-size)");
    }
    return plans;
}

bool IsCoded(std::uint8_t method) {
    return method == lzh::coRLE || method == lzh::coLZH || method == lzh::coLZH5;
}

void CopyFileInto(ByteSink& sink, const fs::path& path) {
    ReadInPieces(path, [&](const std::uint8_t* data, std::size_t size) { sink.Write(data, size); });
}

// What one reading of a source file saw: its length, the entry checksum's
// byte sum and a 64-bit FNV-1a hash, so that a second reading can tell a
// file that changed in between.
struct Reading {
    std::uint64_t size = 0;
    std::uint32_t sum = 0;
    std::uint64_t hash = 0xCBF29CE484222325;
    void Take(const std::uint8_t* data, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            sum += data[i];
            hash = (hash ^ data[i]) * 0x100000001B3;
        }
        size += count;
    }
    bool operator==(const Reading&) const = default;
};

class SetWriter {
public:
    SetWriter(const PackOptions& options, const fs::path& directory, const PackProgress& progress,
              std::uint64_t totalInput)
        : options_(options), directory_(directory), progress_(progress), totalInput_(totalInput) {}

    void WriteArchive(ArchivePlan& plan, std::size_t index) {
        plan.work = directory_ / ("archive-" + std::to_string(index) + ".tmp");
        plan.templ = "C:\\KAV\\PART" + std::to_string(index + 1) + ".ARC";
        FileSink archive(plan.work);
        CountingSink counted(archive);
        const char* id = archive::kMethodIds[IsCoded(options_.method) ? options_.method : 0];
        WriteRecord(counted,
                    ArchiveHeaderRecord(id, static_cast<std::int32_t>(plan.input), options_.key));
        std::vector<std::string> names;
        for (const PackFile* file : plan.files) {
            WriteEntry(counted, *file);
            names.push_back(file->storedName);
            plan.recordLength =
                std::max(plan.recordLength, static_cast<std::int32_t>(file->storedName.size()));
        }
        archive.Close();
        plan.size = counted.Count();
        if (plan.size > kLargestSize) {
            throw EPackError("archive " + std::to_string(index + 1) + " grew past " +
                             std::to_string(kLargestSize) + " bytes (use --archive-size)");
        }
        plan.listArchive = StoredArchive(kListEntryName, ListFileRecords(names, plan.recordLength));
    }

private:
    void WriteEntry(ByteSink& archive, const PackFile& file) {
        if (progress_) progress_(file, Percent());
        const fs::path coded = directory_ / "entry.tmp";
        std::uint8_t method =
            IsCoded(options_.method) ? options_.method : std::uint8_t{lzh::coNone};
        Reading first;
        std::uint64_t codedSize = 0;
        {
            FileSink sink(coded);
            ScramblingSink scrambled(sink, options_.key);
            ByteSink& target = options_.key != 0 ? static_cast<ByteSink&>(scrambled) : sink;
            CountingSink counted(target);
            auto encoder = MakeEncoder(method, options_.level, counted);
            ReadInPieces(file.hostPath, [&](const std::uint8_t* data, std::size_t size) {
                first.Take(data, size);
                if (encoder) encoder->Write(data, size);
            });
            if (first.size != file.size) throw Changed(file);
            if (encoder) encoder->Finish();
            sink.Close();
            codedSize = counted.Count();
        }
        // Data that coding would not shrink is stored as it is.
        if (method != lzh::coNone && codedSize >= file.size) method = lzh::coNone;
        const std::uint64_t dataSize = method == lzh::coNone ? file.size : codedSize;

        FileHeaderFields fields;
        fields.nameLength = static_cast<std::int16_t>(file.storedName.size());
        fields.fileDate = file.fileDate;
        fields.attributes = file.attributes;
        fields.uncompressedSize = static_cast<std::int32_t>(file.size);
        fields.compressedSize = static_cast<std::int32_t>(dataSize);
        fields.method = method;
        fields.lockValue = options_.key != 0 ? archive::kLockScrambled : 0;
        fields.checksum = EntryChecksum(first.sum, fields.lockValue, options_.key);
        WriteRecord(archive, FileHeaderRecord(fields).bytes);
        archive.Write(reinterpret_cast<const std::uint8_t*>(file.storedName.data()),
                      file.storedName.size());
        if (method == lzh::coNone) {
            // Stored data is read a second time: it must be what the
            // checksum and sizes were made from.
            Reading second;
            ReadInPieces(file.hostPath, [&](const std::uint8_t* data, std::size_t size) {
                second.Take(data, size);
                if (second.size <= file.size) archive.Write(data, size);
            });
            if (!(second == first)) throw Changed(file);
        } else {
            CopyFileInto(archive, coded);
        }
        fs::remove(coded);
        done_ += file.size;
    }

    static EPackError Changed(const PackFile& file) {
        return EPackError(file.hostPath.string() + ": changed while the set was built");
    }

    int Percent() const {
        return totalInput_ == 0 ? 100 : static_cast<int>(done_ * 100 / totalInput_);
    }

    const PackOptions& options_;
    fs::path directory_;
    const PackProgress& progress_;
    std::uint64_t totalInput_;
    std::uint64_t done_ = 0;
};

}  // namespace

SetSummary WriteSegmentSet(const std::vector<PackFile>& files, const PackOptions& options,
                           const fs::path& directory, const PackProgress& progress) {
    SetSummary summary;
    for (const auto& f : files) summary.inputBytes += f.size;
    std::vector<ArchivePlan> plans = PlanArchives(files, options);

    SetWriter writer(options, directory, progress, summary.inputBytes);
    for (std::size_t i = 0; i < plans.size(); ++i) writer.WriteArchive(plans[i], i);

    std::uint64_t streamSize = archive::TSegSetHeader::kSize;
    for (const auto& plan : plans) {
        streamSize += archive::TSegScanHeader::kSize + plan.templ.size() + plan.listArchive.size() +
                      archive::TSegArcHeader::kSize + plan.size;
    }
    const std::uint64_t segments =
        SegmentSplitter::SegmentsFor(streamSize, options.segmentSize, options.firstSegmentSize);
    if (segments > kMostSegments) {
        throw EPackError("the set would take " + std::to_string(segments) +
                         " segments; the installer reads at most " + std::to_string(kMostSegments) +
                         " (use a larger --segment-size)");
    }

    SegmentSplitter stream(
        options.segmentSize,
        [&](std::uint16_t number) {
            return std::make_unique<FileSink>(directory /
                                              archive::SegmentFileName("disk", "", number));
        },
        options.firstSegmentSize);
    WriteRecord(stream, SetHeaderRecord(static_cast<std::uint16_t>(plans.size())));
    for (const auto& plan : plans) {
        WriteRecord(stream, ScanHeaderRecord(static_cast<std::uint16_t>(plan.templ.size()), 0,
                                             plan.recordLength,
                                             static_cast<std::int32_t>(plan.listArchive.size())));
        stream.Write(reinterpret_cast<const std::uint8_t*>(plan.templ.data()), plan.templ.size());
        stream.Write(plan.listArchive.data(), plan.listArchive.size());
    }
    for (std::size_t i = 0; i < plans.size(); ++i) {
        WriteRecord(stream, ArcHeaderRecord(static_cast<std::uint16_t>(i),
                                            static_cast<std::int32_t>(plans[i].size)));
        CopyFileInto(stream, plans[i].work);
        fs::remove(plans[i].work);
    }
    summary.archives = plans.size();
    summary.segments = stream.Finish();
    summary.setBytes = streamSize + summary.segments * archive::TSegIdHeader::kSize;
    return summary;
}

}  // namespace kav::pack
