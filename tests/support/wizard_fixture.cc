#include "support/wizard_fixture.h"

#include "setup/file_operations.h"
#include "setup/system_paths.h"

namespace kav::wizard::testing {

void WizardTest::SetUp() {
    MachineTest::SetUp();
    set_ = Dir() + "\\set";
    ASSERT_TRUE(Files().MakeDirectory(set_));
    stages_.test = this;
}

std::string WizardTest::Temp() {
    return setup::WindowsDirectory(machine_->SystemDirs()) + "\\Temp\\q";
}

void WizardTest::WriteScript(const std::string& main, const std::vector<std::string>& desktop) {
    // The engine needs an install directory of the script's own.
    const std::string installDir =
        main.find("Install Dir=") == std::string::npos ? "Install Dir=WizardTest\r\n" : "";
    std::string text = "[Setup - Main]\r\n" + installDir + main +
                       "[Directories]\r\nDir1=<INSTALLDIR>~\r\n[Desktop]\r\n";
    for (std::size_t i = 0; i < desktop.size(); ++i) {
        text += "Desktop" + std::to_string(i + 1) + "=" + desktop[i] + "\r\n";
    }
    WriteFile(set_ + "\\install.cfg", text);
}

void WizardTest::Stages::RunExpansion() {
    ASSERT_TRUE(setup::ForceDirectories(test->Files(), test->Temp()));
    // The installer's own two files, which the engine copies.
    test->WriteFile(test->Temp() + "\\install.exe", "MZ");
    test->WriteFile(test->Temp() + "\\install.cfg", "[Setup - Main]");
    if (test->licenceFolder_) {
        ASSERT_TRUE(test->Files().MakeDirectory(test->Temp() + "\\license.txt"));
        return;
    }
    if (!test->licence_) return;
    const std::string path = test->Temp() + "\\license.txt";
    test->WriteFile(path, *test->licence_);
    if (test->holdLicence_) test->heldLicence_ = test->Files().Create(path);
}

void WizardTest::Run(const std::function<void(TKAV&)>& user) {
    ASSERT_TRUE(Files().ChangeDirectory(set_));
    // The windows of an earlier run go first (they hold the run's controls),
    // and the run starts anew.
    kav_.reset();
    chooser_.reset();
    main_.reset();
    run_.cancelled = false;
    main_ = std::make_unique<setup::TMainSetup>(ui_, *machine_, run_, std::vector<std::string>{},
                                                stages_);
    chooser_ = std::make_unique<TForm3>(ui_, *machine_, *main_);
    kav_ = std::make_unique<TKAV>(ui_, *machine_, run_, *main_, *chooser_);
    ui_.User().WhenShown("KAV", [&](widgets::Form&) { user(*kav_); });
    ui_.Errors().SetRethrow(false);
    ui_.Run(*main_);
}

void WizardTest::NextUntil(TKAV& kav, int page) {
    for (int steps = 0; steps < 7 && kav.PageIndex() != page; ++steps) {
        if (kav.PageIndex() == kLicencePage) {
            kav.accept.Click();
        } else {
            kav.next.Click();
        }
    }
    ASSERT_EQ(kav.PageIndex(), page);
}

Buttons ButtonsOf(const TKAV& kav) {
    return Buttons{kav.back.Enabled(), kav.next.Enabled(), kav.install.Visible()};
}

}  // namespace kav::wizard::testing
