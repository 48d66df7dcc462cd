#include "wizard/wizard_window.h"

#include "install/destination_policy.h"
#include "install/install_engine.h"
#include "install/script_entries.h"
#include "install/text_file.h"
#include "platform/errors.h"
#include "setup/system_paths.h"
#include "wizard/install_page_view.h"
#include "wizard/wizard_texts.h"

namespace kav::wizard {
namespace {

constexpr int kClientWidth = 433;
constexpr int kClientHeight = 263;
constexpr int kButtonBarHeight = 39;
// While the engine runs the wizard is a strip above the screen's bottom.
constexpr int kInstallPageHeight = 120;
constexpr int kInstallPageBottomGap = 30;

// The texts of a list's checked items: the shortcuts the user kept.
std::vector<std::string> CheckedItems(const widgets::CheckListBox& list) {
    std::vector<std::string> texts;
    for (const auto& item : list.Items()) {
        if (item.checked) texts.push_back(item.text);
    }
    return texts;
}

}  // namespace

const char* const TKAV::kPageNames[7] = {"page1",       "Page2", "Page3",  "Page4",
                                         "installtype", "Page5", "install"};

TKAV::TKAV(widgets::Backend& backend, platform::Machine& machine, setup::RunState& run,
           setup::TMainSetup& mainScreen, TForm3& chooser)
    : Form(backend, "KAV", "KAV32 - Setup"),
      Notebook1(Add<widgets::Notebook>(nullptr, "Notebook1")),
      Image1(Add<widgets::Image>(&PageAt(kWelcomePage), "Image1")),
      Memo1(Add<widgets::Memo>(&PageAt(kWelcomePage), "Memo1")),
      LicenceInstruction(Add<widgets::Label>(&PageAt(kLicencePage), "LicenceInstruction")),
      Memo3(Add<widgets::Memo>(&PageAt(kLicencePage), "Memo3")),
      AcceptOrDecline(Add<widgets::Label>(&PageAt(kLicencePage), "AcceptOrDecline")),
      accept(Add<widgets::Button>(&PageAt(kLicencePage), "accept")),
      decline(Add<widgets::Button>(&PageAt(kLicencePage), "decline")),
      Memo2(Add<widgets::Memo>(&PageAt(kDestinationPage), "Memo2")),
      DestinationGroup(Add<widgets::GroupBox>(&PageAt(kDestinationPage), "DestinationGroup")),
      Label1(Add<widgets::Label>(&DestinationGroup, "Label1")),
      browse(Add<widgets::Button>(&DestinationGroup, "browse")),
      FoldersTitle(Add<widgets::Label>(&PageAt(kFoldersPage), "FoldersTitle")),
      MainFolderLabel(Add<widgets::Label>(&PageAt(kFoldersPage), "MainFolderLabel")),
      CreateFolder(Add<widgets::Label>(&PageAt(kFoldersPage), "CreateFolder")),
      CheckBox1(Add<widgets::CheckBox>(&PageAt(kFoldersPage), "CheckBox1")),
      CheckBox2(Add<widgets::CheckBox>(&PageAt(kFoldersPage), "CheckBox2")),
      DesktopHeading(Add<widgets::Label>(&PageAt(kFoldersPage), "DesktopHeading")),
      DK(Add<widgets::CheckListBox>(&PageAt(kFoldersPage), "DK")),
      StartMenuHeading(Add<widgets::Label>(&PageAt(kFoldersPage), "StartMenuHeading")),
      SM(Add<widgets::CheckListBox>(&PageAt(kFoldersPage), "SM")),
      InstallTypeTitle(Add<widgets::Label>(&PageAt(kInstallTypePage), "InstallTypeTitle")),
      full(Add<widgets::RadioButton>(&PageAt(kInstallTypePage), "full")),
      min(Add<widgets::RadioButton>(&PageAt(kInstallTypePage), "min")),
      ReadyTitle(Add<widgets::Label>(&PageAt(kReadyPage), "ReadyTitle")),
      Label2(Add<widgets::Label>(&PageAt(kReadyPage), "Label2")),
      Memo4(Add<widgets::Memo>(&PageAt(kReadyPage), "Memo4")),
      source(Add<widgets::Label>(&PageAt(kProgressPage), "source")),
      Dest(Add<widgets::Label>(&PageAt(kProgressPage), "Dest")),
      ProgressBar1(Add<widgets::ProgressBar>(&PageAt(kProgressPage), "ProgressBar1")),
      Panel1(Add<widgets::Panel>(nullptr, "Panel1")),
      cancel(Add<widgets::Button>(&Panel1, "cancel")),
      back(Add<widgets::Button>(&Panel1, "back")),
      next(Add<widgets::Button>(&Panel1, "next")),
      install(Add<widgets::Button>(&Panel1, "install")),
      machine_(machine),
      run_(run),
      main_(mainScreen),
      chooser_(chooser) {
    SetBorder(widgets::BorderStyle::ToolWindow);
    SetPosition(widgets::FormPosition::ScreenCenter);
    SetClientSize(kClientWidth, kClientHeight);
    Notebook1.SetBounds(0, 0, kClientWidth, kClientHeight - kButtonBarHeight);
    for (std::size_t i = 0; i < Notebook1.PageCount(); ++i) {
        Notebook1.Page(i).SetBounds(0, 0, Notebook1.Width(), Notebook1.Height());
    }
    LayOutWelcomeAndLicencePages();
    LayOutDestinationAndFoldersPages();
    LayOutLastPages();
    LayOutButtonBar();

    Notebook1.OnPageChanged = [this] { Notebook1PageChanged(); };
    OnShow = [this] { FormShow(); };
    OnClose = [this](widgets::CloseAction& action) { FormClose(action); };
    FormCreate();
    Created();
}

widgets::Panel& TKAV::PageAt(int index) {
    while (static_cast<int>(Notebook1.PageCount()) <= index) {
        const char* name = kPageNames[Notebook1.PageCount()];
        auto& page = Add<widgets::Panel>(&Notebook1, std::string("Notebook1.") + name);
        page.SetCaption(name);
        Notebook1.AddPage(page);
    }
    return Notebook1.Page(static_cast<std::size_t>(index));
}

void TKAV::LayOutWelcomeAndLicencePages() {
    Image1.SetBounds(8, 8, 32, 32);
    Image1.ShowProgramIcon();
    Memo1.SetBounds(48, 8, 377, 208);
    Memo1.SetLines(WelcomeText());

    LicenceInstruction.SetAutoSize(false);
    LicenceInstruction.SetWordWrap(true);
    LicenceInstruction.SetBounds(8, 2, 417, 28);
    LicenceInstruction.SetCaption(
        "Click on Accept to continue with install process. pgdn/pgup to view License "
        "information.");
    Memo3.SetBounds(8, 30, 417, 136);
    Memo3.SetLines(LicencePlaceholder());
    AcceptOrDecline.SetAutoSize(false);
    AcceptOrDecline.SetWordWrap(true);
    AcceptOrDecline.SetBounds(8, 172, 255, 44);
    AcceptOrDecline.SetCaption(
        "You must select Accept or Decline to Continue with installation. if you accept "
        "License then click Accept!");
    accept.SetBounds(270, 180, 75, 25);
    accept.SetCaption("Accept");
    accept.OnClick = [this] { acceptClick(); };
    decline.SetBounds(350, 180, 75, 25);
    decline.SetCaption("Decline");
    decline.OnClick = [this] { declineClick(); };
}

void TKAV::LayOutDestinationAndFoldersPages() {
    Memo2.SetBounds(8, 8, 417, 136);
    Memo2.SetLines(DestinationText());
    DestinationGroup.SetBounds(8, 150, 417, 62);
    DestinationGroup.SetCaption(" Destination  Directory ");
    Label1.SetBounds(12, 28, 300, 13);
    browse.SetBounds(330, 22, 75, 25);
    browse.SetCaption("Browse");
    browse.OnClick = [this] { browseClick(); };

    FoldersTitle.SetBounds(8, 4, 300, 13);
    FoldersTitle.SetCaption("Create Folder's and Shortcuts.");
    MainFolderLabel.SetBounds(8, 24, 60, 13);
    MainFolderLabel.SetCaption("Main Folder:");
    CreateFolder.SetBounds(90, 24, 330, 13);
    CheckBox1.SetBounds(8, 42, 200, 17);
    CheckBox1.SetCaption("Add Folder to Start Menu");
    CheckBox2.SetBounds(220, 42, 200, 17);
    CheckBox2.SetCaption("Add Folder to Desktop");
    // Both folders are offered unticked: the program folder under Programs
    // is made in any case, and a run that passes the page over keeps these
    // same defaults.
    DesktopHeading.SetBounds(8, 64, 200, 13);
    DesktopHeading.SetCaption("Add Shortcut to Desktop?");
    DK.SetBounds(8, 80, 205, 136);
    StartMenuHeading.SetBounds(220, 64, 200, 13);
    StartMenuHeading.SetCaption("Add Shortcut to Startmenu?");
    SM.SetBounds(220, 80, 205, 136);
}

void TKAV::LayOutLastPages() {
    InstallTypeTitle.SetBounds(8, 8, 300, 13);
    InstallTypeTitle.SetCaption("What type of install to Execute");
    full.SetBounds(24, 48, 390, 17);
    full.SetCaption("Full Install ( All Files will be installed )");
    min.SetBounds(24, 76, 390, 17);
    min.SetCaption("Only Files need to run from Network will be installed");
    installType_.Add(full);
    installType_.Add(min);
    full.SetChecked(true);

    widgets::Panel& ready = PageAt(kReadyPage);
    ReadyTitle.SetBounds(8, 4, 300, 13);
    ReadyTitle.SetCaption("Ready to Start Installing Software");
    setup::FinalChoice& choice = run_.finalChoice;
    Adopt(choice.RadioButton1, &ready);
    choice.RadioButton1.SetBounds(8, 22, 300, 17);
    Label2.SetBounds(26, 40, 399, 13);
    Label2.SetCaption("Program to Launch");
    Adopt(choice.RadioButton2, &ready);
    choice.RadioButton2.SetBounds(8, 56, 300, 17);
    Adopt(choice.reboot, &ready);
    choice.reboot.SetBounds(8, 74, 300, 17);
    Memo4.SetBounds(8, 96, 417, 120);

    source.SetBounds(8, 40, 417, 13);
    source.SetCaption("Copy Source");
    Dest.SetBounds(8, 70, 417, 13);
    Dest.SetCaption("Copy to");
    ProgressBar1.SetBounds(8, 110, 417, 20);
}

void TKAV::LayOutButtonBar() {
    Panel1.SetBounds(0, kClientHeight - kButtonBarHeight, kClientWidth, kButtonBarHeight);
    Panel1.SetBeveled(true);
    cancel.SetBounds(8, 7, 75, 25);
    cancel.SetCaption("&Cancel");
    cancel.SetCancel(true);
    cancel.OnClick = [this] { cancelClick(); };
    back.SetBounds(190, 7, 75, 25);
    back.SetCaption("&Back");
    back.OnClick = [this] { backClick(); };
    next.SetBounds(270, 7, 75, 25);
    next.SetCaption("&Next");
    next.SetDefault(true);
    next.OnClick = [this] { nextClick(); };
    install.SetBounds(350, 7, 75, 25);
    install.SetCaption("&Install");
    // Enter presses Next while it is enabled, Install on the ready page.
    install.SetDefault(true);
    install.SetVisible(false);
    install.OnClick = [this] { installClick(); };
}

const setup::InstallConfiguration& TKAV::Configuration() const { return *run_.configuration; }

void TKAV::FormCreate() {
    GoTo(kWelcomePage);
    back.SetEnabled(false);
    SetCaptionBar(main_.CaptionBarColors());
}

void TKAV::FormShow() {
    run_.cancelled = false;
    const setup::InstallConfiguration& config = Configuration();
    CreateFolder.SetCaption(config.Folder);
    Label2.SetCaption(run_.finalChoice.RadioButton1.Enabled() ? config.Launch : "");
    const std::string licence = run_.TemporaryFile("license.txt");
    Memo3.Clear();
    platform::FileSystem& files = machine_.Files();
    if (files.FileExists(licence) || files.DirectoryExists(licence)) {
        // A licence that cannot be shown cannot be accepted: the set must not
        // install, so the run ends as abandoned, saying why.
        try {
            Memo3.SetLines(install::ReadTextLines(files, licence));
        } catch (const kav::Exception& error) {
            const std::string reason = platform::FailureText(error);
            machine_.Log().Note("licence unreadable: " + reason);
            machine_.Ui().ShowMessage("The licence cannot be shown.\r" + reason);
            Abandon();
            return;
        }
    }
    // Opened past the welcome page onto a licence page with no licence, the
    // wizard goes on to the destination as Next would have, rather than
    // waiting on a page whose only way out is Cancel.
    if (PageIndex() == kLicencePage && Memo3.LineCount() < 2) {
        ResetButtons();
        GoTo(kDestinationPage);
    }
    (config.WorkStationPrompt ? min : full).SetChecked(true);
    Label1.SetCaption(install::DestinationDirectory(
        setup::ProgramFilesDirectory(machine_.SystemDirs()), run_.systemDriveRoot, config));
    machine_.Ui().ProcessMessages();
}

void TKAV::ResetButtons() {
    back.SetEnabled(true);
    next.SetEnabled(true);
    install.SetVisible(false);
}

void TKAV::ShowReady() {
    install.SetVisible(true);
    next.SetEnabled(false);
}

void TKAV::nextClick() {
    // A destination the installer would refuse keeps the user on its page,
    // with the reason, before anything further is chosen.
    if (PageIndex() == kDestinationPage) {
        const std::string refusal =
            install::DestinationPolicy(machine_.Files(), machine_.SystemDirs())
                .RefusalFor(Label1.Caption());
        if (!refusal.empty()) {
            machine_.Ui().ShowMessage(refusal);
            return;
        }
    }
    ResetButtons();
    GoTo(PageIndex() + 1);
    const setup::InstallConfiguration* config = run_.configuration.get();
    switch (PageIndex()) {
        case kLicencePage:
            if (Memo3.LineCount() < 2) {
                GoTo(kDestinationPage);
                return;
            }
            back.SetEnabled(true);
            next.SetEnabled(false);
            return;
        case kFoldersPage:
            if (!config->Folder.empty()) return;
            if (config->WorkStationPrompt) {
                GoTo(kInstallTypePage);
                return;
            }
            GoTo(kReadyPage);
            ShowReady();
            return;
        case kInstallTypePage:
            if (config->WorkStationPrompt) return;
            GoTo(kReadyPage);
            ShowReady();
            return;
        case kReadyPage:
            ShowReady();
            return;
        default:
            return;
    }
}

// The buttons are reset before the page changes, so that the page's own
// rule has the last word: Back from the licence to the welcome page leaves
// Back disabled there, where it would lead to no page at all.
void TKAV::backClick() {
    ResetButtons();
    GoTo(PageIndex() - 1);
    const setup::InstallConfiguration& config = Configuration();
    switch (PageIndex()) {
        case kLicencePage:
            if (Memo3.LineCount() < 2) {
                GoTo(kWelcomePage);
                return;
            }
            back.SetEnabled(true);
            next.SetEnabled(false);
            return;
        case kFoldersPage:
            if (config.Folder.empty()) GoTo(kDestinationPage);
            return;
        case kInstallTypePage:
            if (!config.WorkStationPrompt) {
                GoTo(config.Folder.empty() ? kDestinationPage : kFoldersPage);
            }
            return;
        default:
            return;
    }
}

void TKAV::acceptClick() {
    back.SetEnabled(true);
    next.SetEnabled(true);
    GoTo(PageIndex() + 1);
}

void TKAV::declineClick() { Abandon(); }
void TKAV::cancelClick() { Abandon(); }

void TKAV::Abandon() {
    run_.Cancel();
    Close();
}

void TKAV::Notebook1PageChanged() {
    back.SetEnabled(PageIndex() != kWelcomePage);
    if (PageIndex() == kFoldersPage) RebuildSummary();
    if (PageIndex() == kReadyPage)
        Label2.SetCaption(install::AfterFirstTag(Configuration().Launch));
    // Page Up and Page Down reach the licence without a click into it.
    if (PageIndex() == kLicencePage && Visible()) SetActiveControl(&Memo3);
}

void TKAV::RebuildSummary() {
    std::vector<std::string> lines = {"Install to:", "  " + Label1.Caption(), "",
                                      "File / Folder : ", "  " + CreateFolder.Caption()};
    DK.Clear();
    SM.Clear();
    for (const std::string& item : Configuration().Desktop) {
        const install::DesktopEntry entry = install::DesktopEntry::Parse(item);
        if (entry.onDesktop) DK.Add(entry.name);
        if (entry.inStartMenu) SM.Add(entry.name);
        lines.push_back(entry.SummaryLine());
    }
    for (std::size_t i = 0; i < DK.Count(); ++i) DK.SetChecked(i, true);
    for (std::size_t i = 0; i < SM.Count(); ++i) SM.SetChecked(i, true);
    Memo4.SetLines(std::move(lines));
}

void TKAV::browseClick() {
    const std::string current = Label1.Caption();
    chooser_.Edit1.SetText(current);
    if (chooser_.ShowModal() != widgets::mrOk) return;
    const std::string chosen = chooser_.Edit1.Text();
    if (chosen == current) return;
    if (machine_.Ui().AskYesNo("Create New Directory for Installation [" + chosen + "] ?")) {
        Label1.SetCaption(chosen);
    }
}

void TKAV::installClick() {
    Shortcuts1.Folder = CreateFolder.Caption();
    Shortcuts1.FolderStartMenu = CheckBox1.Checked();
    Shortcuts1.FolderDesktop = CheckBox2.Checked();
    installStarted_ = true;
    GoTo(kProgressPage);
    PerformInstall();
}

// The engine's own failures end it with their message; the run then counts
// as failed, so that it ends with the cancellation message and no restart
// instead of announcing a completed installation.
void TKAV::PerformInstall() {
    Panel1.SetVisible(false);
    widgets::Bounds bounds = Placement();
    bounds.height = kInstallPageHeight;
    bounds.top = main_.Height() - kInstallPageHeight - kInstallPageBottomGap;
    SetBounds(bounds);
    machine_.Ui().ProcessMessages();
    InstallPageView view(source, Dest, ProgressBar1);
    install::InstallEngine engine(machine_, run_, view);
    try {
        engine.Run({Label1.Caption(), min.Checked(), run_.finalChoice.RadioButton1.Checked(),
                    main_.HeaderText(), Shortcuts1, CheckedItems(DK), CheckedItems(SM)});
    } catch (const kav::Exception& error) {
        machine_.Log().Note("install stopped: " + platform::FailureText(error));
        machine_.Ui().ShowMessage(error.what());
        run_.Cancel();
    }
    machine_.Ui().ProcessMessages();
    Close();
}

// Closing through the window frame before Install leaves the installation
// as undone as Cancel does, so it ends the same way: no restart, and the
// cancellation message.
void TKAV::FormClose(widgets::CloseAction&) {
    machine_.Ui().ProcessMessages();
    if (!installStarted_) run_.Cancel();
}

}  // namespace kav::wizard
