// Whole unattended runs on the simulated machine, as install.exe makes them:
// the set expanded and installed by the switches alone, no dialog shown,
// the exit status of each ending and the log's lines.
#include "app/stages/unattended_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/set_writer.h"
#include "widgets/headless/headless_backend.h"

namespace kav::app {
namespace {

namespace fs = std::filesystem;
using namespace kav::archive::testing;

struct Lines final : platform::EventLog {
    void Note(const std::string& event) override { lines.push_back(event); }
    std::vector<std::string> lines;
};

class UnattendedRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() / ("unattended_run_" + std::string(test->name()));
        fs::remove_all(root_);
        fs::create_directories(Host("C:\\set"));
        machine_ = platform::MakeSimMachine(root_.string(), ui_);
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path Host(const std::string& windowsPath) const {
        std::string relative = windowsPath.substr(3);
        for (char& c : relative) c = c == '\\' ? '/' : c;
        return root_ / "drive_c" / relative;
    }
    std::string Read(const std::string& windowsPath) const {
        std::ifstream in(Host(windowsPath), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void Write(const std::string& windowsPath, const std::string& text) const {
        fs::create_directories(Host(windowsPath).parent_path());
        std::ofstream(Host(windowsPath), std::ios::binary) << text;
    }

    // Two segments carrying readme.txt (which may be overwritten, after a
    // question) and data.bin, a shortcut to the first, and `main` in the
    // script's main section.
    void WriteSet(const std::string& main = "", bool damaged = false) {
        Write("C:\\set\\install.cfg",
              "[Setup - Main]\r\nHeader=Demo 1.0\r\nInstall Dir=Demo\r\nFolder=Demo\r\n" +
                  (main.empty() ? "Show Re-Boot=0\r\n" : main) +
                  "[Directories]\r\nDir1=<INSTALLDIR>~\r\n"
                  "[Files]\r\nFile1=readme.txt~<INSTALLDIR>\r\nFile2=data.bin~<INSTALLDIR>\r\n"
                  "[Files - OverWrite]\r\nFile #0=1\r\n"
                  "[Desktop]\r\nIcon1=Read Me~<INSTALLDIR>readme.txt~X~X~~Demo\r\n");
        Write("C:\\set\\install.exe", "MZ");
        Bytes data(20000);
        for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 13);
        // Stored entries carry no checked sum; run-length coded ones do.
        EntrySpec broken = Rle("data.bin", data);
        if (damaged) broken.checksum = ByteSum(data) + 1;
        SegmentSetWriter set;
        set.Add(
            ArchiveFor("C:\\KAV\\main.arc",
                       ArchiveWriter().Add(Stored("readme.txt", BytesOf("new text"))).Add(broken)));
        const auto segments = set.SplitEvery(set.LogicalStream().size() / 2 + 16);
        ASSERT_EQ(segments.size(), 2u);
        for (const SegmentFile& segment : segments) {
            WriteHostFile(Host("C:\\set\\" + segment.name).string(), segment.bytes);
        }
    }

    // Runs install.exe's way with `switches`, from the set's directory.
    ExitStatus Run(const std::vector<std::string>& switches) {
        return RunWith(ParseInstallCommandLine(switches).options);
    }
    ExitStatus RunWith(const RunOptions& options) {
        log_.lines.clear();
        EXPECT_TRUE(machine_->Files().ChangeDirectory("C:\\set"));
        UnattendedRun run(ui_, ui_, *machine_, options, {}, log_, false);
        if (options.PlaysWizard()) run.PlayWizard();
        return run.Execute();
    }

    bool Logged(const std::string& line) const {
        for (const std::string& l : log_.lines) {
            if (l == line) return true;
        }
        return false;
    }
    std::string LogText() const {
        std::string text;
        for (const std::string& l : log_.lines) text += l + "\n";
        return text;
    }

    fs::path root_;
    widgets::headless::HeadlessBackend ui_;
    std::unique_ptr<platform::Machine> machine_;
    Lines log_;
};

TEST_F(UnattendedRunTest, ACompleteRunInstallsBySwitchesAloneAndLogsEveryStep) {
    WriteSet();
    EXPECT_EQ(Run({"/VERYSILENT", "/DIR=C:\\Tools\\Demo", "/NOICONS"}), kExitInstalled);
    EXPECT_EQ(Read("C:\\Tools\\Demo\\readme.txt"), "new text");
    EXPECT_EQ(fs::file_size(Host("C:\\Tools\\Demo\\data.bin")), 20000u);
    EXPECT_FALSE(fs::exists(Host("C:\\Users\\Public\\Desktop\\Read Me.lnk")));
    EXPECT_TRUE(ui_.Messages().Messages().empty()) << "a dialog was shown";

    const std::string set = machine_->Files().FullPathName("C:\\set");
    for (const std::string& line : {
             "configuration read from " + set + "\\install.cfg: \"Demo 1.0\", 2 files, 1 shortcuts",
             "segment #1: " + set + "\\disk.001",
             "segment #2: " + set + "\\disk.002",
             std::string(
                 "expanded C:\\WINDOWS\\Temp\\q\\1\\readme.txt: 8 bytes, checksum 0000032F"),
             std::string("question \"Create New Directory for Installation [C:\\Tools\\Demo] ?\": "
                         "Yes (default)"),
             std::string("step files"),
             std::string("installed C:\\Tools\\Demo\\readme.txt"),
             std::string("installed C:\\Tools\\Demo\\data.bin"),
             std::string("step launch: done"),
             std::string("exit status 0 installed"),
         }) {
        EXPECT_TRUE(Logged(line)) << line << " not in\n" << LogText();
    }
}

// A directory the installer would refuse is a bad command line: the run
// ends before anything is expanded or asked, silent or not.
TEST_F(UnattendedRunTest, ARefusedDirectoryEndsTheRunBeforeAnythingIsDone) {
    WriteSet();
    for (const std::vector<std::string>& line :
         {std::vector<std::string>{"/VERYSILENT", "/DIR=C:\\WINDOWS\\SYSTEM"},
          std::vector<std::string>{"/SILENT", "/DIR=\\\\?\\c:\\windows"},
          std::vector<std::string>{"/DIR=C:/Program Files/"}}) {
        EXPECT_EQ(Run(line), kExitBadCommandLine) << line.back();
        EXPECT_TRUE(Logged("exit status 1 bad command line")) << LogText();
        EXPECT_FALSE(fs::exists(Host("C:\\WINDOWS\\Temp\\q\\readme.txt"))) << line.back();
    }
}

TEST_F(UnattendedRunTest, AnAttendedRunOpensTheWizardWithTheSwitchesChoices) {
    WriteSet("Show Re-Boot=0\r\nWork Station Prompt=1\r\n");
    std::string shown;
    ui_.User().WhenShown("KAV", [&](widgets::Form& form) {
        auto& kav = dynamic_cast<wizard::TKAV&>(form);
        shown = kav.Label1.Caption() + (kav.min.Checked() ? " workstation" : " full");
        kav.cancel.Click();
    });
    EXPECT_EQ(Run({"/SUPPRESSMSGBOXES", "/DIR=D:\\Apps\\Demo", "/TYPE=workstation"}),
              kExitCancelled);
    EXPECT_EQ(shown, "D:\\Apps\\Demo workstation");
    // The cancellation message was not shown, only logged.
    EXPECT_TRUE(ui_.Messages().Messages().empty());
    EXPECT_TRUE(Logged("message \"Your installation was canceled!\""));
}

// A person going through the wizard leaves the same lines as the player:
// each page, the choices handed on (before the engine's first step) and
// each question with who answered it.
TEST_F(UnattendedRunTest, AnAttendedRunLogsPagesChoicesAndWhoAnswered) {
    WriteSet();
    Write("C:\\Tools\\Demo\\readme.txt", "mine");
    ui_.User().WhenShown("KAV", [](widgets::Form& form) {
        auto& kav = dynamic_cast<wizard::TKAV&>(form);
        while (kav.PageIndex() < wizard::kReadyPage) kav.next.Click();
        kav.back.Click();
        kav.next.Click();
        kav.install.Click();
    });
    ui_.User().AnswerWhen("File Already Exists", widgets::headless::DialogButton::Yes);
    EXPECT_EQ(Run({"/DIR=C:\\Tools\\Demo"}), kExitInstalled);
    std::vector<std::string> wizardLines;
    for (const std::string& line : log_.lines) {
        if (line.rfind("[", 0) == 0 || line.rfind("question ", 0) == 0 || line == "step files") {
            wizardLines.push_back(line);
        }
    }
    const std::string page = "[KAV32 - Setup] page ";
    EXPECT_EQ(
        wizardLines,
        (std::vector<std::string>{
            page + "0 \"page1\"", page + "2 \"Page3\"", page + "3 \"Page4\"", page + "5 \"Page5\"",
            page + "3 \"Page4\"", page + "5 \"Page5\"",
            "[KAV32 - Setup] Install: to \"C:\\Tools\\Demo\"; full; folder \"Demo\" start "
            "menu no desktop no; desktop [Read Me]; start menu [Read Me]; finish return",
            "step files", "question \"File Already Exists (readme.txt). Overwrite?\": Yes (user)"}))
        << LogText();
}

TEST_F(UnattendedRunTest, AnExistingFileIsKeptUnlessAnAnswerSaysOtherwise) {
    WriteSet();
    Write("C:\\Tools\\Demo\\readme.txt", "mine");
    EXPECT_EQ(Run({"/SILENT", "/DIR=C:\\Tools\\Demo"}), kExitInstalled);
    EXPECT_EQ(Read("C:\\Tools\\Demo\\readme.txt"), "mine");
    EXPECT_TRUE(Logged("question \"File Already Exists (readme.txt). Overwrite?\": No (default)"))
        << LogText();
    EXPECT_TRUE(Logged("kept C:\\Tools\\Demo\\readme.txt"));

    WriteSet();
    EXPECT_EQ(Run({"/SILENT", "/DIR=C:\\Tools\\Demo", "/ANSWER=File Already Exists*=Yes"}),
              kExitInstalled);
    EXPECT_EQ(Read("C:\\Tools\\Demo\\readme.txt"), "new text");
    EXPECT_TRUE(Logged("question \"File Already Exists (readme.txt). Overwrite?\": Yes (/ANSWER)"));
}

TEST_F(UnattendedRunTest, AMissingOrDamagedSetEndsWithStatusThreeWithoutWaiting) {
    WriteSet();
    fs::remove(Host("C:\\set\\disk.002"));
    EXPECT_EQ(Run({"/VERYSILENT"}), kExitSetUnreadable);
    EXPECT_TRUE(ui_.Messages().Messages().empty());
    const std::string set = machine_->Files().FullPathName("C:\\set");
    EXPECT_TRUE(Logged("segment #2: " + set + "\\disk.002 (missing)")) << LogText();
    // Nobody aborted: the default cancelled the prompt for the missing disk.
    EXPECT_TRUE(
        Logged("expansion failed: segment 2 (disk.002) not found; the prompt was "
               "cancelled by the default"))
        << LogText();
    EXPECT_FALSE(fs::exists(Host("C:\\Demo")));
    // Attended, the user cancels it; a rule says what it found instead.
    ui_.User().AnswerWhen("Unable to locate", widgets::headless::DialogButton::Cancel);
    EXPECT_EQ(Run({}), kExitSetUnreadable);
    EXPECT_TRUE(
        Logged("expansion failed: segment 2 (disk.002) not found; the prompt was "
               "cancelled by the user"))
        << LogText();
    WriteHostFile(Host("C:\\set\\disk.002").string(),
                  ReadHostFile(Host("C:\\set\\disk.001").string()));
    EXPECT_EQ(Run({"/SILENT", "/ANSWER=Incorrect*=Cancel"}), kExitSetUnreadable);
    EXPECT_TRUE(
        Logged("expansion failed: segment 2 (disk.002) found holding another segment; "
               "the prompt was cancelled by /ANSWER"))
        << LogText();

    WriteSet("", true);
    EXPECT_EQ(Run({"/VERYSILENT"}), kExitSetUnreadable);
    EXPECT_TRUE(Logged("exit status 3 the set could not be expanded")) << LogText();
    bool failureLogged = false;
    for (const std::string& line : log_.lines) {
        failureLogged = failureLogged || line.rfind("expansion failed: ", 0) == 0;
    }
    EXPECT_TRUE(failureLogged);
}

TEST_F(UnattendedRunTest, EachEndingHasItsStatus) {
    // The user's Cancel, and an uninstall script the engine cannot write.
    WriteSet();
    RunOptions cancel = ParseInstallCommandLine({"/SILENT"}).options;
    cancel.answers.cancelAt = 2;
    EXPECT_EQ(RunWith(cancel), kExitCancelled);
    WriteSet();
    Write("C:\\Tools\\Demo\\uninstall.cfg", "[Program]\r\nTitle=old\r\n");
    ASSERT_TRUE(
        machine_->Files().SetAttributes("C:\\Tools\\Demo\\uninstall.cfg", platform::faReadOnly));
    EXPECT_EQ(Run({"/SILENT", "/DIR=C:\\Tools\\Demo"}), kExitInstallFailed);
    EXPECT_TRUE(Logged("exit status 4 the install failed part-way"));

    // A restart that /NORESTART leaves undone, and one that is made.
    WriteSet("Show Re-Boot=1\r\n");
    EXPECT_EQ(Run({"/SILENT", "/NORESTART"}), kExitRestartNeeded);
    EXPECT_TRUE(Logged("restart needed, not made (/NORESTART)"));
    EXPECT_FALSE(Logged("restarting Windows"));
    WriteSet("Show Re-Boot=1\r\n");
    EXPECT_EQ(Run({"/SILENT"}), kExitInstalled);
    EXPECT_TRUE(Logged("restarting Windows"));
}

// Alt+F4 on any window before Install (the window system closes the form)
// abandons the run: the main screen during its wait, the expansion window
// before its timer or while it expands, each wizard page. Nothing is installed and the chosen
// restart is not made.
TEST_F(UnattendedRunTest, EveryCloseBeforeInstallEndsCancelled) {
    std::vector<std::string> shown;
    const auto closeOn = [&](const std::string& formName, int wizardPage) {
        return [this, &shown, formName, wizardPage](widgets::Form& form) {
            shown.push_back(form.Name());
            if (form.Name() != formName) return;
            if (wizardPage < 0) {
                // Closed while the expansion runs: it stops, and no error
                // is reported for the stop.
                ui_.User().AtProcessMessages(ui_.ProcessMessagesCalls() + 4,
                                             [&form] { form.Close(); });
                return;
            }
            if (wizardPage > 0) {
                auto& kav = dynamic_cast<wizard::TKAV&>(form);
                for (int presses = 0; presses < 6 && kav.PageIndex() < wizardPage; ++presses) {
                    kav.next.Click();
                }
                EXPECT_EQ(kav.PageIndex(), wizardPage);
            }
            form.Close();
        };
    };
    const std::vector<std::pair<std::string, int>> closes = {
        {"MainSetup", 0}, {"Unzip", 0}, {"Unzip", -1}, {"KAV", 0}, {"KAV", wizard::kReadyPage}};
    for (const auto& [formName, page] : closes) {
        SCOPED_TRACE(formName + " page " + std::to_string(page));
        WriteSet("Show Re-Boot=1\r\n");
        ui_.Messages().Clear();
        shown.clear();
        for (const char* name : {"MainSetup", "Unzip", "KAV"}) {
            ui_.User().WhenShown(name, closeOn(formName, page));
        }
        EXPECT_EQ(Run({"/DIR=C:\\Apps\\Demo"}), kExitCancelled);
        // No window after the closed one.
        EXPECT_EQ(shown.back(), formName);
        EXPECT_FALSE(fs::exists(Host("C:\\Apps\\Demo")));
        EXPECT_FALSE(Logged("restarting Windows")) << LogText();
        EXPECT_EQ(Logged("expansion stopped: the window was closed"), page < 0);
        EXPECT_EQ(ui_.Messages().Texts(),
                  std::vector<std::string>{"Your installation was canceled!"});
    }
}

TEST_F(UnattendedRunTest, ErrorsTheFormsReportAreLoggedAndShownOnlyToAUser) {
    const auto report = [&](const char* text) {
        ui_.Errors().Handle(std::make_exception_ptr(kav::Exception(text)));
    };
    for (const bool unattended : {true, false}) {
        log_.lines.clear();
        ui_.Messages().Clear();
        {
            const auto options =
                ParseInstallCommandLine(unattended ? std::vector<std::string>{"/SILENT"}
                                                   : std::vector<std::string>{})
                    .options;
            UnattendedRun run(ui_, ui_, *machine_, options, {}, log_, false);
            report("licence unreadable");
        }
        EXPECT_TRUE(Logged("error: licence unreadable")) << LogText();
        EXPECT_EQ(ui_.Messages().Texts(), unattended
                                              ? std::vector<std::string>{}
                                              : std::vector<std::string>{"licence unreadable"});
        // The run is over: the back end shows its errors as before, unlogged.
        report("later");
        EXPECT_FALSE(Logged("error: later"));
        EXPECT_EQ(ui_.Messages().Texts().back(), "later");
    }
}

}  // namespace
}  // namespace kav::app
