#pragma once
// TSegCompress: reads a segment set (numbered segment files that together
// carry a set header, one scan record per archive and the archives) and
// expands every archive through TCompress, asking for segments as needed.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "archive/compress.h"
#include "archive/seg_arc.h"
#include "archive/seg_errors.h"
#include "archive/seg_records.h"
#include "platform/gui.h"

namespace kav::archive {

enum TSegMode { smCompress = 0, smExpand = 1 };

using TSegBeforeEvent =
    std::function<void(TSegMode SegMode, const std::string& SegName, std::uint16_t SegNumber)>;
using TSegAfterEvent = TSegBeforeEvent;
using TSegBeforeExpandEvent = std::function<void(TSegArcList& SegArcList)>;
using TSegAfterArchiveEvent =
    std::function<void(const TSegArcHeader& SegArcHdr, const std::string& Template)>;
using TSegShowProgressEvent = std::function<void(int PercentageDone)>;

// The reader's one work buffer; template and record lengths must leave room
// for a terminating zero in it.
inline constexpr std::size_t kSegBufferSize = 8192;

class TSegCompress : public TCompress {
public:
    TSegCompress(platform::FileSystem& files, platform::Gui& gui,
                 platform::Processor* processor = nullptr);
    ~TSegCompress() override;

    const std::string& SegBaseName() const { return segBaseName_; }
    // Keeps the file-name part, lower-cased; empty gives "SegData".
    void SetSegBaseName(const std::string& value);
    const std::string& SegDir() const { return segDir_; }
    // Lower-cased; empty gives "a:\".
    void SetSegDir(const std::string& value);
    const std::string& SegExt() const { return segExt_; }
    // At most three characters.
    void SetSegExt(const std::string& value);
    bool SegPopUp = true;
    std::int32_t SegSize() const { return segSize_; }
    // Used when building sets only; at least 16384.
    void SetSegSize(std::int32_t value);
    const std::string& SegTmpDir() const { return segTmpDir_; }
    // Without one trailing "\", lower-cased; empty gives the current directory.
    void SetSegTmpDir(const std::string& value);

    TSegBeforeEvent OnSegBefore;
    TSegAfterEvent OnSegAfter;
    TSegBeforeExpandEvent OnSegBeforeExpand;
    TSegAfterArchiveEvent OnSegAfterArchive;
    TSegShowProgressEvent OnSegShowProgress;

    // Set by the user's Cancel; the owner's handlers may set it to stop the
    // expansion at the next test.
    bool SegAbort = false;
    // Repaints the owning window after the directory prompt; may be empty.
    std::function<void()> RepaintOwner;

    TSegMode Mode() const { return mode_; }
    // The work copy of the archive being expanded (it exists while
    // OnSegAfterArchive runs).
    std::string TemporaryArchivePath() const;

    // Empties `list`, expands the whole set and leaves one descriptor per
    // archive in it.
    void ExpandSegments(TSegArcList& list);
    // What a cancelled prompt stopped, and who cancelled it, for the log:
    // "segment 2 (disk.002) not found; the prompt was cancelled by the
    // user"; empty unless the last expansion ended that way.
    const std::string& PromptCancelled() const { return promptCancelled_; }

private:
    void BuildSegmentPath(const std::string& directory);
    void OpenSegment(std::uint16_t number);
    void BeforeSegment();
    bool PromptForSegment();
    void ReadSegmentId();
    void ReadSpanned(std::uint8_t* destination, std::int64_t count);
    void ReadSetHeader(TSegSetHeader& header);
    void ReadScanRecord(TSegArc& arc);
    void ExpandListArchive(const std::string& archivePath);
    void ReadListFile(TSegArc& arc, std::int32_t recordLength);
    void ExpandNextArchive(TSegArc& arc);
    void CopySpannedToFile(const std::string& path, std::int32_t size, bool reportProgress);
    void DiscardSpanned(std::int32_t size);
    void CloseSegment();
    void RemoveIfPresent(const std::string& path);
    [[noreturn]] void Abort();
    // Notes what the cancelled prompt was about, then aborts.
    [[noreturn]] void AbortByPrompt(const std::string& what);

    platform::Gui& gui_;
    std::string promptCancelled_;
    std::string segBaseName_;
    std::string segDir_;
    std::string segExt_;
    std::int32_t segSize_ = 1440000;
    std::string segTmpDir_;

    TSegMode mode_ = smCompress;
    std::uint16_t segmentNumber_ = 0;
    std::string segmentName_;
    std::string segmentPath_;
    std::int64_t bytesLeft_ = 0;
    std::unique_ptr<platform::FileStream> segment_;
    std::unique_ptr<std::array<std::uint8_t, kSegBufferSize>> workBuffer_;
    std::string listFile_;
};

}  // namespace kav::archive
