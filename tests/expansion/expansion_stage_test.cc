// The expansion stage played on the test machine: disk prompts, the gauge,
// the picture on the main screen, flattening, the abort question while the
// set expands, and every failure ending cancelled.
#include <gtest/gtest.h>

#include "base/path_parts.h"
#include "expansion/expansion_window.h"
#include "setup/system_paths.h"
#include "support/set_writer.h"
#include "support/test_machine.h"

namespace kav::setup {
namespace {

using archive::testing::ArchiveFor;
using archive::testing::ArchiveWriter;
using archive::testing::Bytes;
using archive::testing::BytesOf;
using archive::testing::SegmentSetWriter;
using archive::testing::Stored;
using widgets::headless::DialogButton;

// Little pictures the loader reads: a 1 x 1 GIF and a 2 x 3 BMP.
const Bytes kGif = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00,
                    0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00,
                    0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};

Bytes Bmp(int width, int height) {
    const int row = (width * 3 + 3) / 4 * 4;
    const int size = 54 + row * height;
    Bytes b(static_cast<std::size_t>(size), 0);
    auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<std::uint32_t>(size), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    return b;
}

class ExpansionStageTest : public testing::MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        set_ = Dir() + "\\set";
        floppy_ = Dir() + "\\floppy";
        ASSERT_TRUE(Files().MakeDirectory(set_));
        ASSERT_TRUE(Files().MakeDirectory(floppy_));
    }

    // The script with `main` in its main section and a Files line per entry.
    void WriteScript(const std::string& main, std::size_t fileLines) {
        std::string text = "[Setup - Main]\r\nShow Re-Boot=1\r\n" + main + "[Files]\r\n";
        for (std::size_t i = 0; i < fileLines; ++i) {
            text += "File" + std::to_string(i + 1) + "=f" + std::to_string(i) + "~<INSTALLDIR>\r\n";
        }
        WriteFile(set_ + "\\install.cfg", text);
        WriteFile(set_ + "\\install.exe", "MZ");
    }

    // Segment files: the first in the set, the others on the "floppy".
    void WriteSegments(const ArchiveWriter& archive, std::size_t segments = 1) {
        SegmentSetWriter set;
        set.Add(ArchiveFor("C:\\App\\main.arc", archive));
        const auto files = set.SplitEvery(set.LogicalStream().size() / segments + 16);
        ASSERT_EQ(files.size(), segments);
        for (std::size_t i = 0; i < files.size(); ++i) {
            auto out = Files().Create((i == 0 ? set_ : floppy_) + "\\" + files[i].name);
            out->WriteExactly(files[i].bytes.data(), files[i].bytes.size());
        }
    }

    // Runs the setup from the set; `during` looks at the stage before it is
    // destroyed (the temporary directory is still full then).
    void Run(const std::function<void(expansion::TUnzip&)>& during = {}) {
        ASSERT_TRUE(Files().ChangeDirectory(set_));
        main_ =
            std::make_unique<TMainSetup>(ui_, *machine_, run_, std::vector<std::string>{}, stages_);
        unzip_ = std::make_unique<expansion::TUnzip>(ui_, *machine_, run_, *main_);
        stages_.run = [&] {
            unzip_->ShowModal();
            if (during) during(*unzip_);
            unzip_.reset();
        };
        ui_.Run(*main_);
    }

    std::vector<std::string> Messages() const { return ui_.Messages().Texts(); }
    std::string Temp() { return WindowsDirectory(machine_->SystemDirs()) + "\\Temp\\q"; }

    struct Stages final : SetupStages {
        std::function<void()> run;
        void RunExpansion() override { run(); }
        void RunWizard() override {}
        void SkipWelcomePage() override {}
        void PrepareWindows() override {}
    };

    std::string set_, floppy_;
    RunState run_;
    Stages stages_;
    std::unique_ptr<TMainSetup> main_;
    std::unique_ptr<expansion::TUnzip> unzip_;
};

TEST_F(ExpansionStageTest, SecondFloppyPutInAtThePromptIsReadWithoutASecondPrompt) {
    WriteScript("", 10);
    ArchiveWriter archive;
    for (int i = 0; i < 10; ++i) archive.Add(Stored("f" + std::to_string(i), Bytes(3000, 1)));
    WriteSegments(archive, 2);
    ui_.User().Decide = [&](const std::string& text) -> std::optional<DialogButton> {
        if (text == "Please Insert Disk #2 into Floppy Drive.") {
            WriteFile(set_ + "\\disk.002", ReadFile(floppy_ + "\\disk.002"));
        }
        return std::nullopt;
    };
    Run([&](expansion::TUnzip& unzip) {
        EXPECT_EQ(unzip.ProgressBar2.Max(), 13);
        EXPECT_EQ(unzip.ProgressBar2.Position(), 12);  // 2 before the first file, then one each
        EXPECT_EQ(ReadFile(run_.TemporaryFile("f9")), std::string(3000, '\x01'));
        EXPECT_EQ(ReadFile(run_.TemporaryFile("install.cfg")).substr(0, 14), "[Setup - Main]");
    });
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0], "Please Insert Disk #2 into Floppy Drive.");
    EXPECT_EQ(Messages()[1].substr(0, 36), "Zephyrin is about to RE-BOOT your PC");
    EXPECT_FALSE(run_.cancelled);
}

// The files are spread over folders of the temporary directory; a later
// entry of a name replaces the earlier one as in one folder, even when a
// folder lies between them, and the run's end takes every folder away.
TEST_F(ExpansionStageTest, TheLaterOfTwoEqualNamesWinsAndTheTemporaryFoldersGoAtTheEnd) {
    WriteScript("", 2);
    ArchiveWriter archive;
    archive.Add(Stored("docs\\a.txt", BytesOf("first")));
    for (std::size_t i = 0; i < ExpandedFiles::kFilesPerFolder; ++i) {
        archive.Add(Stored("n" + std::to_string(i), BytesOf("n")));
    }
    WriteSegments(archive.Add(Stored("A.TXT", BytesOf("second"))));
    Run([&](expansion::TUnzip&) {
        EXPECT_EQ(ReadFile(run_.TemporaryFile("a.txt")), "second");
        EXPECT_EQ(ReadFile(run_.TemporaryFile("n127")), "n");
        EXPECT_NE(base::DirectoryPart(run_.TemporaryFile("n127")),
                  base::DirectoryPart(run_.TemporaryFile("n0")));
    });
    EXPECT_FALSE(run_.cancelled);
    EXPECT_FALSE(Files().DirectoryExists(Temp()));
}

TEST_F(ExpansionStageTest, TheAnimatedViewTakesEveryNameWithGifAndIsCentred) {
    for (const std::string name : {"logo.gif", "GIFTS.bmp"}) {
        SCOPED_TRACE(name);
        WriteScript("Bitmap File=" + name + "\r\nAlign Center=1\r\nAlign Left=1\r\n", 1);
        // The picture shows at the first file that follows it.
        WriteSegments(ArchiveWriter()
                          .Add(Stored(name, name == "logo.gif" ? kGif : Bmp(2, 3)))
                          .Add(Stored("after", BytesOf("x"))));
        Run([](expansion::TUnzip& u) { EXPECT_EQ(u.LastError(), ""); });
        ASSERT_TRUE(main_->bitmapscreen.Visible());
        EXPECT_TRUE(main_->Image3.Visible());
        EXPECT_FALSE(main_->Image4.Visible());
        const int side = name == "logo.gif" ? 1 : 2;
        EXPECT_EQ(main_->bitmapscreen.Width(), side + 10);
        EXPECT_EQ(main_->bitmapscreen.Left(),
                  main_->MainScreen.Width() / 2 - main_->bitmapscreen.Width() / 2);
        EXPECT_EQ(main_->bitmapscreen.Top(), main_->Setup_Header2.Top() + 30);
    }
}

TEST_F(ExpansionStageTest, TheStillViewKeepsItsSizeAndWithNoAlignmentSitsRight) {
    WriteScript("Bitmap File=pic.bmp\r\nAlign Center=0\r\nAlign Left=0\r\n", 1);
    WriteSegments(
        ArchiveWriter().Add(Stored("pic.bmp", Bmp(2, 3))).Add(Stored("after", BytesOf("x"))));
    Run();
    EXPECT_TRUE(main_->Image4.Visible());
    EXPECT_FALSE(main_->Image3.Visible());
    EXPECT_EQ(main_->bitmapscreen.Width(), 115);
    EXPECT_EQ(main_->bitmapscreen.Left(), main_->MainScreen.Width() - (115 + 20));
}

TEST_F(ExpansionStageTest, APictureMissingFromTheSetIsNoError) {
    WriteScript("Bitmap File=absent.gif\r\n", 1);
    WriteSegments(ArchiveWriter().Add(Stored("x", BytesOf("x"))));
    Run();
    EXPECT_FALSE(main_->bitmapscreen.Visible());
    EXPECT_FALSE(run_.cancelled);
}

TEST_F(ExpansionStageTest, AbortAnsweredNoGoesOnAndAbortStopsTheExpansion) {
    for (const DialogButton answer : {DialogButton::No, DialogButton::Abort}) {
        WriteScript("", 1);
        WriteSegments(ArchiveWriter().Add(archive::testing::Rle("big", Bytes(400000, 7))));
        ui_.User().AtProcessMessages(ui_.ProcessMessagesCalls() + 6, [&] {
            ui_.User().AnswerWhen("Abort Setup Process ?", answer);
            unzip_->ClickSurface();
        });
        const bool aborted = answer == DialogButton::Abort;
        // An abort reaches the running expansion, which stops with an error.
        Run([&](expansion::TUnzip& u) { EXPECT_EQ(u.LastError().empty(), !aborted); });
        EXPECT_EQ(run_.cancelled, aborted);
        EXPECT_FALSE(run_.finalChoice.reboot.Checked() && aborted);
        EXPECT_FALSE(Files().DirectoryExists(Temp()));
    }
}

TEST_F(ExpansionStageTest, EveryFailureEndsCancelledWithoutRestart) {
    auto bad = archive::testing::Rle("bad", Bytes(100, 4));
    bad.checksum = 1;
    struct Case {
        const char* what;
        std::function<void()> prepare;
    };
    const std::vector<Case> cases = {
        {"no installer",
         [&] {
             WriteSegments(ArchiveWriter().Add(Stored("x", BytesOf("x"))));
             Files().RemoveFile(set_ + "\\install.exe");
         }},
        {"bad checksum", [&] { WriteSegments(ArchiveWriter().Add(bad)); }},
        {"device name",
         [&] { WriteSegments(ArchiveWriter().Add(Stored("docs\\CON", BytesOf("x")))); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteScript("Bitmap File=logo.gif\r\n", 1);
        c.prepare();
        const std::size_t before = Messages().size();
        Run();
        ASSERT_EQ(Messages().size(), before + 2) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Messages()[before], "Error Expanding Files!!");
        EXPECT_EQ(Messages()[before + 1], "Your installation was canceled!");
        EXPECT_TRUE(run_.cancelled);
        EXPECT_TRUE(machine_->restart.calls.empty());
    }
}

TEST_F(ExpansionStageTest, APictureThatCannotBeShownIsLeftOutWithALogLineAndTheSetExpands) {
    Bytes compressed = Bmp(2, 3);
    compressed[30] = 1;  // run-length compression, with no runs behind it
    const std::vector<std::pair<std::string, Bytes>> pictures = {
        {"logo.gif", BytesOf("not a GIF")},
        {"pic.bmp", compressed},
        {"pic.jpg", Bytes{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00}},
    };
    for (const auto& [name, bytes] : pictures) {
        SCOPED_TRACE(name);
        WriteScript("Bitmap File=" + name + "\r\n", 1);
        WriteSegments(ArchiveWriter().Add(Stored(name, bytes)).Add(Stored("after", BytesOf("x"))));
        const std::size_t before = Messages().size();
        machine_->log.events.clear();
        Run([&](expansion::TUnzip& u) {
            EXPECT_EQ(u.LastError(), "");
            EXPECT_EQ(ReadFile(run_.TemporaryFile("after")), "x");
        });
        EXPECT_FALSE(run_.cancelled);
        EXPECT_FALSE(main_->bitmapscreen.Visible());
        ASSERT_EQ(Messages().size(), before + 1);
        EXPECT_EQ(Messages()[before].substr(0, 36), "Zephyrin is about to RE-BOOT your PC");
        bool logged = false;
        for (const std::string& event : machine_->log.events)
            logged = logged || (event.find("picture left out") != std::string::npos &&
                                event.find(name) != std::string::npos);
        EXPECT_TRUE(logged) << ::testing::PrintToString(machine_->log.events);
    }
}

TEST_F(ExpansionStageTest, ATemporaryDirectoryThatCannotBeMadeIsReportedAndWaitsForAbort) {
    WriteScript("", 1);
    WriteSegments(ArchiveWriter().Add(Stored("x", BytesOf("x"))));
    WriteFile(Temp(), "a file where the directory should be");
    ui_.User().WhenIdle("Unzip", [&](widgets::Form& form) {
        ui_.User().AnswerWhen("Abort Setup Process ?", DialogButton::Abort);
        form.ClickSurface();
    });
    Run();
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages()[0], "Unable to create directory " + Temp());
    EXPECT_TRUE(run_.cancelled);
    Files().RemoveFile(Temp());
}

}  // namespace
}  // namespace kav::setup
