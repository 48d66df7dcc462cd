// The segment reader's list files on a real file system: the simulated
// machine natively, the Windows API under Wine. Whatever a list archive
// names its list file, nothing outside the work folder is touched and no
// device is opened.
#include <gtest/gtest.h>

#include "archive/set_reader.h"
#include "support/machine_under_test.h"
#include "support/set_writer.h"

namespace kav::archive {
namespace {

using testing::ArchiveFor;
using testing::ArchiveWriter;
using testing::BytesOf;
using testing::ListArchive;
using testing::SegmentSetWriter;
using testing::Stored;

class ListGuardTest : public ::testing::Test {
protected:
    void SetUp() override {
        machine = platform::testing::MakeMachineUnderTest();
        scratch = machine->Scratch();
        for (const char* dir : {"\\set", "\\a", "\\a\\b", "\\a\\b\\c", "\\a\\b\\c\\d", "\\out"}) {
            ASSERT_TRUE(Files().MakeDirectory(scratch + dir));
        }
    }
    platform::FileSystem& Files() { return machine->Get().Files(); }

    void WriteFile(const std::string& path, const std::string& text) {
        Files().Create(path)->WriteExactly(text.data(), text.size());
    }
    std::string ReadFile(const std::string& path) {
        auto file = Files().OpenRead(path);
        std::string text(static_cast<std::size_t>(file->Size()), '\0');
        text.resize(ReadFully(*file, text.data(), text.size()));
        return text;
    }

    // A one-archive set whose list file is stored under `listEntryName`.
    void WriteSet(const std::string& listEntryName) {
        ArchiveWriter archive;
        archive.Add(Stored("readme.txt", BytesOf("hello")));
        auto layout = ArchiveFor(scratch + "\\out\\main.arc", archive);
        layout.listArchive = ListArchive({"readme.txt"}, 64, true, ' ', listEntryName);
        SegmentSetWriter set;
        set.Add(layout);
        for (const auto& segment : set.SplitEvery(1 << 20)) {
            auto file = Files().Create(scratch + "\\set\\" + segment.name);
            file->WriteExactly(segment.bytes.data(), segment.bytes.size());
        }
    }

    // Expands the set with its work folder four levels down.
    void Expand() {
        TSegCompEZ reader(Files(), machine->gui);
        reader.SegPopUp = false;
        reader.SetSegBaseName("disk");
        reader.SetSegDir(scratch + "\\set");
        reader.SetSegTmpDir(scratch + "\\a\\b\\c\\d\\work");
        reader.ExpandAll();
    }

    std::unique_ptr<platform::testing::MachineUnderTest> machine;
    std::string scratch;
};

TEST_F(ListGuardTest, ForwardSlashesInTheListNameStayInTheWorkFolder) {
    // x/../../../../evil from the work folder is scratch\a\b\evil.
    WriteFile(scratch + "\\a\\b\\evil", "keep me");
    WriteSet("x/../../../../evil");
    Expand();
    EXPECT_EQ(ReadFile(scratch + "\\a\\b\\evil"), "keep me");
    EXPECT_EQ(ReadFile(scratch + "\\out\\readme.txt"), "hello");
    EXPECT_FALSE(Files().FileExists(scratch + "\\a\\b\\c\\d\\work\\evil"));
}

TEST_F(ListGuardTest, DeviceAndDotNamesAreRefusedAsListFiles) {
    for (const std::string name :
         {"NUL", "con.txt", "x\\COM1", "LPT9.lst", "CONOUT$", "..", "a/..", "list\x1b.txt"}) {
        SCOPED_TRACE(name);
        WriteSet(name);
        EXPECT_THROW(Expand(), ESegError);
        EXPECT_FALSE(Files().FileExists(scratch + "\\out\\readme.txt"));
    }
}

}  // namespace
}  // namespace kav::archive
