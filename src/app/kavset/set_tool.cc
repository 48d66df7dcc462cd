#include "app/kavset/set_tool.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/kavset/progress_bar.h"
#include "app/kavset/read_ahead_stream.h"
#include "app/kavset/safe_names.h"
#include "app/kavset/terminal_gui.h"
#include "archive/compress.h"
#include "archive/seg_records.h"
#include "archive/set_reader.h"
#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "platform/errors.h"

namespace kav::app {
namespace {

using archive::TCompress;
using archive::TCompressedFileEntry;
using archive::TSegCompEZ;

// Where `test` writes: nowhere, but counted.
class DiscardingStream final : public platform::Stream {
public:
    std::size_t Read(void*, std::size_t) override { return 0; }
    void WriteExactly(const void*, std::size_t count) override {
        size_ += static_cast<std::int64_t>(count);
    }
    std::int64_t Position() const override { return size_; }
    std::int64_t Size() const override { return size_; }
    void Seek(std::int64_t position) override { size_ = position; }

private:
    std::int64_t size_ = 0;
};

std::string MethodText(std::uint8_t method) {
    if (method < std::size(archive::kMethodIds)) return archive::kMethodIds[method];
    std::string text = std::to_string(method);
    text.insert(text.begin(), '#');
    return text;
}

std::string DosDateText(std::int32_t value) {
    const auto d = static_cast<std::uint32_t>(value);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", (d >> 25) + 1980,
                  (d >> 21) & 15, (d >> 16) & 31, (d >> 11) & 31, (d >> 5) & 63, (d & 31) * 2);
    return text;
}

std::string AttributeText(std::uint16_t attributes) {
    std::string text = "....";
    if (attributes & platform::faReadOnly) text[0] = 'R';
    if (attributes & platform::faHidden) text[1] = 'H';
    if (attributes & platform::faSysFile) text[2] = 'S';
    if (attributes & platform::faArchive) text[3] = 'A';
    return text;
}

struct SegmentSetPlace {
    std::string directory;
    std::string baseName = "disk";
    std::string extension;  // fixed extension, or empty for numbered segments
};

class SetTool {
public:
    SetTool(const SetOptions& options, platform::FileSystem& files, platform::Gui& gui,
            platform::Processor* processor, std::ostream& out, std::ostream& err)
        : options_(options),
          files_(files),
          gui_(gui),
          processor_(processor),
          out_(out),
          err_(err),
          progress_(err, options.progress) {}

    int Run();

private:
    std::optional<SegmentSetPlace> SegmentSetAt(const std::string& set);
    std::optional<std::uint16_t> SegmentNumberOf(const std::string& path);
    void ConfigureReader(TCompress& reader);
    void RunArchive();
    void RunSegments(const SegmentSetPlace& place);
    void FindSegment(TSegCompEZ& reader, const std::string& name, std::uint16_t number);
    // Why segment `number` could not be had, for the closing message.
    std::string MissingSegmentText(const std::vector<std::string>& places, const std::string& name,
                                   std::uint16_t number, const std::string& looked);
    // A segment shorter than one after it, named as damaged; empty when
    // the segments' sizes agree.
    std::string ShortSegmentText();
    std::int64_t SizeOf(const std::string& path);
    std::optional<SegmentSetPlace> segmentPlace_;
    // Extraction: the output path for an entry; empty to skip it.
    std::string OutputPathFor(const std::string& stored);
    // Inspection: lists or tests the entries of one archive file that the
    // reader visited (named by `visited`, in archive order).
    void InspectArchive(TCompress& reader, const std::string& archivePath, int archiveIndex);
    void TestEntry(TCompress& reader, platform::Stream& archive, const std::string& compressId,
                   const TCompressedFileEntry& entry);
    // Damage found by inspection: counted, and named with its archive.
    void Damage(int archiveIndex, const std::string& text);
    void CheckListedNamesFound(int archiveIndex);
    void CheckArchiveLayout(TCompress& reader, platform::Stream& archive,
                            const archive::TCompressedFileList& entries, int archiveIndex);
    bool LeadsThroughLink(const std::string& relative);
    void Problem(const std::string& text) { err_ << "kavset: " << PrintableText(text) << "\n"; }

    const SetOptions& options_;
    platform::FileSystem& files_;
    platform::Gui& gui_;
    platform::Processor* processor_;
    std::ostream& out_;
    std::ostream& err_;
    ProgressBar progress_;

    std::vector<std::string> visited_;
    // The names each archive's list file asks for, by archive index.
    std::vector<std::vector<std::string>> listedNames_;
    std::string currentEntry_;
    std::string currentOutput_;  // extraction: the file being written
    std::string missingSegment_;
    // Failures count entries; problems count damage found in the archives'
    // layout, which belongs to no one entry.
    std::int64_t entries_ = 0, failures_ = 0, problems_ = 0, skipped_ = 0, expandedBytes_ = 0,
                 compressedBytes_ = 0;
};

int SetTool::Run() {
    try {
        if (auto place = SegmentSetAt(options_.set)) {
            RunSegments(*place);
        } else {
            RunArchive();
        }
    } catch (const archive::EInsufficientDiskSpace& error) {
        progress_.Clear();
        Problem(options_.set + ": " + currentEntry_ +
                ": not enough disk space: " + std::to_string(error.Needed) + " bytes needed, " +
                std::to_string(error.Available) + " free");
        return kExitDamaged;
    } catch (const std::exception& error) {
        // A file cut short by a failed write (a full disk) is of no use.
        if (dynamic_cast<const platform::EWriteError*>(&error) && !currentOutput_.empty()) {
            files_.RemoveFile(currentOutput_);
        }
        progress_.Clear();
        std::string text = error.what();
        if (!missingSegment_.empty()) {
            text = missingSegment_;
        } else if (const std::string shortSegment = ShortSegmentText(); !shortSegment.empty()) {
            text = shortSegment + " (" + text + ")";
        }
        Problem(options_.set + ": " + (currentEntry_.empty() ? "" : currentEntry_ + ": ") + text);
        return kExitDamaged;
    }
    progress_.Clear();
    switch (options_.command) {
        case SetCommand::List:
            out_ << "total: " << entries_ << " entries, " << expandedBytes_ << " bytes, "
                 << compressedBytes_ << " compressed\n";
            break;
        case SetCommand::Test:
            out_ << entries_ << " entries tested, " << failures_ << " failed";
            if (problems_) out_ << ", " << problems_ << " problem(s) in the archives' layout";
            out_ << "\n";
            break;
        case SetCommand::Extract:
            out_ << entries_ << " files extracted";
            if (skipped_) out_ << ", " << skipped_ << " skipped";
            out_ << "\n";
            break;
    }
    if (failures_ || problems_) return kExitDamaged;
    return skipped_ ? kExitSkipped : kExitSuccess;
}

std::optional<std::uint16_t> SetTool::SegmentNumberOf(const std::string& path) {
    if (!files_.FileExists(path)) return std::nullopt;
    try {
        auto file = files_.OpenRead(path);
        archive::TSegIdHeader id;
        if (archive::ReadFully(*file, id.bytes.data(), id.bytes.size()) != id.bytes.size() ||
            !id.HasTag()) {
            return std::nullopt;
        }
        return id.SegmentNumber();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<SegmentSetPlace> SetTool::SegmentSetAt(const std::string& set) {
    SegmentSetPlace place;
    if (files_.DirectoryExists(set)) {
        place.directory = set;
        return place;
    }
    if (!files_.FileExists(set)) throw std::runtime_error("no such file or directory");
    if (!SegmentNumberOf(set)) return std::nullopt;
    place.directory = base::DirectoryPart(set);
    const std::string name = base::FileNamePart(set);
    const auto dot = name.find_last_of('.');
    place.baseName = name.substr(0, dot);
    const std::string suffix = dot == std::string::npos ? "" : name.substr(dot + 1);
    const bool numbered =
        !suffix.empty() && suffix.find_first_not_of("0123456789") == std::string::npos;
    if (!numbered) place.extension = suffix;
    return place;
}

void SetTool::ConfigureReader(TCompress& reader) {
    reader.Key = options_.key;
    // The archive's sizes are only claims: a small archive may promise more
    // than the disk holds.
    reader.CheckSpaceBeforeExpand = options_.command == SetCommand::Extract;
    reader.OnShowProgress = [this](int& percent) { progress_.Show(currentEntry_, percent); };
    if (options_.command == SetCommand::Extract) {
        // A file that cannot be written is a failure a rescue must hear of.
        reader.ExceptionOnFileError = true;
        reader.MakeDirectories = true;
        reader.OnCheckFile = [this, &reader](std::string& path, archive::TCProcessMode) {
            const std::string& prefix = reader.TargetPath();
            const std::string stored =
                (!prefix.empty() && path.compare(0, prefix.size(), prefix) == 0)
                    ? path.substr(prefix.size())
                    : path;
            currentEntry_ = stored;
            path = OutputPathFor(stored);
            currentOutput_ = path;
            if (!path.empty()) ++entries_;
        };
    } else {
        reader.OnCheckFile = [this, &reader](std::string& path, archive::TCProcessMode) {
            const std::string& prefix = reader.TargetPath();
            visited_.push_back((!prefix.empty() && path.compare(0, prefix.size(), prefix) == 0)
                                   ? path.substr(prefix.size())
                                   : path);
            path.clear();
        };
    }
}

std::string SetTool::OutputPathFor(const std::string& stored) {
    const SafeName safe = SafeRelativeName(stored, options_.flat);
    if (safe.relative.empty()) {
        progress_.Clear();
        Problem("warning: entry \"" + stored + "\" has no usable name; skipped");
        ++skipped_;
        return "";
    }
    if (safe.changed && !options_.flat) {
        progress_.Clear();
        Problem("warning: entry \"" + stored +
                "\" would leave the target directory or has characters a name cannot hold; "
                "written as " +
                safe.relative);
    }
    if (LeadsThroughLink(safe.relative)) {
        progress_.Clear();
        Problem("warning: entry \"" + stored + "\" would be written through a link in " +
                options_.targetDirectory + "; skipped");
        ++skipped_;
        return "";
    }
    const std::string path =
        base::WithoutTrailingBackslash(options_.targetDirectory) + "\\" + safe.relative;
    // A link where the file goes is replaced by the file, never written through.
    const auto attributes = files_.GetAttributes(path);
    if (attributes && (*attributes & platform::faReparsePoint)) {
        files_.RemoveFile(path);
    } else if (attributes && !options_.overwrite) {
        progress_.Clear();
        Problem("warning: " + path + " exists; entry \"" + stored +
                "\" skipped (--overwrite replaces it)");
        ++skipped_;
        return "";
    }
    return path;
}

bool SetTool::LeadsThroughLink(const std::string& relative) {
    std::string path = base::WithoutTrailingBackslash(options_.targetDirectory);
    std::size_t start = 0;
    for (auto slash = relative.find('\\'); slash != std::string::npos;
         slash = relative.find('\\', start)) {
        path += "\\" + relative.substr(start, slash - start);
        start = slash + 1;
        const auto attributes = files_.GetAttributes(path);
        if (!attributes) return false;  // the rest is made by the reader
        if ((*attributes & platform::faReparsePoint) || !(*attributes & platform::faDirectory)) {
            return true;
        }
    }
    return false;
}

void SetTool::RunArchive() {
    TCompress reader(files_, processor_);
    ConfigureReader(reader);
    reader.ExpandArchive(options_.set, nullptr);
    currentEntry_.clear();
    if (options_.command != SetCommand::Extract) InspectArchive(reader, options_.set, 0);
}

void SetTool::RunSegments(const SegmentSetPlace& place) {
    segmentPlace_ = place;
    if (options_.prepareWorkDirectory) options_.prepareWorkDirectory();
    TSegCompEZ reader(files_, gui_, processor_);
    ConfigureReader(reader);
    reader.SegPopUp = false;
    reader.SetSegBaseName(place.baseName);
    reader.SetSegDir(place.directory);
    reader.SetSegExt(place.extension);
    reader.SetSegTmpDir(options_.workDirectory);
    reader.OnSegBefore = [this, &reader](archive::TSegMode, const std::string& name,
                                         std::uint16_t number) {
        FindSegment(reader, name, number);
    };
    reader.OnSegShowProgress = [this](int percent) { progress_.Show("copying archive", percent); };
    reader.OnSegBeforeExpand = [this](archive::TSegArcList& list) {
        listedNames_.clear();
        for (std::size_t i = 0; i < list.Count(); ++i) listedNames_.push_back(list[i].FileList);
    };
    if (options_.command != SetCommand::Extract) {
        reader.OnSegAfterArchive = [this, &reader](const archive::TSegArcHeader& record,
                                                   const std::string&) {
            if (options_.command == SetCommand::Test)
                CheckListedNamesFound(record.SequenceNumber());
            InspectArchive(reader, reader.TemporaryArchivePath(), record.SequenceNumber());
        };
    }
    reader.ExpandAll();
}

void SetTool::FindSegment(TSegCompEZ& reader, const std::string& name, std::uint16_t number) {
    std::vector<std::string> places = options_.mediaDirectories;
    places.insert(places.begin(), reader.SegDir());
    for (const auto& dir : places) {
        if (SegmentNumberOf(base::WithoutTrailingBackslash(dir) + "\\" + name) == number) {
            reader.SetSegDir(dir);
            return;
        }
    }
    std::string looked;
    for (const auto& dir : places) looked += (looked.empty() ? "" : ", ") + dir;
    progress_.Clear();
    for (;;) {
        std::string answer;
        if (!TerminalGui::AskLine("Segment " + std::to_string(number) + " (" + name +
                                      ") not found; directory to look in (empty to give up): ",
                                  answer) ||
            answer.empty()) {
            break;
        }
        if (SegmentNumberOf(base::WithoutTrailingBackslash(answer) + "\\" + name) == number) {
            reader.SetSegDir(answer);
            return;
        }
        looked += ", " + answer;
    }
    missingSegment_ = MissingSegmentText(places, name, number, looked);
    reader.SegAbort = true;
}

std::int64_t SetTool::SizeOf(const std::string& path) {
    try {
        return files_.OpenRead(path)->Size();
    } catch (const std::exception&) {
        return -1;
    }
}

std::string SetTool::MissingSegmentText(const std::vector<std::string>& places,
                                        const std::string& name, std::uint16_t number,
                                        const std::string& looked) {
    const std::string segment = "segment " + std::to_string(number) + " (" + name + ")";
    for (const auto& dir : places) {
        const std::string path = base::WithoutTrailingBackslash(dir) + "\\" + name;
        if (!files_.FileExists(path)) continue;
        return segment + " in " + dir + " is damaged: " +
               (SizeOf(path) == 0 ? "the file is empty"
                                  : "it does not start with that segment's record");
    }
    const std::string shortSegment = ShortSegmentText();
    return shortSegment.empty() ? segment + " not found in " + looked : shortSegment;
}

std::string SetTool::ShortSegmentText() {
    if (!segmentPlace_) return "";
    const auto pathOf = [this](std::uint16_t number) {
        return base::WithoutTrailingBackslash(segmentPlace_->directory) + "\\" +
               archive::SegmentFileName(segmentPlace_->baseName, segmentPlace_->extension, number);
    };
    // Every segment but the last is as long as the longest; one shorter
    // than a later one moves the rest of the set's data out of place.
    std::vector<std::int64_t> sizes;
    for (std::uint16_t n = 1; n < 1000; ++n) {
        const std::int64_t size = SizeOf(pathOf(n));
        if (size < 0) break;
        sizes.push_back(size);
    }
    std::int64_t longest = -1;
    for (std::size_t k = sizes.size(); k-- > 0;) {
        if (k + 1 < sizes.size() && sizes[k] < longest) {
            return "segment " + std::to_string(k + 1) + " (" +
                   archive::SegmentFileName(segmentPlace_->baseName, segmentPlace_->extension,
                                            static_cast<std::uint16_t>(k + 1)) +
                   ") is shorter than the set says (" + std::to_string(sizes[k]) +
                   " bytes, the segments after it " + std::to_string(longest) +
                   "): damaged or cut short";
        }
        longest = std::max(longest, sizes[k]);
    }
    return "";
}

void SetTool::InspectArchive(TCompress& reader, const std::string& archivePath, int archiveIndex) {
    archive::TCompressedFileList entries;
    reader.ScanArchive(archivePath, entries);
    const auto file = files_.OpenReadExclusive(archivePath);
    ReadAheadStream stream(*file);
    if (options_.command == SetCommand::Test) {
        CheckArchiveLayout(reader, stream, entries, archiveIndex);
        stream.Seek(0);
    }
    std::string compressId;
    reader.ReadArchiveHeader(stream, compressId);

    // The reader visits entries in archive order; match each visited name
    // with the next listed entry of that name.
    std::size_t next = 0;
    for (const auto& name : visited_) {
        while (next < entries.size() && entries[next].Name != name) ++next;
        if (next == entries.size()) break;
        const auto& entry = entries[next++];
        ++entries_;
        expandedBytes_ += entry.Info.UncompressedSize;
        compressedBytes_ += entry.Info.CompressedSize;
        if (options_.command == SetCommand::List) {
            out_ << std::setw(3) << archiveIndex << " " << MethodText(entry.Info.Method) << " "
                 << std::setw(10) << entry.Info.UncompressedSize << " " << std::setw(10)
                 << entry.Info.CompressedSize << " " << std::hex << std::uppercase
                 << std::setfill('0') << std::setw(8) << entry.Info.Checksum << std::dec
                 << std::setfill(' ') << " " << DosDateText(entry.Info.FileDate) << " "
                 << AttributeText(entry.Info.FileAttributes) << " " << PrintableText(entry.Name)
                 << "\n";
        } else {
            TestEntry(reader, stream, compressId, entry);
        }
    }
    visited_.clear();
}

void SetTool::Damage(int archiveIndex, const std::string& text) {
    progress_.Clear();
    ++problems_;
    Problem(options_.set + ": archive " + std::to_string(archiveIndex) + ": " + text);
}

void SetTool::CheckListedNamesFound(int archiveIndex) {
    if (archiveIndex < 0 || static_cast<std::size_t>(archiveIndex) >= listedNames_.size()) return;
    for (const auto& listed : listedNames_[static_cast<std::size_t>(archiveIndex)]) {
        const bool found = std::any_of(visited_.begin(), visited_.end(), [&](const auto& name) {
            return base::SameTextIgnoringAsciiCase(name, listed);
        });
        if (!found) Damage(archiveIndex, "listed file \"" + listed + "\" is not in the archive");
    }
}

void SetTool::CheckArchiveLayout(TCompress& reader, platform::Stream& archive,
                                 const archive::TCompressedFileList& entries, int archiveIndex) {
    std::string compressId;
    const auto header = reader.ReadArchiveHeader(archive, compressId);
    std::int64_t end = archive.Position();
    std::int64_t held = 0;
    for (const auto& entry : entries) {
        held += entry.Info.UncompressedSize;
        end = std::max<std::int64_t>(entry.Info.HeaderOffset, 0) +
              static_cast<std::int64_t>(archive::TCompressFileHeader::kSize + entry.Name.size()) +
              std::max<std::int32_t>(entry.Info.CompressedSize, 0);
    }
    if (end > archive.Size()) {
        Damage(archiveIndex, "the last entry's data run " + std::to_string(end - archive.Size()) +
                                 " bytes past the archive's end");
    } else if (end < archive.Size()) {
        Damage(archiveIndex, "the archive is cut inside an entry header (" +
                                 std::to_string(archive.Size() - end) +
                                 " bytes after the last whole entry)");
    }
    if (held < header.TotalUncompressed()) {
        Damage(archiveIndex, "the archive header counts " +
                                 std::to_string(header.TotalUncompressed()) +
                                 " expanded bytes, its entries hold only " + std::to_string(held));
    }
}

void SetTool::TestEntry(TCompress& reader, platform::Stream& archive, const std::string& compressId,
                        const TCompressedFileEntry& entry) {
    currentEntry_ = entry.Name;
    try {
        archive.Seek(entry.Info.HeaderOffset);
        archive::TCompressFileHeader header;
        std::string name;
        if (!reader.ReadFileHeader(archive, header, name))
            throw std::runtime_error("header unreadable");
        DiscardingStream sink;
        reader.ExpandEntry(sink, archive, header.CompressedSize(), header.UncompressedSize(),
                           header.Checksum(), header.Method(), compressId, header.LockValue());
    } catch (const std::exception& error) {
        progress_.Clear();
        ++failures_;
        Problem(options_.set + ": " + entry.Name + ": " + error.what());
    }
    currentEntry_.clear();
}

}  // namespace

int RunSetCommand(const SetOptions& options, platform::FileSystem& files, platform::Gui& gui,
                  platform::Processor* processor, std::ostream& out, std::ostream& err) {
    return SetTool(options, files, gui, processor, out, err).Run();
}

}  // namespace kav::app
