#include "app/kavset/set_tool.h"

#include <cstdio>
#include <iomanip>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>

#include "app/kavset/progress_bar.h"
#include "app/kavset/safe_names.h"
#include "app/kavset/terminal_gui.h"
#include "archive/compress.h"
#include "archive/path_parts.h"
#include "archive/seg_comp_ez.h"

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
    // Extraction: the output path for an entry; empty to skip it.
    std::string OutputPathFor(const std::string& stored);
    // Inspection: lists or tests the entries of one archive file that the
    // reader visited (named by `visited`, in archive order).
    void InspectArchive(TCompress& reader, const std::string& archivePath, int archiveIndex);
    void TestEntry(TCompress& reader, platform::Stream& archive, const std::string& compressId,
                   const TCompressedFileEntry& entry);
    void Problem(const std::string& text) { err_ << "kavset: " << text << "\n"; }

    const SetOptions& options_;
    platform::FileSystem& files_;
    platform::Gui& gui_;
    platform::Processor* processor_;
    std::ostream& out_;
    std::ostream& err_;
    ProgressBar progress_;

    std::vector<std::string> visited_;
    std::string currentEntry_;
    std::string missingSegment_;
    std::int64_t entries_ = 0, failures_ = 0, expandedBytes_ = 0, compressedBytes_ = 0;
};

int SetTool::Run() {
    try {
        if (auto place = SegmentSetAt(options_.set)) {
            RunSegments(*place);
        } else {
            RunArchive();
        }
    } catch (const std::exception& error) {
        progress_.Clear();
        std::string text = error.what();
        if (!missingSegment_.empty()) text = missingSegment_;
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
            out_ << entries_ << " entries tested, " << failures_ << " failed\n";
            break;
        case SetCommand::Extract:
            out_ << entries_ << " files extracted\n";
            break;
    }
    return failures_ ? kExitDamaged : kExitSuccess;
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
    place.directory = archive::DirectoryPart(set);
    const std::string name = archive::FileNamePart(set);
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
        return "";
    }
    if (safe.changed && !options_.flat) {
        progress_.Clear();
        Problem("warning: entry \"" + stored + "\" would leave the target directory; written as " +
                safe.relative);
    }
    return archive::WithoutTrailingBackslash(options_.targetDirectory) + "\\" + safe.relative;
}

void SetTool::RunArchive() {
    TCompress reader(files_, processor_);
    ConfigureReader(reader);
    reader.ExpandArchive(options_.set, nullptr);
    currentEntry_.clear();
    if (options_.command != SetCommand::Extract) InspectArchive(reader, options_.set, 0);
}

void SetTool::RunSegments(const SegmentSetPlace& place) {
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
    if (options_.command != SetCommand::Extract) {
        reader.OnSegAfterArchive = [this, &reader](const archive::TSegArcHeader& record,
                                                   const std::string&) {
            InspectArchive(reader, reader.TemporaryArchivePath(), record.SequenceNumber());
        };
    }
    reader.ExpandAll();
}

void SetTool::FindSegment(TSegCompEZ& reader, const std::string& name, std::uint16_t number) {
    std::vector<std::string> places = options_.mediaDirectories;
    places.insert(places.begin(), reader.SegDir());
    for (const auto& dir : places) {
        if (SegmentNumberOf(archive::WithoutTrailingBackslash(dir) + "\\" + name) == number) {
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
        if (SegmentNumberOf(archive::WithoutTrailingBackslash(answer) + "\\" + name) == number) {
            reader.SetSegDir(answer);
            return;
        }
        looked += ", " + answer;
    }
    missingSegment_ =
        "segment " + std::to_string(number) + " (" + name + ") not found in " + looked;
    reader.SegAbort = true;
}

void SetTool::InspectArchive(TCompress& reader, const std::string& archivePath, int archiveIndex) {
    archive::TCompressedFileList entries;
    reader.ScanArchive(archivePath, entries);
    auto stream = files_.OpenReadExclusive(archivePath);
    std::string compressId;
    reader.ReadArchiveHeader(*stream, compressId);

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
                 << AttributeText(entry.Info.FileAttributes) << " " << entry.Name << "\n";
        } else {
            TestEntry(reader, *stream, compressId, entry);
        }
    }
    visited_.clear();
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
