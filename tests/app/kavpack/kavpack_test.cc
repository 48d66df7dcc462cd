// kavpack build and verify on host folders: sets of every method, level and
// segment size read back byte for byte by the installer's readers (the
// kavset paths), names the installer could not place refused before
// anything is written, the script's Files list compared, and the output
// folder replaced only whole.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "app/kavpack/build_command.h"
#include "app/kavpack/init_command.h"
#include "app/kavpack/source_scan.h"
#include "app/kavpack/verify_command.h"
#include "archive/seg_records.h"
#include "base/profile_document.h"
#include "pack/pack_errors.h"
#include "support/set_writer.h"

namespace kav::app {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::string Noise(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string text(size, '\0');
    for (auto& c : text) c = static_cast<char>(random());
    return text;
}

std::string Lines(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += "line " + std::to_string(i * 7 % 1000) + " of the product's data file\r\n";
    }
    return text;
}

class KavpackTest : public ::testing::Test {
protected:
    void SetUp() override {
        top_ =
            fs::temp_directory_path() /
            ("kavpack-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(top_);
        source_ = top_ / "src";
        WriteFile(source_ / "install.cfg",
                  "[Files]\nFile1=readme.txt~<INSTALLDIR>\nFile2=big.dat~<INSTALLDIR>\n"
                  "File3=noise.bin~<INSTALLDIR>\nFile4=empty.txt~<INSTALLDIR>\n"
                  "File5=tool.exe~<INSTALLDIR>\n");
        WriteFile(source_ / "readme.txt", "Read me.\r\n");
        WriteFile(source_ / "data" / "big.dat", Lines(4000));
        WriteFile(source_ / "data" / "raw" / "noise.bin", Noise(30000, 1));
        WriteFile(source_ / "empty.txt", "");
        WriteFile(source_ / "bin" / "tool.exe", Lines(50) + Noise(5000, 2) + Lines(50));
        WriteFile(top_ / "install.exe", "MZ installer");
    }
    void TearDown() override { fs::remove_all(top_); }

    int Build(const fs::path& output, pack::PackOptions pack = {}) {
        BuildOptions options;
        options.source = source_;
        options.output = output;
        options.installer = top_ / "install.exe";
        options.uninstaller = uninstaller_;
        options.withUninstaller = withUninstaller_;
        options.pack = pack;
        out_.str("");
        err_.str("");
        return RunBuild(options, out_, err_);
    }

    int Verify(const fs::path& set, std::int32_t key = 0) {
        VerifyOptions options;
        options.set = set;
        options.against = source_;
        options.key = key;
        out_.str("");
        err_.str("");
        return RunVerify(options, out_, err_);
    }

    std::size_t Segments(const fs::path& set) {
        std::size_t count = 0;
        while (fs::exists(set / archive::SegmentFileName("disk", "", count + 1))) ++count;
        return count;
    }

    fs::path top_, source_, uninstaller_;
    bool withUninstaller_ = true;
    std::ostringstream out_, err_;
};

TEST_F(KavpackTest, EveryMethodLevelAndSegmentSizeReadsBackWhole) {
    // An empty file that sorts after every other: the last of its archive.
    WriteFile(source_ / "zero.log", "");
    const std::pair<std::uint8_t, pack::Level> codings[] = {
        {lzh::coLZH5, pack::Level::Fast},  {lzh::coLZH5, pack::Level::Normal},
        {lzh::coLZH5, pack::Level::Best},  {lzh::coLZH, pack::Level::Normal},
        {lzh::coRLE, pack::Level::Normal}, {lzh::coNone, pack::Level::Normal}};
    for (const auto& [method, level] : codings) {
        for (std::uint64_t segmentSize :
             {std::uint64_t{1}, std::uint64_t{20000}, std::uint64_t{1457664}}) {
            pack::PackOptions options;
            options.method = method;
            options.level = level;
            options.segmentSize = segmentSize;
            options.archiveSize = segmentSize == 20000 ? 10000 : 0;
            const fs::path set = top_ / "set";
            SCOPED_TRACE(std::to_string(method) + " " + std::to_string(segmentSize));
            ASSERT_EQ(Build(set, options), kPackSuccess) << err_.str();
            // 16384 is the smallest segment the format allows.
            for (std::size_t n = 1; n < Segments(set); ++n) {
                EXPECT_EQ(fs::file_size(set / archive::SegmentFileName("disk", "", n)),
                          std::max<std::uint64_t>(segmentSize, 16384));
            }
            if (segmentSize < 1457664) {
                EXPECT_GT(Segments(set), 1u);
            }
            EXPECT_EQ(Verify(set), kPackSuccess) << err_.str();
        }
    }
}

TEST_F(KavpackTest, LockedSetNeedsItsKey) {
    pack::PackOptions options;
    options.key = 0x5A17C3E1;
    ASSERT_EQ(Build(top_ / "set", options), kPackSuccess) << err_.str();
    EXPECT_EQ(Verify(top_ / "set", 0x5A17C3E1), kPackSuccess) << err_.str();
    EXPECT_EQ(Verify(top_ / "set", 0), kPackFailure);
}

TEST_F(KavpackTest, VerifyFindsAChangedSourceFile) {
    ASSERT_EQ(Build(top_ / "set"), kPackSuccess);
    WriteFile(source_ / "readme.txt", "Read me!\r\n");
    EXPECT_EQ(Verify(top_ / "set"), kPackFailure);
    EXPECT_NE(err_.str().find("readme.txt: differs"), std::string::npos) << err_.str();
}

TEST_F(KavpackTest, NamesTheInstallerCouldNotPlaceAreRefusedBeforeWriting) {
    WriteFile(source_ / "other" / "README.TXT", "a second readme");
    WriteFile(source_ / "con.txt", "a device");
    WriteFile(source_ / "\xE6\x97\xA5.txt", "not in code page 1252");
    WriteFile(source_ / "caf\xC3\xA9.txt", "in code page 1252");  // accepted
    // Windows drops trailing blanks and dots and refuses these characters.
    for (const char* name : {"sp ", "trail.", "dir. /x.txt", "q?.txt", "a*b", "say\"hi\"", "lt<",
                             "gt>", "pipe|", "del\x7F", "esc\x1B]0;title\x07",
                             "del\x7F"
                             "dir/x.txt"}) {
        WriteFile(source_ / name, "unplaceable");
    }
    EXPECT_EQ(Build(top_ / "set"), kPackFailure);
    const std::string err = err_.str();
    for (const char* name :
         {"sp : ends in a blank", "trail.: ends in a blank", "dir. /x.txt: ends in a blank",
          "q?.txt: holds", "a*b: holds", "say\"hi\": holds", "lt<: holds", "gt>: holds",
          "pipe|: holds", "del\\x7F: holds", "esc\\x1B]0;title\\x07: holds",
          "del\\x7F"
          "dir/x.txt: holds"}) {
        EXPECT_NE(err.find(name), std::string::npos) << name << "\n" << err;
    }
    EXPECT_NE(err.find("\"readme.txt\": same file name as \"other\\README.TXT\""),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("\"con.txt\": not a plain file name"), std::string::npos) << err;
    EXPECT_NE(err.find("\xE6\x97\xA5.txt: not representable"), std::string::npos) << err;
    EXPECT_EQ(err.find("caf"), std::string::npos) << err;
    // A name's control characters are spelled out, never sent as they are.
    EXPECT_EQ(err.find_first_of("\x07\x1B\x7F"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(top_ / "set"));
    EXPECT_EQ(std::distance(fs::directory_iterator(top_), fs::directory_iterator()), 2);
}

// A file that changes between the reading that codes it and the one that
// stores it fails the build instead of giving an entry whose checksum and
// data disagree. Each reading of the kernel's uuid file gives a new text
// of the same length (run-length coding does not shrink it, so it is
// stored too).
TEST_F(KavpackTest, AFileChangedWhilePackedFailsTheBuild) {
    const fs::path changing = "/proc/sys/kernel/random/uuid";
    if (!fs::exists(changing)) GTEST_SKIP() << "no " << changing;
    pack::PackFile file;
    file.hostPath = changing;
    file.storedName = "id.txt";
    file.size = 37;
    fs::create_directories(top_ / "work");
    for (std::uint8_t method : {lzh::coNone, lzh::coRLE}) {
        try {
            pack::WriteSegmentSet({file}, {.method = method}, top_ / "work");
            ADD_FAILURE() << "no error for method " << int(method);
        } catch (const pack::EPackError& error) {
            EXPECT_NE(std::string(error.what()).find("changed while the set was built"),
                      std::string::npos)
                << error.what();
        }
    }
}

// A folder that cannot be read is named in the error. The scan runs in a
// child without root's rights, which read every folder.
TEST_F(KavpackTest, AnUnreadableFolderIsNamed) {
    WriteFile(source_ / "locked" / "x.txt", "x");
    fs::permissions(source_ / "locked", fs::perms::none);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(3);
        try {
            ScanSourceFolder(source_);
        } catch (const std::exception& error) {
            const std::string text = error.what();
            ::_exit(text.find((source_ / "locked").string() + ": cannot be read") == 0 ? 0 : 1);
        }
        ::_exit(2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    fs::permissions(source_ / "locked", fs::perms::owner_all);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(KavpackTest, FilesListIsComparedWithTheFolder) {
    WriteFile(source_ / "install.cfg",
              "[Setup - Main]\nBitmap File=logo.gif\n[Files]\nFile1=readme.txt~<INSTALLDIR>\n"
              "File2=C:\\gone.dll~<INSTALLDIR>\n");
    WriteFile(source_ / "logo.gif", "GIF89a");
    WriteFile(source_ / "license.txt", "terms");
    ASSERT_EQ(Build(top_ / "set"), kPackSuccess) << err_.str();
    const std::string err = err_.str();
    EXPECT_NE(err.find("File2=C:\\gone.dll~<INSTALLDIR>: no such file in the set"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("data\\big.dat: no Files line"), std::string::npos) << err;
    EXPECT_EQ(err.find("readme.txt: no Files line"), std::string::npos) << err;
    // The picture and the licence are read by the installer itself.
    EXPECT_EQ(err.find("logo.gif: no Files line"), std::string::npos) << err;
    EXPECT_EQ(err.find("license.txt: no Files line"), std::string::npos) << err;
    // A header alone is no picture the installer could show.
    EXPECT_NE(err.find("Bitmap File=logo.gif: install.exe cannot show this picture"),
              std::string::npos)
        << err;
}

TEST_F(KavpackTest, TheUninstallerGoesIntoEverySetOnce) {
    uninstaller_ = top_ / "built" / "uninstaller.exe";
    WriteFile(uninstaller_, "MZ uninstaller");
    int sets = 0;
    // Builds a set, checks its file count and tells whether the missing
    // Files line was warned about.
    const auto build = [&](int files) {
        EXPECT_EQ(Build(top_ / ("set" + std::to_string(++sets))), kPackSuccess) << err_.str();
        EXPECT_EQ(out_.str().rfind(std::to_string(files) + " files,", 0), 0u) << out_.str();
        return err_.str().find("no Files line placing uninstaller.exe in <INSTALLDIR>") !=
               std::string::npos;
    };
    EXPECT_TRUE(build(6));
    WriteFile(source_ / "install.cfg", "[Files]\nFile1=UNINSTALLER.EXE~<installdir>\n");
    EXPECT_FALSE(build(6));
    // The added uninstaller is not a file the source folder lacks.
    EXPECT_EQ(Verify(top_ / ("set" + std::to_string(sets))), kPackSuccess) << err_.str();
    // One of the source's own travels instead.
    WriteFile(source_ / "uninstaller.exe", "MZ the product's own");
    EXPECT_FALSE(build(6));
    fs::remove(source_ / "uninstaller.exe");
    withUninstaller_ = false;
    EXPECT_FALSE(build(5));
    withUninstaller_ = true;
    uninstaller_ = top_ / "missing.exe";
    build(5);
    EXPECT_NE(err_.str().find("missing.exe not found"), std::string::npos) << err_.str();
}

TEST_F(KavpackTest, OutputFolderIsReplacedOnlyWhole) {
    const fs::path set = top_ / "set";
    ASSERT_EQ(Build(set, {.segmentSize = 16384}), kPackSuccess);
    const std::size_t smallSegments = Segments(set);
    ASSERT_GT(smallSegments, 1u);
    // A rebuild with one segment leaves none of the old ones behind.
    ASSERT_EQ(Build(set), kPackSuccess);
    EXPECT_EQ(Segments(set), 1u);
    EXPECT_EQ(Verify(set), kPackSuccess) << err_.str();

    WriteFile(set / "notes.txt", "someone's work");
    EXPECT_EQ(Build(set), kPackFailure);
    EXPECT_TRUE(fs::exists(set / "notes.txt"));

    fs::remove(source_ / "install.cfg");
    EXPECT_EQ(Build(top_ / "other"), kPackFailure);
    EXPECT_NE(err_.str().find("install.cfg: missing"), std::string::npos);
    EXPECT_FALSE(fs::exists(top_ / "other"));
}

// Work folders of a killed kavpack go with the next build; a file only
// named like a segment, and the source folder, are never replaced.
TEST_F(KavpackTest, LeftoversGoAndNoForeignFolderIsReplaced) {
    const fs::path set = top_ / "set";
    const fs::path dead = top_ / ".set.kavpack-new-999999999";
    const fs::path alive = top_ / ".set.kavpack-new-1";  // init runs
    WriteFile(dead / "disk.001", "half a set");
    WriteFile(alive / "disk.001", "another kavpack's work");
    ASSERT_EQ(Build(set), kPackSuccess) << err_.str();
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(alive));

    WriteFile(set / "disk.2024", "the user's own");
    EXPECT_EQ(Build(set), kPackFailure);
    EXPECT_TRUE(fs::exists(set / "disk.2024"));

    for (const fs::path& output : {source_, source_ / "set", top_}) {
        EXPECT_EQ(Build(output), kPackFailure) << output;
        EXPECT_NE(err_.str().find("the set goes elsewhere"), std::string::npos) << err_.str();
    }
    // A source holding nothing but its script looks like a set folder.
    const fs::path only = top_ / "only";
    WriteFile(only / "install.cfg", "[Files]\n");
    source_ = only;
    EXPECT_EQ(Build(only), kPackFailure);
    EXPECT_TRUE(fs::exists(only / "install.cfg"));
    EXPECT_FALSE(fs::exists(only / "disk.001"));
}

// The set's script says how many disks the set has; the source keeps its
// own text, and every other line of the script travels unchanged.
TEST_F(KavpackTest, TheSetsScriptStatesItsDiskCount) {
    const auto readText = [](const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const auto disksOf = [&](const fs::path& set) {
        return base::ProfileDocument(readText(set / "install.cfg"))
            .Read("Setup - Main", "Install Disks")
            .value_or("missing");
    };
    const std::string withKey =
        "; a product\r\n[Setup - Main]\r\nInstall Disks = 9\r\nHeader=Tool\r\n\r\n"
        "[Files]\r\nFile1=readme.txt~<INSTALLDIR>\r\n";
    WriteFile(source_ / "install.cfg", withKey);
    ASSERT_EQ(Build(top_ / "set", {.segmentSize = 16384}), kPackSuccess) << err_.str();
    const std::size_t segments = Segments(top_ / "set");
    ASSERT_GT(segments, 1u);
    EXPECT_EQ(disksOf(top_ / "set"), std::to_string(segments));
    std::string expected = withKey;
    expected.replace(expected.find("Install Disks = 9"), 17,
                     "Install Disks=" + std::to_string(segments));
    EXPECT_EQ(readText(top_ / "set" / "install.cfg"), expected);
    EXPECT_EQ(readText(source_ / "install.cfg"), withKey);
    EXPECT_EQ(Verify(top_ / "set"), kPackSuccess) << err_.str();

    // A script without the key, or without the section, gets them.
    for (const std::string& script :
         {std::string("[Setup - Main]\nHeader=Tool\n[Files]\nFile1=readme.txt~<INSTALLDIR>\n"),
          std::string("[Files]\nFile1=readme.txt~<INSTALLDIR>")}) {
        WriteFile(source_ / "install.cfg", script);
        ASSERT_EQ(Build(top_ / "set"), kPackSuccess) << err_.str();
        EXPECT_EQ(disksOf(top_ / "set"), "1") << script;
        EXPECT_EQ(readText(source_ / "install.cfg"), script);
        EXPECT_EQ(Verify(top_ / "set"), kPackSuccess) << err_.str();
        // A changed source script is still told apart from the set's.
        WriteFile(source_ / "install.cfg", script + "\n[Desktop]\n");
        EXPECT_EQ(Verify(top_ / "set"), kPackFailure);
        EXPECT_NE(err_.str().find("install.cfg differs"), std::string::npos) << err_.str();
    }
}

// A one-pixel 24-bit BMP file.
std::string OnePixelBmp() {
    const auto le = [](std::uint32_t value, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
        return out;
    };
    return "BM" + le(58, 4) + le(0, 4) + le(54, 4) + le(40, 4) + le(1, 4) + le(1, 4) + le(1, 2) +
           le(24, 2) + le(0, 4) + le(4, 4) + le(2835, 4) + le(2835, 4) + le(0, 4) + le(0, 4) +
           std::string("\x20\x40\x80\0", 4);
}

// kavpack init writes a script for the folder as it is: kavpack build packs
// it without a warning and the installer's default user gets every file at
// its place. An existing script is kept without --force; two files of one
// name are refused, naming both.
TEST_F(KavpackTest, InitScriptBuildsWithoutWarningAndInstallsEveryFileInPlace) {
    const char* build = std::getenv("KAV_BUILD_DIR");
    ASSERT_NE(build, nullptr);
    fs::remove(source_ / "install.cfg");
    WriteFile(source_ / "run.exe", "MZ the product");
    WriteFile(source_ / "license.txt", "Terms\r\nof use\r\n");
    WriteFile(source_ / "logo.bmp", OnePixelBmp());
    WriteFile(source_ / "data" / "raw" / "deep" / "more.txt", "deep down");
    uninstaller_ = top_ / "built" / "uninstaller.exe";
    WriteFile(uninstaller_, "MZ uninstaller");
    const auto init = [&](bool force) {
        out_.str("");
        err_.str("");
        InitOptions options;
        options.source = source_;
        options.title = "Tool 1.0";
        options.force = force;
        return RunInit(options, out_, err_);
    };
    ASSERT_EQ(init(false), kPackSuccess) << err_.str();
    ASSERT_EQ(Build(top_ / "set"), kPackSuccess) << err_.str();
    EXPECT_EQ(err_.str(), "");

    const fs::path root = top_ / "machine";
    const std::string command = "cd '" + (top_ / "set").string() + "' && '" + build +
                                "/src/app/kavsetup/kavsetup' --root '" + root.string() +
                                "' </dev/null >'" + (top_ / "kavsetup.out").string() + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const fs::path installed = root / "drive_c" / "Program Files" / "Tool 1.0";
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(source_)) {
        if (!entry.is_regular_file() || entry.path() == source_ / "install.cfg") continue;
        const fs::path relative = entry.path().lexically_relative(source_);
        std::ifstream a(entry.path(), std::ios::binary), b(installed / relative, std::ios::binary);
        EXPECT_TRUE(b.good()) << relative;
        EXPECT_TRUE(std::equal(std::istreambuf_iterator<char>(a), {},
                               std::istreambuf_iterator<char>(b), {}))
            << relative;
        ++files;
    }
    EXPECT_EQ(files, 9u);
    EXPECT_TRUE(fs::exists(installed / "uninstaller.exe"));

    // The script stays unless replacing it is asked for.
    WriteFile(source_ / "install.cfg", "[Setup - Main]\n");
    EXPECT_EQ(init(false), kPackFailure);
    EXPECT_NE(err_.str().find("exists"), std::string::npos) << err_.str();
    EXPECT_EQ(init(true), kPackSuccess) << err_.str();
    const std::string made = [&] {
        std::ifstream in(source_ / "install.cfg", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    EXPECT_NE(made.find("=more.txt~<SUB4><INSTALLDIR>\r\n"), std::string::npos) << made;
    EXPECT_NE(made.find("Dir5=<SUB4><INSTALLDIR>~data\\raw\\deep\r\n"), std::string::npos) << made;

    WriteFile(source_ / "other" / "README.TXT", "a second readme");
    EXPECT_EQ(init(true), kPackFailure);
    EXPECT_NE(err_.str().find("\"readme.txt\": same file name as \"other\\README.TXT\"; the "
                              "installer puts all files into one folder"),
              std::string::npos)
        << err_.str();
    EXPECT_EQ(made, [&] {
        std::ifstream in(source_ / "install.cfg", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }());

    // The installer reads a list however long it is: a folder of 1,500
    // files gets a line for each.
    fs::remove_all(source_ / "other");
    for (int i = 0; i < 1500; ++i)
        WriteFile(source_ / "many" / ("m" + std::to_string(i) + ".txt"), "");
    EXPECT_EQ(init(true), kPackSuccess) << err_.str();
    std::ifstream again(source_ / "install.cfg", std::ios::binary);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(again), {}).find("=m1499.txt~"),
              std::string::npos);
}

// A set of the test writer and one of kavpack with the same files expand
// to the same files through the installer's segment reader.
// The sizes of the archives of a set, walked through the logical stream
// of its segment files (each without its identification record), and the
// stream offset where each archive ends.
struct ArchiveSpan {
    std::int32_t size = 0;
    std::uint64_t end = 0;
};
std::vector<ArchiveSpan> ArchivesOf(const std::vector<fs::path>& segments) {
    std::string stream;
    for (const auto& segment : segments) {
        std::ifstream in(segment, std::ios::binary);
        stream += std::string(std::istreambuf_iterator<char>(in), {}).substr(8);
    }
    std::size_t at = 0;
    const auto take = [&](auto& record) {
        EXPECT_LE(at + record.bytes.size(), stream.size());
        if (at + record.bytes.size() > stream.size()) return false;
        std::memcpy(record.bytes.data(), stream.data() + at, record.bytes.size());
        at += record.bytes.size();
        return record.HasTag();
    };
    archive::TSegSetHeader set;
    if (!take(set)) return {};
    for (int i = 0; i < set.ArchiveCount(); ++i) {
        archive::TSegScanHeader scan;
        if (!take(scan)) return {};
        at += scan.TemplateLength() + static_cast<std::size_t>(scan.ListArchiveSize());
    }
    std::vector<ArchiveSpan> archives;
    for (int i = 0; i < set.ArchiveCount(); ++i) {
        archive::TSegArcHeader arc;
        if (!take(arc)) return {};
        at += static_cast<std::size_t>(arc.ArchiveSize());
        archives.push_back({arc.ArchiveSize(), at});
    }
    EXPECT_EQ(at, stream.size());
    return archives;
}

// --floppy lays the set out as disks, each within a floppy, the first
// holding the installer, the script and a first segment that fills the
// rest; --floppy-images makes FAT12 images of them. The picture comes in an
// archive of its own at the start of the first disk, and no archive is
// larger than a segment, so every disk's files are expanded as it is read.
// A set copied into one folder reads back whole, and a floppy set is
// replaced by the next build like any other.
TEST_F(KavpackTest, FloppiesHoldThePictureFirstAndArchivesDiskByDisk) {
    WriteFile(source_ / "install.cfg",
              "[Setup - Main]\nBitmap File=logo.bmp\n[Files]\nFile1=readme.txt~<INSTALLDIR>\n"
              "File2=big.dat~<INSTALLDIR>\nFile3=noise.bin~<INSTALLDIR>\n"
              "File4=empty.txt~<INSTALLDIR>\nFile5=tool.exe~<INSTALLDIR>\n"
              "File6=huge1.bin~<INSTALLDIR>\nFile7=huge2.bin~<INSTALLDIR>\n");
    WriteFile(source_ / "zz" / "logo.bmp", OnePixelBmp());
    WriteFile(source_ / "huge1.bin", Noise(1200000, 3));
    WriteFile(source_ / "huge2.bin", Noise(1200000, 5));
    WriteFile(top_ / "install.exe", "MZ" + Noise(600000, 4));
    BuildOptions options;
    options.source = source_;
    options.output = top_ / "set";
    options.installer = top_ / "install.exe";
    options.withUninstaller = false;
    options.floppy = true;
    options.floppyImages = true;
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(RunBuild(options, out_, err_), kPackSuccess) << err_.str();
    }
    const fs::path set = top_ / "set";
    const auto onFloppy = [](const fs::path& file) {
        return (fs::file_size(file) + 511) / 512 * 512;
    };
    std::vector<fs::path> segments;
    const fs::path together = top_ / "together";
    fs::create_directories(together);
    for (std::size_t n = 1; fs::exists(set / ("DISK" + std::to_string(n))); ++n) {
        const fs::path disk = set / ("DISK" + std::to_string(n));
        std::vector<std::string> names;
        std::uint64_t used = 0;
        for (const auto& entry : fs::directory_iterator(disk)) {
            names.push_back(entry.path().filename().string());
            used += onFloppy(entry.path());
            fs::copy_file(entry.path(), together / entry.path().filename());
        }
        std::sort(names.begin(), names.end());
        const std::string segment = archive::SegmentFileName("disk", "", n);
        segments.push_back(disk / segment);
        EXPECT_LE(used, 1457664u) << disk;
        if (n == 1) {
            EXPECT_EQ(names, (std::vector<std::string>{segment, "install.cfg", "install.exe"}));
            EXPECT_GT(used, 1457664u - 3 * 512) << "the first segment fills the first disk";
        } else {
            EXPECT_EQ(names, std::vector<std::string>{segment});
        }
        EXPECT_EQ(fs::file_size(set / ("DISK" + std::to_string(n) + ".IMG")), 1474560u);
    }
    ASSERT_GE(segments.size(), 3u);
    EXPECT_EQ(Verify(together), kPackSuccess) << err_.str();

    const std::vector<ArchiveSpan> archives = ArchivesOf(segments);
    ASSERT_GE(archives.size(), 3u);
    EXPECT_LT(archives[0].size, 200) << "the picture alone";
    EXPECT_LT(archives[0].end, fs::file_size(segments[0]));
    for (const auto& archive : archives) EXPECT_LE(archive.size, 1457664);

    // mtools reads the images back.
    const std::string list = top_.string() + "/mdir.txt";
    ASSERT_EQ(
        std::system(("mdir -i '" + (set / "DISK1.IMG").string() + "' :: > '" + list + "'").c_str()),
        0);
    std::ifstream in(list);
    const std::string shown(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(shown.find("install  exe"), std::string::npos) << shown;
    EXPECT_NE(shown.find("disk     001"), std::string::npos) << shown;
}

TEST_F(KavpackTest, ReadLikeTheTestWritersSets) {
    const std::string readme = "Read me.\r\n", big = Lines(4000);
    archive::testing::ArchiveWriter archive;
    archive.Add(archive::testing::Rle("readme.txt", archive::testing::BytesOf(readme)));
    archive.Add(archive::testing::Stored("data\\big.dat", archive::testing::BytesOf(big)));
    archive::testing::SegmentSetWriter writer;
    writer.Add(archive::testing::ArchiveFor("C:\\KAV\\PART1.ARC", archive));
    const fs::path written = top_ / "written";
    fs::create_directories(written);
    for (const auto& segment : writer.SplitEvery(16376)) {
        archive::testing::WriteHostFile((written / segment.name).string(), segment.bytes);
    }
    fs::copy_file(source_ / "install.cfg", written / "install.cfg");
    fs::copy_file(top_ / "install.exe", written / "install.exe");

    fs::remove_all(source_);
    WriteFile(source_ / "install.cfg", "");
    WriteFile(source_ / "readme.txt", readme);
    WriteFile(source_ / "data" / "big.dat", big);
    fs::copy_file(written / "install.cfg", source_ / "install.cfg",
                  fs::copy_options::overwrite_existing);
    ASSERT_EQ(Build(top_ / "packed", {.segmentSize = 16384}), kPackSuccess) << err_.str();
    EXPECT_EQ(Verify(top_ / "packed"), kPackSuccess) << err_.str();
    EXPECT_EQ(Verify(written), kPackSuccess) << err_.str();
}

}  // namespace
}  // namespace kav::app
