#include "archive/seg_compress.h"

#include <algorithm>
#include <cstring>

#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "platform/errors.h"

namespace kav::archive {
namespace {

constexpr char kMountAdvice[] = "\n\rCorrect and then press OK, or Cancel to abort";
constexpr std::size_t kPromptMaxLength = 255;

// Runs `action` when the scope ends, however it ends.
template <typename Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { action_(); }

private:
    Action action_;
};

// The text of a zero-padded buffer: up to its first zero byte or its end.
std::string TextUpToZero(const std::uint8_t* bytes, std::size_t size) {
    const auto* end = std::find(bytes, bytes + size, std::uint8_t{0});
    return std::string(bytes, end);
}

}  // namespace

TSegCompress::TSegCompress(platform::FileSystem& files, platform::Gui& gui,
                           platform::Processor* processor)
    : TCompress(files, processor), gui_(gui) {
    SetSegBaseName("");
    SetSegDir("");
    SetSegTmpDir("");
}

TSegCompress::~TSegCompress() = default;

void TSegCompress::SetSegBaseName(const std::string& value) {
    segBaseName_ = base::AsciiLower(base::FileNamePart(value));
    if (segBaseName_.empty()) segBaseName_ = "SegData";
}

void TSegCompress::SetSegDir(const std::string& value) {
    segDir_ = value.empty() ? "a:\\" : base::AsciiLower(value);
}

void TSegCompress::SetSegExt(const std::string& value) { segExt_ = value.substr(0, 3); }

void TSegCompress::SetSegSize(std::int32_t value) {
    segSize_ = std::max<std::int32_t>(value, 16384);
}

void TSegCompress::SetSegTmpDir(const std::string& value) {
    segTmpDir_ = value.empty() ? base::AsciiLower(files_.CurrentDirectory())
                               : base::AsciiLower(base::WithoutTrailingBackslash(value));
}

std::string TSegCompress::TemporaryArchivePath() const {
    return base::WithoutTrailingBackslash(segTmpDir_) + "\\" + segBaseName_ + ".$A$";
}

void TSegCompress::Abort() { throw ESegError(kSegAborted); }

void TSegCompress::AbortByPrompt(const std::string& what) {
    const std::string by = gui_.LastAnswerBy();
    promptCancelled_ = "segment " + std::to_string(segmentNumber_) + " (" + segmentName_ + ") " +
                       what + "; the prompt was cancelled by " +
                       (by.rfind('/', 0) == 0 ? by : "the " + by);
    SegAbort = true;
    Abort();
}

void TSegCompress::RemoveIfPresent(const std::string& path) {
    if (!path.empty() && files_.FileExists(path)) files_.RemoveFile(path);
}

void TSegCompress::ExpandSegments(TSegArcList& list) {
    SegAbort = false;
    promptCancelled_.clear();
    mode_ = smExpand;
    workBuffer_ = std::make_unique<std::array<std::uint8_t, kSegBufferSize>>();
    ScopeExit releaseBuffer([this] {
        CloseSegment();
        workBuffer_.reset();
    });
    ForceDirectoryChain(segTmpDir_);
    list.Clear();

    TSegSetHeader setHeader;
    OpenSegment(1);
    ReadSegmentId();
    ReadSetHeader(setHeader);

    {
        // The list archives are expanded without the owner hearing of them.
        TCompressEvent savedCompress = std::move(OnCompress);
        TExpandEvent savedExpand = std::move(OnExpand);
        TRecognizeEvent savedRecognize = std::move(OnRecognize);
        TFilenameCheckEvent savedCheckFile = std::move(OnCheckFile);
        TShowProgressEvent savedShowProgress = std::move(OnShowProgress);
        ScopeExit restoreHandlers([&] {
            OnCompress = std::move(savedCompress);
            OnExpand = std::move(savedExpand);
            OnRecognize = std::move(savedRecognize);
            OnCheckFile = std::move(savedCheckFile);
            OnShowProgress = std::move(savedShowProgress);
        });
        OnCompress = nullptr;
        OnExpand = nullptr;
        OnRecognize = nullptr;
        OnShowProgress = nullptr;
        // A stored name such as ..\..\x, x/../../x or \WINDOWS\x must not
        // place a list file anywhere but in the work directory.
        OnCheckFile = [this](std::string& filepath, TCProcessMode) {
            const auto name = base::PlainFileName(filepath);
            filepath =
                name ? base::WithoutTrailingBackslash(segTmpDir_) + "\\" + *name : std::string();
        };

        for (std::uint16_t i = 0; i < setHeader.ArchiveCount(); ++i) {
            auto arc = std::make_unique<TSegArc>();
            ReadScanRecord(*arc);
            arc->ArcIndex = i;
            list.Add(std::move(arc));
        }
    }

    if (OnSegBeforeExpand) OnSegBeforeExpand(list);
    if (SegAbort) Abort();
    for (std::size_t i = 0; i < list.Count(); ++i) ExpandNextArchive(list[i]);
}

void TSegCompress::BuildSegmentPath(const std::string& directory) {
    segmentName_ = SegmentFileName(segBaseName_, segExt_, segmentNumber_);
    segmentPath_ = base::WithoutTrailingBackslash(directory) + "\\" + segmentName_;
}

void TSegCompress::OpenSegment(std::uint16_t number) {
    segmentNumber_ = number;
    BuildSegmentPath(segDir_);
    for (;;) {
        BeforeSegment();
        std::string message;
        const char* problem = "not found";
        if (files_.FileExists(segmentPath_)) {
            TSegIdHeader id;
            try {
                auto probe = files_.OpenReadExclusive(segmentPath_);
                if (ReadFully(*probe, id.bytes.data(), id.bytes.size()) != id.bytes.size() ||
                    !id.HasTag()) {
                    throw ESegError(kSegInvalidIdHeader);
                }
            } catch (const kav::Exception&) {
                throw ESegError(kSegStreamOpenFailed);
            }
            if (id.SegmentNumber() == number) break;
            message = std::string("Incorrect segmented mounted!") + kMountAdvice;
            problem = "found holding another segment";
        } else {
            message = "Unable to locate \"" + segmentName_ + "\" on this segment!" + kMountAdvice;
        }
        if (!gui_.AskOkCancel(message)) AbortByPrompt(problem);
    }
    try {
        segment_ = files_.OpenReadExclusive(segmentPath_);
    } catch (const kav::Exception&) {
        throw ESegError(kSegStreamOpenFailed);
    }
    bytesLeft_ = segment_->Size();
}

void TSegCompress::BeforeSegment() {
    if (SegPopUp) {
        const bool answered = PromptForSegment();
        if (RepaintOwner) RepaintOwner();
        if (!answered) AbortByPrompt("not mounted");
        BuildSegmentPath(segDir_);
    }
    if (OnSegBefore) {
        OnSegBefore(mode_, segmentName_, segmentNumber_);
        // A handler may have pointed SegDir at the segment's place.
        BuildSegmentPath(segDir_);
    }
    if (SegAbort) Abort();
}

bool TSegCompress::PromptForSegment() {
    // The prompt wants the arrow; whatever was shown before comes back after.
    const platform::Cursor shown = gui_.ShownCursor();
    gui_.SetCursor(platform::Cursor::Default);
    ScopeExit restoreCursor([&] { gui_.SetCursor(shown); });
    for (;;) {
        std::string text = segDir_;
        if (!gui_.InputQuery("Mount Segment #" + std::to_string(segmentNumber_),
                             "Directory Path:", text)) {
            return false;
        }
        if (!text.empty()) {
            segDir_ = text.substr(0, kPromptMaxLength);
            return true;
        }
    }
}

void TSegCompress::ReadSegmentId() {
    TSegIdHeader id;
    if (ReadFully(*segment_, id.bytes.data(), id.bytes.size()) != id.bytes.size() || !id.HasTag()) {
        throw ESegError(kSegInvalidIdHeader);
    }
    bytesLeft_ -= static_cast<std::int64_t>(TSegIdHeader::kSize);
}

void TSegCompress::ReadSpanned(std::uint8_t* destination, std::int64_t count) {
    while (count > 0) {
        if (bytesLeft_ <= 0) {
            CloseSegment();
            if (OnSegAfter) OnSegAfter(mode_, segmentName_, segmentNumber_);
            if (SegAbort) Abort();
            if (segmentNumber_ == 0xFFFF) throw ESegError("Set runs past segment 65535");
            OpenSegment(static_cast<std::uint16_t>(segmentNumber_ + 1));
            ReadSegmentId();
            continue;
        }
        const auto want = static_cast<std::size_t>(
            std::min({static_cast<std::int64_t>(kSegBufferSize), count, bytesLeft_}));
        const std::size_t got = segment_->Read(destination, want);
        if (got == 0) {
            // The file was shorter than its size said, or the medium went away.
            throw ESegError("Segment \"" + segmentName_ + "\" ended before its data");
        }
        destination += got;
        count -= static_cast<std::int64_t>(got);
        bytesLeft_ -= static_cast<std::int64_t>(got);
        gui_.ProcessMessages();
    }
}

void TSegCompress::ReadSetHeader(TSegSetHeader& header) {
    header.bytes.fill(0);
    ReadSpanned(header.bytes.data(), TSegSetHeader::kSize);
    if (!header.HasTag()) throw ESegError(kSegInvalidSetHeader);
}

void TSegCompress::ReadScanRecord(TSegArc& arc) {
    TSegScanHeader scan;
    ReadSpanned(scan.bytes.data(), TSegScanHeader::kSize);
    if (!scan.HasTag()) throw ESegError(kSegInvalidScanHeader);
    if (scan.TemplateLength() >= kSegBufferSize) {
        throw ESegError("Template length " + std::to_string(scan.TemplateLength()) +
                        " in scan record is 8192 or more");
    }
    if (scan.RecordLength() < 1 ||
        scan.RecordLength() >= static_cast<std::int32_t>(kSegBufferSize)) {
        throw ESegError("Record length " + std::to_string(scan.RecordLength()) +
                        " in scan record is outside 1 to 8191");
    }

    auto& buffer = *workBuffer_;
    buffer.fill(0);
    ReadSpanned(buffer.data(), scan.TemplateLength());
    arc.Template = TextUpToZero(buffer.data(), scan.TemplateLength());
    arc.ArcDir = base::DirectoryPart(arc.Template);
    arc.ArcTag = scan.ArchiveTag();
    arc.FileList.clear();

    if (scan.ListArchiveSize() < 0) {
        throw ESegError("List archive size " + std::to_string(scan.ListArchiveSize()) +
                        " in scan record is negative");
    }
    const std::string archivePath = TemporaryArchivePath();
    CopySpannedToFile(archivePath, scan.ListArchiveSize(), false);
    ScopeExit removeArchive([&] { RemoveIfPresent(archivePath); });
    ExpandListArchive(archivePath);
    ReadListFile(arc, scan.RecordLength());
}

void TSegCompress::ExpandListArchive(const std::string& archivePath) {
    const std::string savedTarget = TargetPath();
    SetTargetPath(base::WithoutTrailingBackslash(segTmpDir_) + "\\");
    ScopeExit restoreTarget([&] { SetTargetPath(savedTarget); });

    TCompressedFileList scanned;
    std::vector<std::string> names;
    listFile_.clear();
    try {
        ScanArchive(archivePath, scanned);
        for (const auto& entry : scanned) names.push_back(entry.Name);
        ExpandArchive(archivePath, &names);
    } catch (...) {
        // The list file's name is known only through the entry it came from.
        if (!scanned.empty()) {
            if (const auto name = base::PlainFileName(scanned.front().Name)) {
                RemoveIfPresent(base::WithoutTrailingBackslash(segTmpDir_) + "\\" + *name);
            }
        }
        throw;
    }
    if (names.empty()) throw ESegError("List archive of a scan record holds no list file");
    listFile_ = names.front();
}

void TSegCompress::ReadListFile(TSegArc& arc, std::int32_t recordLength) {
    std::unique_ptr<platform::FileStream> list;
    try {
        list = files_.OpenReadExclusive(listFile_);
    } catch (const kav::Exception&) {
        RemoveIfPresent(listFile_);
        throw ESegError(kSegStreamOpenFailed);
    }
    auto& buffer = *workBuffer_;
    const std::int64_t size = list->Size();
    std::int64_t position = 0;
    while (position < size) {
        buffer.fill(0);
        const auto want =
            static_cast<std::size_t>(std::min<std::int64_t>(recordLength, size - position));
        if (ReadFully(*list, buffer.data(), want) != want) {
            list.reset();
            RemoveIfPresent(listFile_);
            throw ESegError(kSegStreamReadFailed);
        }
        position += static_cast<std::int64_t>(want);
        std::string name = TextUpToZero(buffer.data(), want);
        name.erase(name.find_last_not_of(' ') + 1);
        arc.FileList.push_back(std::move(name));
    }
    list.reset();
    RemoveIfPresent(listFile_);
}

void TSegCompress::CopySpannedToFile(const std::string& path, std::int32_t size,
                                     bool reportProgress) {
    RemoveIfPresent(path);
    std::unique_ptr<platform::FileStream> file;
    try {
        file = files_.Create(path);
    } catch (const kav::Exception&) {
        throw ESegError(kSegStreamOpenFailed);
    }
    auto& buffer = *workBuffer_;
    const std::int64_t total = size;
    std::int64_t remaining = total;
    try {
        while (remaining > 0) {
            buffer.fill(0);
            const auto n = std::min<std::int64_t>(kSegBufferSize, remaining);
            ReadSpanned(buffer.data(), n);
            file->WriteExactly(buffer.data(), static_cast<std::size_t>(n));
            remaining -= n;
            if (reportProgress && OnSegShowProgress) {
                OnSegShowProgress(static_cast<int>((total - remaining) * 100 / total));
            }
        }
    } catch (...) {
        file.reset();
        RemoveIfPresent(path);
        throw;
    }
}

void TSegCompress::DiscardSpanned(std::int32_t size) {
    std::int64_t remaining = size;
    while (remaining > 0) {
        const auto n = std::min<std::int64_t>(kSegBufferSize, remaining);
        ReadSpanned(workBuffer_->data(), n);
        remaining -= n;
    }
}

void TSegCompress::ExpandNextArchive(TSegArc& arc) {
    TSegArcHeader record;
    for (;;) {
        record.bytes.fill(0);
        ReadSpanned(record.bytes.data(), TSegArcHeader::kSize);
        if (!record.HasTag()) throw ESegError(kSegInvalidArchiveHeader);
        if (record.ArchiveSize() < 0) {
            throw ESegError("Archive size " + std::to_string(record.ArchiveSize()) +
                            " in archive record is negative");
        }
        if (arc.ArcIndex < record.SequenceNumber()) throw ESegError(kSegInvalidSequence);
        if (arc.ArcIndex == record.SequenceNumber()) break;
        DiscardSpanned(record.ArchiveSize());
    }

    const std::string archivePath = TemporaryArchivePath();
    CopySpannedToFile(archivePath, record.ArchiveSize(), true);
    ScopeExit removeArchive([&] { RemoveIfPresent(archivePath); });

    MakeDirectories = true;
    SetTargetPath(arc.ArcDir);
    ExpandArchive(archivePath, &arc.FileList);
    if (OnSegAfterArchive) OnSegAfterArchive(record, arc.Template);
    RemoveIfPresent(archivePath);
    if (SegAbort) Abort();
}

void TSegCompress::CloseSegment() {
    segment_.reset();
    bytesLeft_ = 0;
}

}  // namespace kav::archive
