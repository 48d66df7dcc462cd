// Files, directories, attributes, sharing and dates, on either machine.
#include <algorithm>

#include "conformance_fixture.h"
#include "platform/errors.h"

namespace kav::platform::testing {
namespace {

using FileSystemConformance = PlatformConformance;

std::vector<std::string> NamesOf(const std::vector<FoundFile>& found) {
    std::vector<std::string> names;
    for (const FoundFile& f : found) names.push_back(f.name);
    std::sort(names.begin(), names.end());
    return names;
}

const FoundFile* Entry(const std::vector<FoundFile>& found, const std::string& name) {
    for (const FoundFile& f : found) {
        if (f.name == name) return &f;
    }
    return nullptr;
}

TEST_F(FileSystemConformance, CreatedFileReadsBackAndCreateReplacesIt) {
    const std::string path = InScratch("data.bin");
    {
        auto stream = Files().Create(path);
        stream->WriteExactly("0123456789", 10);
        EXPECT_EQ(stream->Position(), 10);
        EXPECT_EQ(stream->Size(), 10);
        stream->Seek(2);
        char two[2] = {};
        EXPECT_EQ(stream->Read(two, 2), 2u);  // Create opens for reading too
        EXPECT_EQ(std::string(two, 2), "23");
    }
    {
        auto stream = Files().OpenRead(path);
        char buffer[16] = {};
        EXPECT_EQ(stream->Read(buffer, sizeof buffer), 10u);
        EXPECT_EQ(stream->Read(buffer, sizeof buffer), 0u);
        stream->Seek(100);
        EXPECT_EQ(stream->Read(buffer, sizeof buffer), 0u);
        EXPECT_THROW(stream->Seek(-1), EInOutError);
        EXPECT_THROW(stream->WriteExactly("x", 1), EWriteError);
    }
    WriteFile(path, "new");
    EXPECT_EQ(ReadFile(path), "new");
    WriteFile(path, "");
    EXPECT_EQ(ReadFile(path), "");
}

TEST_F(FileSystemConformance, NamesMatchWithoutRegardToCaseAndKeepTheirSpelling) {
    ASSERT_TRUE(Files().MakeDirectory(InScratch("Sub Dir")));
    WriteFile(InScratch("SUB DIR\\MixedCase.Txt"), "x");
    EXPECT_TRUE(Files().FileExists(InScratch("sub dir\\mixedcase.txt")));
    EXPECT_TRUE(Files().DirectoryExists(Upper(InScratch("sub dir"))));
    EXPECT_EQ(ReadFile(Upper(InScratch("sub dir\\mixedcase.txt"))), "x");
    EXPECT_EQ(NamesOf(Files().FindFiles(InScratch("sub dir\\*.txt"), faAnyFile)),
              std::vector<std::string>{"MixedCase.Txt"});
    // Replacing through another spelling keeps one file.
    WriteFile(InScratch("sub dir\\MIXEDCASE.TXT"), "y");
    EXPECT_EQ(NamesOf(Files().FindFiles(InScratch("Sub Dir\\*.*"), 0)),
              std::vector<std::string>{"MixedCase.Txt"});
}

TEST_F(FileSystemConformance, ExistenceTellsFilesFromDirectories) {
    WriteFile(InScratch("f.txt"), "x");
    EXPECT_TRUE(Files().FileExists(InScratch("f.txt")));
    EXPECT_FALSE(Files().DirectoryExists(InScratch("f.txt")));
    EXPECT_TRUE(Files().DirectoryExists(Scratch()));
    EXPECT_FALSE(Files().FileExists(Scratch()));
    EXPECT_TRUE(Files().DirectoryExists("C:\\"));
    EXPECT_TRUE(Files().DirectoryExists(Scratch() + "\\"));
    EXPECT_FALSE(Files().FileExists(InScratch("missing.txt")));
    EXPECT_FALSE(Files().DirectoryExists(InScratch("missing")));
    EXPECT_FALSE(Files().FileExists(InScratch("missing\\f.txt")));
}

TEST_F(FileSystemConformance, DirectoriesAreMadeOneLevelAtATimeAndRemovedWhenEmpty) {
    EXPECT_FALSE(Files().MakeDirectory(InScratch("a\\b")));  // parent missing
    EXPECT_TRUE(Files().MakeDirectory(InScratch("a")));
    EXPECT_FALSE(Files().MakeDirectory(InScratch("a")));  // exists
    EXPECT_TRUE(Files().MakeDirectory(InScratch("a\\b")));
    WriteFile(InScratch("f"), "x");
    EXPECT_FALSE(Files().MakeDirectory(InScratch("f")));  // a file has the name

    EXPECT_FALSE(Files().RemoveEmptyDirectory(InScratch("a")));  // not empty
    EXPECT_TRUE(Files().DirectoryExists(InScratch("a\\b")));
    EXPECT_FALSE(Files().RemoveEmptyDirectory(InScratch("f")));  // a file
    EXPECT_TRUE(Files().RemoveEmptyDirectory(InScratch("a\\b")));
    EXPECT_TRUE(Files().RemoveEmptyDirectory(InScratch("a")));
    EXPECT_FALSE(Files().DirectoryExists(InScratch("a")));
    EXPECT_FALSE(Files().RemoveEmptyDirectory(InScratch("a")));  // gone
}

TEST_F(FileSystemConformance, RemoveFileRefusesReadOnlyFilesDirectoriesAndOpenFiles) {
    const std::string path = InScratch("f.txt");
    WriteFile(path, "x");
    ASSERT_TRUE(Files().SetAttributes(path, faReadOnly));
    EXPECT_FALSE(Files().RemoveFile(path));
    EXPECT_TRUE(Files().FileExists(path));
    ASSERT_TRUE(Files().SetAttributes(path, faNormal));
    {
        auto open = Files().OpenRead(path);
        EXPECT_FALSE(Files().RemoveFile(path));
    }
    EXPECT_TRUE(Files().RemoveFile(path));
    EXPECT_FALSE(Files().FileExists(path));
    EXPECT_FALSE(Files().RemoveFile(path));
    ASSERT_TRUE(Files().MakeDirectory(InScratch("d")));
    EXPECT_FALSE(Files().RemoveFile(InScratch("d")));
    EXPECT_TRUE(Files().DirectoryExists(InScratch("d")));
}

TEST_F(FileSystemConformance, MoveOntoReplacesButMoveToNewRefusesAnyExistingName) {
    const std::string a = InScratch("a.txt");
    const std::string b = InScratch("b.txt");
    WriteFile(a, "first");
    WriteFile(b, "second");
    // A name of another case is the same name.
    EXPECT_FALSE(Files().MoveToNew(a, Upper(b)));
    EXPECT_EQ(ReadFile(a), "first");
    EXPECT_EQ(ReadFile(b), "second");
    ASSERT_TRUE(Files().MakeDirectory(InScratch("d")));
    EXPECT_FALSE(Files().MoveToNew(a, InScratch("D")));
    EXPECT_FALSE(Files().MoveToNew(a, InScratch("missing\\a.txt")));
    EXPECT_FALSE(Files().MoveToNew(InScratch("none.txt"), InScratch("new.txt")));
    EXPECT_FALSE(Files().FileExists(InScratch("new.txt")));

    EXPECT_TRUE(Files().MoveToNew(a, InScratch("d\\New.txt")));
    EXPECT_FALSE(Files().FileExists(a));
    EXPECT_EQ(ReadFile(InScratch("d\\new.txt")), "first");
    EXPECT_EQ(NamesOf(Files().FindFiles(InScratch("d\\*.*"), faAnyFile & ~faDirectory)),
              std::vector<std::string>{"New.txt"});

    EXPECT_TRUE(Files().MoveOnto(b, InScratch("d\\new.txt")));
    EXPECT_FALSE(Files().FileExists(b));
    EXPECT_EQ(ReadFile(InScratch("d\\new.txt")), "second");
}

TEST_F(FileSystemConformance, AttributesRoundTrip) {
    const std::string path = InScratch("f.txt");
    WriteFile(path, "x");
    const std::uint32_t special = faReadOnly | faHidden | faSysFile | faDirectory;
    ASSERT_TRUE(Files().GetAttributes(path).has_value());
    EXPECT_EQ(*Files().GetAttributes(path) & special, 0u);

    ASSERT_TRUE(Files().SetAttributes(path, faHidden | faSysFile));
    EXPECT_EQ(*Files().GetAttributes(path) & special, std::uint32_t{faHidden | faSysFile});
    ASSERT_TRUE(Files().SetAttributes(path, faReadOnly | faArchive));
    EXPECT_EQ(*Files().GetAttributes(path) & (special | faArchive),
              std::uint32_t{faReadOnly | faArchive});
    ASSERT_TRUE(Files().SetAttributes(path, faNormal));
    EXPECT_EQ(*Files().GetAttributes(path) & special, 0u);

    // Through the file while it is being written: what its name shows after.
    const std::string made = InScratch("g.txt");
    {
        const auto stream = Files().Create(made);
        stream->WriteExactly("x", 1);
        EXPECT_TRUE(stream->SetAttributes(faReadOnly | faHidden | faArchive));
    }
    EXPECT_EQ(*Files().GetAttributes(made) & (special | faArchive),
              std::uint32_t{faReadOnly | faHidden | faArchive});
    ASSERT_TRUE(Files().SetAttributes(made, faNormal));

    const std::string dir = InScratch("d");
    ASSERT_TRUE(Files().MakeDirectory(dir));
    EXPECT_EQ(*Files().GetAttributes(dir) & special, std::uint32_t{faDirectory});
    ASSERT_TRUE(Files().SetAttributes(dir, faHidden));
    EXPECT_EQ(*Files().GetAttributes(dir) & special, std::uint32_t{faDirectory | faHidden});
    ASSERT_TRUE(Files().SetAttributes(dir, 0));
    EXPECT_EQ(*Files().GetAttributes(dir) & special, std::uint32_t{faDirectory});

    EXPECT_FALSE(Files().GetAttributes(InScratch("missing")).has_value());
    EXPECT_FALSE(Files().SetAttributes(InScratch("missing"), faHidden));
}

TEST_F(FileSystemConformance, OpenAndCreateFailuresNameThePathAsGiven) {
    const std::string missing = InScratch("missing.txt");
    try {
        Files().OpenRead(missing);
        ADD_FAILURE() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
    }
    EXPECT_THROW(Files().OpenReadExclusive(missing), EFOpenError);
    EXPECT_THROW(Files().OpenRead(Scratch()), EFOpenError);

    const std::string nowhere = InScratch("no dir\\f.txt");
    try {
        Files().Create(nowhere);
        ADD_FAILURE() << "created a file in a missing directory";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + nowhere);
    }
    EXPECT_THROW(Files().Create(Scratch()), EFCreateError);

    const std::string readOnly = InScratch("ro.txt");
    WriteFile(readOnly, "keep");
    ASSERT_TRUE(Files().SetAttributes(readOnly, faReadOnly));
    EXPECT_THROW(Files().Create(readOnly), EFCreateError);
    ASSERT_TRUE(Files().SetAttributes(readOnly, faNormal));
    EXPECT_EQ(ReadFile(readOnly), "keep");
}

TEST_F(FileSystemConformance, SharingFollowsTheOpenModes) {
    const std::string path = InScratch("shared.txt");
    WriteFile(path, "abc");
    {
        auto first = Files().OpenRead(path);
        auto second = Files().OpenRead(path);  // readers share
        EXPECT_THROW(Files().OpenReadExclusive(path), EFOpenError);
        EXPECT_THROW(Files().Create(path), EFCreateError);
    }
    {
        auto exclusive = Files().OpenReadExclusive(path);
        EXPECT_THROW(Files().OpenRead(path), EFOpenError);
        EXPECT_THROW(Files().OpenReadExclusive(path), EFOpenError);
        EXPECT_THROW(Files().Create(path), EFCreateError);
    }
    {
        auto writer = Files().Create(path);
        EXPECT_THROW(Files().OpenRead(path), EFOpenError);
        EXPECT_THROW(Files().OpenReadExclusive(Upper(path)), EFOpenError);
    }
    auto again = Files().OpenReadExclusive(path);  // every handle was released
    EXPECT_EQ(again->Size(), 0);
}

TEST_F(FileSystemConformance, DosDateSetThroughTheStreamIsTheFileDate) {
    const std::string path = InScratch("dated.txt");
    // 2001-06-15 13:45:30 and 1999-12-31 23:59:58, local time.
    for (const std::uint32_t date : {0x2ACF6DAFu, 0x279FBF7Du}) {
        {
            auto stream = Files().Create(path);
            stream->WriteExactly("x", 1);
            EXPECT_TRUE(stream->SetDosDateTime(date));
        }
        ASSERT_TRUE(Files().GetDosDateTime(path).has_value());
        EXPECT_EQ(*Files().GetDosDateTime(path), date);
    }
    EXPECT_FALSE(Files().GetDosDateTime(InScratch("missing")).has_value());
}

TEST_F(FileSystemConformance, FindFilesListsMatchingEntriesByAttributes) {
    WriteFile(InScratch("a.txt"), "12345");
    WriteFile(InScratch("b.dat"), "");
    WriteFile(InScratch("h.txt"), "");
    WriteFile(InScratch("noext"), "");
    ASSERT_TRUE(Files().SetAttributes(InScratch("h.txt"), faHidden));
    ASSERT_TRUE(Files().MakeDirectory(InScratch("sub")));

    const auto all = Files().FindFiles(InScratch("*.*"), faAnyFile);
    EXPECT_EQ(NamesOf(all),
              (std::vector<std::string>{".", "..", "a.txt", "b.dat", "h.txt", "noext", "sub"}));
    ASSERT_NE(Entry(all, "a.txt"), nullptr);
    EXPECT_EQ(Entry(all, "a.txt")->size, 5);
    EXPECT_EQ(Entry(all, "a.txt")->attributes & faDirectory, 0u);
    ASSERT_NE(Entry(all, "sub"), nullptr);
    EXPECT_NE(Entry(all, "sub")->attributes & faDirectory, 0u);
    ASSERT_NE(Entry(all, "."), nullptr);
    EXPECT_NE(Entry(all, ".")->attributes & faDirectory, 0u);

    EXPECT_EQ(NamesOf(Files().FindFiles(InScratch("*.*"), 0)),
              (std::vector<std::string>{"a.txt", "b.dat", "noext"}));
    EXPECT_EQ(NamesOf(Files().FindFiles(InScratch("*.txt"), faHidden)),
              (std::vector<std::string>{"a.txt", "h.txt"}));
    EXPECT_EQ(NamesOf(Files().FindFiles(InScratch("?.DAT"), 0)), std::vector<std::string>{"b.dat"});
    EXPECT_EQ(NamesOf(Files().FindFiles(InScratch("NoExt.*"), 0)),
              std::vector<std::string>{"noext"});
    EXPECT_EQ(NamesOf(Files().FindFiles(InScratch("a.txt"), 0)), std::vector<std::string>{"a.txt"});
    EXPECT_TRUE(Files().FindFiles(InScratch("*.none"), faAnyFile).empty());
    EXPECT_TRUE(Files().FindFiles(InScratch("missing\\*.*"), faAnyFile).empty());

    const auto root = Files().FindFiles("C:\\*.*", faAnyFile);
    EXPECT_EQ(Entry(root, "."), nullptr);  // a drive root has no "." entry
    EXPECT_NE(Entry(root, "kavtest"), nullptr);
}

TEST_F(FileSystemConformance, CurrentDirectoryResolvesRelativeNames) {
    EXPECT_FALSE(Files().ChangeDirectory(InScratch("missing")));
    ASSERT_TRUE(Files().MakeDirectory(InScratch("sub")));
    WriteFile(InScratch("sub\\f.txt"), "rel");

    ASSERT_TRUE(Files().ChangeDirectory(Upper(InScratch("sub")) + "\\"));
    EXPECT_EQ(Upper(Files().CurrentDirectory()), Upper(InScratch("sub")));
    EXPECT_TRUE(Files().FileExists("f.txt"));
    EXPECT_EQ(ReadFile("f.txt"), "rel");
    EXPECT_EQ(Upper(Files().FullPathName("f.txt")), Upper(InScratch("sub\\f.txt")));
    EXPECT_EQ(Upper(Files().FullPathName("..\\x")), Upper(InScratch("x")));
    EXPECT_EQ(Files().FullPathName("\\x"), "C:\\x");

    EXPECT_FALSE(Files().ChangeDirectory(InScratch("f.txt")));
    EXPECT_EQ(Upper(Files().CurrentDirectory()), Upper(InScratch("sub")));  // unchanged

    ASSERT_TRUE(Files().ChangeDirectory("C:\\"));
    EXPECT_EQ(Files().CurrentDirectory(), "C:\\");
}

TEST_F(FileSystemConformance, FullPathNameFoldsDotsAndSeparators) {
    EXPECT_EQ(Files().FullPathName("C:\\a\\b\\..\\c"), "C:\\a\\c");
    EXPECT_EQ(Files().FullPathName("C:\\a\\.\\b\\"), "C:\\a\\b\\");
    EXPECT_EQ(Files().FullPathName("C:/a/b"), "C:\\a\\b");
    EXPECT_EQ(Files().FullPathName("C:\\a\\\\b"), "C:\\a\\b");
    EXPECT_EQ(Files().FullPathName("C:\\..\\x"), "C:\\x");
    EXPECT_EQ(Files().FullPathName("C:\\a\\b."), "C:\\a\\b");
    EXPECT_EQ(Files().FullPathName("C:\\"), "C:\\");
}

TEST_F(FileSystemConformance, FreeSpaceOfTheCurrentAndANamedDrive) {
    ASSERT_TRUE(Files().ChangeDirectory(Scratch()));
    const auto current = Files().FreeSpace(0);
    const auto driveC = Files().FreeSpace(3);
    ASSERT_TRUE(current.has_value());
    ASSERT_TRUE(driveC.has_value());
    EXPECT_GT(*driveC, 0u);
    EXPECT_FALSE(Files().FreeSpace(27).has_value());
}

TEST_F(FileSystemConformance, DrivesListTheSystemDriveAsFixedInLetterOrder) {
    const std::vector<DriveInfo> drives = Files().Drives();
    ASSERT_FALSE(drives.empty());
    const auto c = std::find_if(drives.begin(), drives.end(),
                                [](const DriveInfo& d) { return d.letter == 'C'; });
    ASSERT_NE(c, drives.end());
    EXPECT_EQ(c->kind, DriveKind::Fixed);
    EXPECT_TRUE(
        std::is_sorted(drives.begin(), drives.end(),
                       [](const DriveInfo& a, const DriveInfo& b) { return a.letter < b.letter; }));
    for (const DriveInfo& d : drives) EXPECT_TRUE(d.letter >= 'A' && d.letter <= 'Z');
}

TEST_F(FileSystemConformance, SubDirectoriesLeaveOutFilesAndDotsAndSortIgnoringCase) {
    ASSERT_TRUE(Files().MakeDirectory(InScratch("beta")));
    ASSERT_TRUE(Files().MakeDirectory(InScratch("Alpha")));
    ASSERT_TRUE(Files().MakeDirectory(InScratch("gamma")));
    ASSERT_TRUE(Files().SetAttributes(InScratch("gamma"), faHidden));
    Files().Create(InScratch("afile.txt"));
    EXPECT_EQ(Files().SubDirectories(Scratch()),
              (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_EQ(Files().SubDirectories(Scratch() + "\\"),
              (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    EXPECT_TRUE(Files().SubDirectories(InScratch("missing")).empty());
    EXPECT_TRUE(Files().SubDirectories(InScratch("beta")).empty());
}

}  // namespace
}  // namespace kav::platform::testing
