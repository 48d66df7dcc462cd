// How the simulated drives sit in the host folder.
#include "sim_fixture.h"

namespace kav::platform::testing {
namespace {

using SimDrives = SimFixture;

TEST_F(SimDrives, ConstructionMakesTheWindowsDirectories) {
    for (const char* dir : {"WINDOWS", "WINDOWS/System", "WINDOWS/Temp"}) {
        EXPECT_TRUE(std::filesystem::is_directory(Root() / "drive_c" / dir)) << dir;
    }
    EXPECT_EQ(M().Files().CurrentDirectory(), "C:\\");
    EXPECT_EQ(M().SystemDirs().WindowsDirectory(), "C:\\WINDOWS");
}

TEST_F(SimDrives, DriveLettersAreFoldersBelowTheRoot) {
    WriteFile("C:\\file.txt", "c");
    EXPECT_EQ(HostRead(Root() / "drive_c" / "file.txt"), "c");
    EXPECT_FALSE(std::filesystem::exists(Root() / "drive_a"));
    WriteFile("a:\\disk.001", "a");  // made on first use, any letter case
    EXPECT_EQ(HostRead(Root() / "drive_a" / "disk.001"), "a");
    ASSERT_TRUE(M().Files().ChangeDirectory("A:\\"));
    EXPECT_EQ(M().Files().CurrentDirectory(), "A:\\");
    EXPECT_TRUE(M().Files().FileExists("disk.001"));
    EXPECT_TRUE(M().Files().FreeSpace(1).has_value());
}

TEST_F(SimDrives, ComponentsResolveWithoutRegardToCaseAndNewOnesKeepTheirs) {
    std::filesystem::create_directories(Root() / "drive_c" / "Program Files" / "MiXed");
    HostWrite(Root() / "drive_c" / "Program Files" / "MiXed" / "Read.Me", "host");
    EXPECT_EQ(M().SimFiles().HostPathOf("c:\\PROGRAM FILES\\mixed\\read.me"),
              (Root() / "drive_c" / "Program Files" / "MiXed" / "Read.Me").string());
    ASSERT_TRUE(M().Files().MakeDirectory("C:\\PROGRAM FILES\\mixed\\NewDir"));
    EXPECT_TRUE(std::filesystem::is_directory(Root() / "drive_c/Program Files/MiXed/NewDir"));
}

TEST_F(SimDrives, DriveZIsTheHostFileSystem) {
    const auto host = Root() / "outside.txt";
    HostWrite(host, "from the host");
    std::string windowsName = "Z:" + host.string();
    for (char& c : windowsName) {
        if (c == '/') c = '\\';
    }
    ASSERT_TRUE(M().Files().FileExists(windowsName));
    auto stream = M().Files().OpenRead(windowsName);
    std::string text(13, '\0');
    EXPECT_EQ(stream->Read(text.data(), text.size()), 13u);
    EXPECT_EQ(text, "from the host");
    EXPECT_TRUE(M().Files().DirectoryExists("Z:\\"));
}

TEST_F(SimDrives, NamesWindowsRefusesAreNotCreated) {
    EXPECT_FALSE(M().Files().MakeDirectory("C:\\a|b"));
    EXPECT_THROW(M().Files().Create("C:\\what?.txt"), EFCreateError);
    EXPECT_THROW(M().Files().Create("\\\\server\\share\\x"), EFCreateError);
}

TEST_F(SimDrives, AttributesPersistAndTheArchiveBitCanBeCleared) {
    WriteFile("C:\\f.txt", "x");
    EXPECT_EQ(M().Files().GetAttributes("C:\\f.txt"), std::uint32_t{faArchive});
    ASSERT_TRUE(M().Files().SetAttributes("C:\\f.txt", faHidden | faReadOnly));
    Restart();
    EXPECT_EQ(M().Files().GetAttributes("C:\\F.TXT"), std::uint32_t{faHidden | faReadOnly});
    ASSERT_TRUE(M().Files().SetAttributes("C:\\f.txt", 0));
    EXPECT_EQ(M().Files().GetAttributes("C:\\f.txt"), std::uint32_t{faNormal});
    // Removing the file forgets its bits; a new file of the name is plain.
    ASSERT_TRUE(M().Files().SetAttributes("C:\\f.txt", faSysFile));
    ASSERT_TRUE(M().Files().RemoveFile("C:\\f.txt"));
    WriteFile("C:\\f.txt", "y");
    EXPECT_EQ(M().Files().GetAttributes("C:\\f.txt"), std::uint32_t{faArchive});
}

TEST_F(SimDrives, DatesNeedAWritableHandleAndAValidDate) {
    WriteFile("C:\\f.txt", "x");
    {
        auto reader = M().Files().OpenRead("C:\\f.txt");
        EXPECT_FALSE(reader->SetDosDateTime(0x2ACF6DAF));
    }
    auto writer = M().Files().Create("C:\\f.txt");
    EXPECT_FALSE(writer->SetDosDateTime(0x2BCF6DAF));  // month 14
    EXPECT_FALSE(writer->SetDosDateTime(0x2A5D6DAF));  // 29 February 2001
    EXPECT_TRUE(writer->SetDosDateTime(0x2A210000));   // 1 January 2001
}

}  // namespace
}  // namespace kav::platform::testing
