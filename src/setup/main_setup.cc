#include "setup/main_setup.h"

#include "base/ascii_case.h"
#include "setup/file_operations.h"
#include "setup/system_paths.h"
#include "setup/temporary_directory.h"
#include "widgets/picture/picture.h"

namespace kav::setup {
namespace {

constexpr unsigned kRestartFlags = 2;
constexpr int kDesignWidth = 536;
constexpr int kDesignHeight = 348;
// The picture lies this far inside its frame, which is this much larger.
constexpr int kSplashMargin = 5;
constexpr int kSplashFrame = 10;

widgets::Font MakeFont(const std::string& name, int size, widgets::Color color) {
    return widgets::Font{name, size, color};
}

}  // namespace

TMainSetup::TMainSetup(widgets::Backend& backend, platform::Machine& machine, RunState& run,
                       std::vector<std::string> arguments, SetupStages& stages)
    : Form(backend, "MainSetup", "KAV 32Bit Installer"),
      MainScreen(Add<TFountainFill>(nullptr, "MainScreen")),
      Setup_Header(Add<widgets::Label>(nullptr, "Setup_Header")),
      Setup_Header2(Add<widgets::Label>(nullptr, "Setup_Header2")),
      Image1(Add<widgets::Image>(nullptr, "Image1")),
      Setup_Copyright(Add<widgets::Label>(nullptr, "Setup_Copyright")),
      bitmapscreen(Add<widgets::Panel>(nullptr, "bitmapscreen")),
      Image3(Add<widgets::Image>(&bitmapscreen, "Image3")),
      Image4(Add<widgets::Image>(&bitmapscreen, "Image4")),
      Timer1(AddTimer("Timer1", 1000)),
      WinReboot1(machine.Restarter()),
      machine_(machine),
      run_(run),
      arguments_(std::move(arguments)),
      stages_(stages) {
    SetBorder(widgets::BorderStyle::None);
    SetState(widgets::WindowState::Maximized);
    SetClientSize(kDesignWidth, kDesignHeight);

    MainScreen.SetBounds(0, 0, kDesignWidth, kDesignHeight);
    MainScreen.SetFromColor(widgets::clBlue);
    MainScreen.SetToColor(widgets::clBlack);
    MainScreen.SetSteps(255);
    MainScreen.SetStyle(fsHorizontal);

    Setup_Header.SetBounds(8, 1, 420, 43);
    Setup_Header.SetCaption("KAV - Zephyrin 32Bit v1.0");
    Setup_Header.SetFont(MakeFont("Impact", 26, widgets::clBlack));
    Setup_Header.SetShadowColor(widgets::clWhite);
    Setup_Header.SetShadowSize(2);
    Setup_Header.SetTransparent(true);

    Setup_Header2.SetBounds(18, 32, 420, 16);
    Setup_Header2.SetCaption("Installer run time, written for the Zephyrin install builder");
    Setup_Header2.SetFont(MakeFont("Times New Roman", 10, widgets::clBlack));
    Setup_Header2.SetShadowColor(widgets::clWhite);
    Setup_Header2.SetShadowSize(1);
    Setup_Header2.SetTransparent(true);

    Image1.SetBounds(0, 8, 32, 32);
    Image1.ShowProgramIcon();
    Image1.OnDblClick = [this] { Image1DblClick(); };

    Setup_Copyright.SetCaption("This installation was prepared with the Zephyrin install builder.");
    Setup_Copyright.SetFont(MakeFont("MS Sans Serif", 8, widgets::clWhite));
    Setup_Copyright.SetTransparent(true);
    Setup_Copyright.SetMousePointer(widgets::Pointer::HandPoint);
    Setup_Copyright.SetAlignment(widgets::Alignment::Center);
    Setup_Copyright.SetAutoSize(false);
    Setup_Copyright.SetHeight(13);

    bitmapscreen.SetBounds(16, 56, 153, 89);
    bitmapscreen.SetBeveled(true);
    bitmapscreen.SetVisible(false);
    Image3.SetBounds(16, 8, 115, 96);
    Image3.SetAutoSize(true);
    Image3.SetAnimate(true);
    Image3.SetTransparent(false);
    Image4.SetBounds(136, 8, 105, 105);
    Image4.SetAutoSize(false);
    Image4.SetTransparent(false);

    Timer1.OnTimer = [this] { Timer1Timer(); };
    OnShow = [this] { FormShow(); };
    OnClose = [this](widgets::CloseAction& action) { FormClose(action); };
    OnResize = [this] { FormResize(); };
    Created();
}

ScreenLook TMainSetup::CurrentLook() const {
    auto headerLook = [](const widgets::Label& label) {
        const widgets::Font& f = label.GetFont();
        return HeaderLook{label.Caption(), f.name, f.size, f.color, label.ShadowColor()};
    };
    return ScreenLook{MainScreen.FromColor(), MainScreen.ToColor(), headerLook(Setup_Header),
                      headerLook(Setup_Header2)};
}

widgets::Form::CaptionGradient TMainSetup::CaptionBarColors() const {
    return CaptionGradient{true, MainScreen.FromColor(), MainScreen.ToColor(),
                           Setup_Header.GetFont().color, Setup_Header.ShadowColor()};
}

std::string TMainSetup::HeaderText() const { return Setup_Header.Caption(); }

void TMainSetup::ShowPicture(const std::string& path) {
    Image3.SetVisible(false);
    Image4.SetVisible(false);
    // Image3 plays animations, Image4 shows still pictures; the script's
    // picture name says which it is.
    const bool gif =
        base::AsciiUpper(run_.configuration->BitmapFile).find("GIF") != std::string::npos;
    widgets::Image& view = gif ? Image3 : Image4;
    try {
        view.LoadFromFile(machine_.Files(), path);
    } catch (const widgets::EInvalidGraphic& error) {
        // The picture only decorates the run: one that cannot be shown is
        // left out, and the set is installed all the same.
        machine_.Log().Note(std::string("picture left out: ") + error.what());
        return;
    }
    view.SetLeft(kSplashMargin);
    view.SetTop(kSplashMargin);
    view.SetVisible(true);

    bitmapscreen.SetWidth(view.Width() + kSplashFrame);
    bitmapscreen.SetHeight(view.Height() + kSplashFrame);
    bitmapscreen.SetVisible(true);
    machine_.Ui().ProcessMessages();

    const InstallConfiguration& config = *run_.configuration;
    const int screenWidth = MainScreen.Width();
    bitmapscreen.SetTop(Setup_Header2.Top() + 30);
    if (config.AlignCenter) {
        bitmapscreen.SetLeft(screenWidth / 2 - bitmapscreen.Width() / 2);
    } else if (config.AlignLeft) {
        bitmapscreen.SetLeft(20);
    } else {
        bitmapscreen.SetLeft(screenWidth - (bitmapscreen.Width() + 20));
    }
    machine_.Ui().ProcessMessages();
}

void TMainSetup::ApplyLook(const ScreenLook& look) {
    MainScreen.SetFromColor(look.fromColor);
    MainScreen.SetToColor(look.toColor);
    auto apply = [](widgets::Label& label, const HeaderLook& h) {
        label.SetCaption(h.text);
        label.SetFont(widgets::Font{h.fontName, h.fontSize, h.fontColor});
        label.SetShadowColor(h.shadowColor);
    };
    apply(Setup_Header, look.header);
    apply(Setup_Header2, look.header2);
}

void TMainSetup::FormResize() {
    MainScreen.SetBounds(0, 0, Width(), Height());
    Image1.SetLeft(Width() - (Image1.Width() + Image1.Width() / 2));
    Setup_Copyright.SetBounds(0, MainScreen.Height() - Setup_Copyright.Height() - 10,
                              MainScreen.Width(), Setup_Copyright.Height());
    Setup_Header.SetTop(1);
    Setup_Header2.SetTop(Setup_Header.Top() + Setup_Header.Height() + 2);
}

void TMainSetup::FormShow() {
    if (shownBefore_) return;
    shownBefore_ = true;
    run_.argumentDirectory.clear();
    if (!StartUp()) return;
    if (closed_) {
        // Closed while start-up processed messages, before the script was
        // read: the run is abandoned (again, over the script's choices) and
        // its ending is shown now.
        run_.Cancel();
        ShowEnding();
        return;
    }
    Timer1.SetEnabled(true);
    // Within the timer's wait, not after it.
    stages_.PrepareWindows();
}

bool TMainSetup::StartUp() {
    platform::FileSystem& files = machine_.Files();
    if (!arguments_.empty()) {
        const std::string& argument = arguments_.front();
        if (!files.ChangeDirectory(argument)) {
            machine_.Ui().ShowMessage("Cannot enter the directory " + argument + ".");
            return false;
        }
        // Kept fully qualified: a relative name would later be resolved
        // against whatever the current directory is by then.
        run_.argumentDirectory = files.CurrentDirectory();
    }

    std::string source = files.CurrentDirectory();
    if (source.size() > 3) source += '\\';
    run_.sourceDirectory = source;
    const std::string windows = WindowsDirectory(machine_.SystemDirs());
    run_.systemDriveRoot = windows.substr(0, 3);
    run_.temporaryDirectory = windows + "\\Temp\\q";
    ForceDirectories(files, run_.temporaryDirectory);
    machine_.Ui().ProcessMessages();
    ClearTemporaryDirectory(files, run_.temporaryDirectory);

    ScreenLook look = CurrentLook();
    run_.configuration = std::make_unique<InstallConfiguration>(
        LoadInstallConfiguration(machine_.Profiles(), run_.sourceDirectory, look));
    const InstallConfiguration& read = *run_.configuration;
    machine_.Log().Note("configuration read from " + run_.sourceDirectory + "install.cfg: \"" +
                        look.header.text + "\", " + std::to_string(read.Files.size()) + " files, " +
                        std::to_string(read.Desktop.size()) + " shortcuts");
    ApplyLook(look);
    // The headers took the script's fonts and sized themselves: lay out
    // again so that the second stays below the first.
    FormResize();
    run_.startedUp = true;

    const InstallConfiguration& config = *run_.configuration;
    SetColor(MainScreen.FromColor());
    run_.finalChoice.Apply(config);
    if (!config.ShowWarningScreen) stages_.SkipWelcomePage();
    return true;
}

void TMainSetup::Timer1Timer() {
    Timer1.SetEnabled(false);
    stagesBegun_ = true;
    stages_.RunExpansion();
    if (!run_.cancelled) stages_.RunWizard();
    Close();
}

// The icon is the way out before the stages have begun (the main window
// takes no input while they run): nothing has been installed, so the run
// ends as abandoned rather than restarting Windows or claiming completion.
void TMainSetup::Image1DblClick() {
    run_.Cancel();
    Close();
}

void TMainSetup::FormClose(widgets::CloseAction&) {
    // A run closed before its stages began (Alt+F4 during the wait) must not
    // start them, and has installed nothing: it is abandoned.
    if (!stagesBegun_) run_.Cancel();
    closed_ = true;
    Timer1.SetEnabled(false);
    run_.configuration.reset();
    platform::FileSystem& files = machine_.Files();
    ClearTemporaryDirectory(files, run_.temporaryDirectory);
    if (!run_.argumentDirectory.empty()) {
        // The argument directory is the current one, and Windows does not
        // remove a directory that a process is in.
        files.ChangeDirectory(run_.systemDriveRoot);
        RemoveSetFiles(files, run_.argumentDirectory);
    }
    // A run whose start-up failed has installed nothing: no restart and no
    // completion message, although the choices still stand as designed.
    if (run_.startedUp) ShowEnding();
}

void TMainSetup::ShowEnding() {
    platform::Gui& ui = machine_.Ui();
    const FinalChoice& choice = run_.finalChoice;
    if (choice.reboot.Checked() && run_.noRestart) {
        // Installed all the same: the ending is the completion message.
        run_.restartDeclined = true;
        machine_.Log().Note("restart needed, not made (/NORESTART)");
    }
    if (choice.reboot.Checked() && !run_.restartDeclined) {
        ui.ShowMessage(
            "Zephyrin is about to RE-BOOT your PC\r\rPlease Remove any floppies from "
            "drive.\r\rClick on OK when ready.");
        ui.ProcessMessages();
        machine_.Log().Note("restarting Windows");
        WinReboot1.Reboot(kRestartFlags);
        ui.ProcessMessages();
    } else if (run_.cancelled) {
        ui.ShowMessage("Your installation was canceled!");
    } else if (!choice.RadioButton1.Checked()) {
        ui.ShowMessage("Your installation of \r" + Setup_Header.Caption() + "\r" +
                       "has be completed." + "\r" + "\r" +
                       "Please Remove any floppies from drive.");
    }
}

}  // namespace kav::setup
