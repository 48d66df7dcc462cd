#pragma once
// TKAV: the wizard. Its pages collect the user's choices (licence,
// destination, program folder and shortcuts, kind of install, what happens
// at the end); Install hands them to the install engine, which runs inside
// this window and closes it at its end.
#include <string>

#include "install/shell_links.h"
#include "platform/machine.h"
#include "setup/main_setup.h"
#include "setup/run_state.h"
#include "widgets/controls.h"
#include "widgets/form.h"
#include "widgets/notebook.h"
#include "widgets/radio.h"
#include "wizard/directory_chooser.h"

namespace kav::wizard {

// The page indexes of Notebook1.
enum WizardPage : int {
    kWelcomePage = 0,
    kLicencePage = 1,
    kDestinationPage = 2,
    kFoldersPage = 3,
    kInstallTypePage = 4,
    kReadyPage = 5,
    kProgressPage = 6,
};

class TKAV : public widgets::Form {
public:
    // The caption of each page, by index.
    static const char* const kPageNames[7];

    TKAV(widgets::Backend& backend, platform::Machine& machine, setup::RunState& run,
         setup::TMainSetup& mainScreen, TForm3& chooser);

    // Event handlers.
    void FormCreate();
    void FormShow();
    void nextClick();
    void backClick();
    void acceptClick();
    void declineClick();
    void cancelClick();
    void Notebook1PageChanged();
    void browseClick();
    void installClick();
    void FormClose(widgets::CloseAction& action);

    int PageIndex() const { return Notebook1.PageIndex(); }
    // Whether Install has handed the choices on; closing the window after
    // that is the engine's end, not a cancellation.
    bool InstallStarted() const { return installStarted_; }

    widgets::Notebook& Notebook1;
    // Page 0: welcome.
    widgets::Image& Image1;
    widgets::Memo& Memo1;
    // Page 1: licence.
    widgets::Label& LicenceInstruction;
    widgets::Memo& Memo3;
    widgets::Label& AcceptOrDecline;
    widgets::Button& accept;
    widgets::Button& decline;
    // Page 2: destination.
    widgets::Memo& Memo2;
    widgets::GroupBox& DestinationGroup;
    widgets::Label& Label1;
    widgets::Button& browse;
    // Page 3: folders and shortcuts.
    widgets::Label& FoldersTitle;
    widgets::Label& MainFolderLabel;
    widgets::Label& CreateFolder;
    widgets::CheckBox& CheckBox1;
    widgets::CheckBox& CheckBox2;
    widgets::Label& DesktopHeading;
    widgets::CheckListBox& DK;
    widgets::Label& StartMenuHeading;
    widgets::CheckListBox& SM;
    // Page 4: kind of install.
    widgets::Label& InstallTypeTitle;
    widgets::RadioButton& full;
    widgets::RadioButton& min;
    // Page 5: ready; its three choices belong to the run (RunState).
    widgets::Label& ReadyTitle;
    widgets::Label& Label2;
    widgets::Memo& Memo4;
    // Page 6: progress.
    widgets::Label& source;
    widgets::Label& Dest;
    widgets::ProgressBar& ProgressBar1;
    // The button bar.
    widgets::Panel& Panel1;
    widgets::Button& cancel;
    widgets::Button& back;
    widgets::Button& next;
    widgets::Button& install;

    install::TShortcuts Shortcuts1;

private:
    // The page at `index`, made (with the pages before it) on first use.
    widgets::Panel& PageAt(int index);
    void LayOutWelcomeAndLicencePages();
    void LayOutDestinationAndFoldersPages();
    void LayOutLastPages();
    void LayOutButtonBar();

    const setup::InstallConfiguration& Configuration() const;
    void GoTo(int index) { Notebook1.SetPageIndex(index); }
    // Next and Back start alike: both enabled, Install hidden.
    void ResetButtons();
    // The ready page: Install shown, Next disabled.
    void ShowReady();
    void RebuildSummary();
    // Cancel and Decline.
    void Abandon();
    // Runs the install engine on the install page, then closes the wizard.
    void PerformInstall();

    platform::Machine& machine_;
    setup::RunState& run_;
    setup::TMainSetup& main_;
    TForm3& chooser_;
    widgets::RadioGroup installType_;
    bool installStarted_ = false;
};

}  // namespace kav::wizard
