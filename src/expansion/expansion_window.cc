#include "expansion/expansion_window.h"

#include <cstdio>

#include "base/ascii_case.h"
#include "base/path_parts.h"
#include "platform/errors.h"
#include "setup/file_operations.h"
#include "setup/system_paths.h"
#include "setup/temporary_directory.h"

namespace kav::embedded {
// The small animation of the window (preparing.gif beside this file).
extern const unsigned char preparing_gif[];
extern const std::size_t preparing_gif_size;
}  // namespace kav::embedded

namespace kav::expansion {
namespace {

constexpr int kClientWidth = 375;
constexpr int kClientHeight = 92;
constexpr int kDiskPromptsPerSegment = 2;
// The gauge counts the two set files copied before the first file.
constexpr int kGaugeExtraSteps = 3;

std::string NumberText(std::uint16_t number) {
    char text[8];
    std::snprintf(text, sizeof text, "%03u", static_cast<unsigned>(number));
    return text;
}

}  // namespace

TUnzip::TUnzip(widgets::Backend& backend, platform::Machine& machine, setup::RunState& run,
               setup::TMainSetup& mainScreen)
    : Form(backend, "Unzip", "Preparing KAV Setup"),
      Label1(Add<widgets::Label>(nullptr, "Label1")),
      RxGIFAnimator1(Add<widgets::Image>(nullptr, "RxGIFAnimator1")),
      GaugePanel(Add<widgets::Panel>(nullptr, "GaugePanel")),
      ProgressBar2(Add<widgets::ProgressBar>(&GaugePanel, "ProgressBar2")),
      Timer1(AddTimer("Timer1", 1000)),
      SegCompEZ1(machine.Files(), machine.Ui(), &machine.Cpu()),
      machine_(machine),
      run_(run),
      main_(mainScreen) {
    SetBorder(widgets::BorderStyle::ToolWindow);
    SetPosition(widgets::FormPosition::ScreenCenter);
    SetClientSize(kClientWidth, kClientHeight);

    designText_ =
        "Setup is preparing the KAV Install Wizard which will guide you in the rest of you "
        "setup process.";
    Label1.SetAutoSize(false);
    Label1.SetWordWrap(true);
    Label1.SetTransparent(true);
    Label1.SetBounds(48, 8, 325, 53);
    Label1.SetCaption(designText_);

    RxGIFAnimator1.SetBounds(8, 8, 32, 32);
    RxGIFAnimator1.SetAnimate(true);
    RxGIFAnimator1.SetPicture(std::make_shared<const widgets::Picture>(
        widgets::DecodePicture(embedded::preparing_gif, embedded::preparing_gif_size)));

    GaugePanel.SetBounds(26, 64, 323, 21);
    GaugePanel.SetBeveled(false);
    ProgressBar2.SetBounds(1, 1, 321, 19);
    ProgressBar2.SetBarColor(widgets::clHighlight);
    ProgressBar2.SetColor(widgets::clBtnFace);

    SegCompEZ1.MakeDirectories = false;
    SegCompEZ1.ExceptionOnFileError = false;
    SegCompEZ1.Key = 0;
    SegCompEZ1.CheckSpaceBeforeExpand = false;
    SegCompEZ1.SegPopUp = false;
    SegCompEZ1.SetSegSize(1440000);
    SegCompEZ1.SegBuildMode = archive::bmRecursive;
    SegCompEZ1.SegCompType = archive::coLZH5;
    SegCompEZ1.SegMultiArc = true;
    SegCompEZ1.OnSegBefore = [this](archive::TSegMode mode, const std::string& name,
                                    std::uint16_t number) {
        SegCompEZ1SegBefore(mode, name, number);
    };
    SegCompEZ1.OnCheckFile = [this](std::string& filepath, archive::TCProcessMode mode) {
        SegCompEZ1CheckFile(filepath, mode);
    };
    SegCompEZ1.OnShowProgress = [this](int& percent) { SegCompEZ1ShowProgress(percent); };
    SegCompEZ1.OnExpanded = [this](const std::string& path, std::int32_t size,
                                   std::uint32_t checksum) {
        char sum[12];
        std::snprintf(sum, sizeof sum, "%08X", static_cast<unsigned>(checksum));
        machine_.Log().Note("expanded " + path + ": " + std::to_string(size) + " bytes, checksum " +
                            sum);
    };

    Timer1.SetEnabled(false);
    Timer1.OnTimer = [this] { Timer1Timer(); };
    OnShow = [this] { FormShow(); };
    OnClick = [this] { FormClick(); };
    OnClose = [this](widgets::CloseAction& action) { FormClose(action); };
    Created();
}

void TUnzip::FormShow() {
    run_.cancelled = false;
    expanding_ = finished_ = closedByUser_ = false;
    Label1.SetCaption(main_.HeaderText() + " " + designText_ + "\r" + "Please Standby.");
    MarsCaption1 = main_.CaptionBarColors();
    SetCaptionBar(MarsCaption1);
    machine_.Ui().ProcessMessages();
    splashShown_ = false;
    gauge_ = 0;
    Timer1.SetEnabled(true);
}

void TUnzip::Timer1Timer() {
    Timer1.SetEnabled(false);
    run_.cancelled = false;
    const std::string windows = setup::WindowsDirectory(machine_.SystemDirs());
    SegCompEZ1.SetSegBaseName("disk");
    SegCompEZ1.SetSegDir(run_.sourceDirectory);
    SegCompEZ1.SetSegTmpDir(windows + "\\temp");
    SegCompEZ1.SegArcList().Clear();
    run_.expanded.Clear();
    SegCompEZ1.SegSource().clear();
    // A directory that cannot be made is reported as any handler's error is,
    // and the window waits for the user to abort.
    for (const std::string& directory : {run_.temporaryDirectory, SegCompEZ1.SegTmpDir()}) {
        if (!setup::ForceDirectories(machine_.Files(), directory)) {
            throw platform::EInOutError("Unable to create directory " + directory);
        }
    }
    expanding_ = true;
    {
        struct ExpandingEnd {
            bool& flag;
            ~ExpandingEnd() { flag = false; }
        } end{expanding_};
        Expand();
    }
    Gauge(gauge_, true);
    finished_ = true;
    Close();
}

// A close through the window frame before the expansion has finished is
// the user's abort: before the timer the expansion never starts; during it
// the window stays until the expansion has stopped on the cancelled flag.
void TUnzip::FormClose(widgets::CloseAction& action) {
    if (finished_) return;
    Timer1.SetEnabled(false);
    run_.Cancel();
    closedByUser_ = true;
    if (expanding_) action = widgets::CloseAction::None;
}

void TUnzip::Expand() {
    try {
        SegCompEZ1.ExpandAll();
    } catch (const kav::Exception& error) {
        if (closedByUser_) {
            // Stopped by the user's close, not by a fault of the set.
            machine_.Log().Note("expansion stopped: the window was closed");
            return;
        }
        // A cancelled disk prompt is told as what it was, not as a fault.
        const std::string& cancelled = SegCompEZ1.PromptCancelled();
        lastError_ = cancelled.empty() ? std::string(error.what()) : cancelled;
        machine_.Log().Note("expansion failed: " +
                            (cancelled.empty() ? platform::FailureText(error) : cancelled));
        machine_.Ui().ShowMessage("Error Expanding Files!!");
        run_.Cancel();
    }
}

void TUnzip::SegCompEZ1SegBefore(archive::TSegMode, const std::string&, std::uint16_t SegNumber) {
    platform::Gui& ui = machine_.Ui();
    const std::string number = NumberText(SegNumber);
    ui.ProcessMessages();
    segmentPath_ = run_.sourceDirectory + SegCompEZ1.SegBaseName() + "." + number;
    platform::FileSystem& files = machine_.Files();
    for (int prompts = 0; prompts < kDiskPromptsPerSegment && !files.FileExists(segmentPath_);
         ++prompts) {
        Gauge(gauge_, true);
        ui.ShowMessage("Please Insert Disk #" + std::to_string(SegNumber) + " into Floppy Drive.");
    }
    machine_.Log().Note("segment #" + std::to_string(SegNumber) + ": " + segmentPath_ +
                        (files.FileExists(segmentPath_) ? "" : " (missing)"));
    if (SegNumber == 1) {
        const int files = static_cast<int>(run_.configuration->Files.size());
        ProgressBar2.SetMax(files + kGaugeExtraSteps);
        Gauge(0, true);
        setup::CopyFile(machine_.Files(), run_.sourceDirectory + "install.exe",
                        run_.temporaryDirectory);
        Gauge(1);
        setup::CopyFile(machine_.Files(), run_.sourceDirectory + "install.cfg",
                        run_.temporaryDirectory);
        Gauge(2);
    }
    ui.ProcessMessages();
}

void TUnzip::Gauge(int position, bool now) {
    gauge_ = position;
    if (gaugeSpacing_.Due(now)) ProgressBar2.SetPosition(gauge_);
    machine_.Ui().ProcessMessages();
}

void TUnzip::SegCompEZ1CheckFile(std::string& filepath, archive::TCProcessMode) {
    // Only a plain file name may land in the temporary directory: never a
    // device, never a path that climbs out of it.
    const auto name = base::PlainFileName(filepath);
    if (!name) throw EUnplaceableName(filepath);
    const setup::ExpandedFiles::Place place =
        run_.expanded.PlaceFor(run_.temporaryDirectory, *name);
    // A folder that cannot be made shows when the file is made in it.
    if (!place.newFolder.empty()) machine_.Files().MakeDirectory(place.newFolder);
    filepath = place.path;
    Gauge(gauge_ + 1);

    const std::string& bitmap = run_.configuration->BitmapFile;
    if (bitmap.empty() || splashShown_) return;
    const std::string picture = run_.TemporaryFile(bitmap);
    if (!machine_.Files().FileExists(picture)) return;
    splashShown_ = true;
    main_.ShowPicture(picture);
}

void TUnzip::SegCompEZ1ShowProgress(int& PercentageDone) {
    if (run_.cancelled) PercentageDone = -1;
}

void TUnzip::FormClick() {
    platform::Gui& ui = machine_.Ui();
    if (ui.AskWarning("Abort Setup Process ?") != platform::WarningAnswer::Abort) return;
    run_.Cancel();
    setup::ClearTemporaryDirectory(machine_.Files(), run_.temporaryDirectory);
    ui.Terminate();
}

}  // namespace kav::expansion
