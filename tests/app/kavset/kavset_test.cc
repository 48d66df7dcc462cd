// kavset end to end: sets written by the test writer, unpacked by the real
// program, natively and (as kavset.exe) under Wine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "archive/seg_records.h"
#include "support/set_writer.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace kav::archive {
namespace {

namespace fs = std::filesystem;
using testing::ArchiveFor;
using testing::ArchiveWriter;
using testing::Bytes;
using testing::BytesOf;
using testing::ReadHostFile;
using testing::SegmentSetWriter;
using testing::Stored;
using testing::StreamLayout;
using testing::WriteHostFile;

std::string ProgramPath() {
    const char* build = std::getenv("KAV_BUILD_DIR");
    std::string path = std::string(build ? build : ".") + "/src/app/kavset/kavset";
#if defined(_WIN32)
    // The build directory is a host path; Wine shows the host as drive Z:.
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    path += ".exe";
#endif
    return fs::path(path).make_preferred().string();
}

struct Result {
    int status = -1;
    std::string out, err;
};

class KavsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kavset-test-" + std::to_string(std::rand()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "set");
        fs::create_directories(dir / "out");
    }
    void TearDown() override { fs::remove_all(dir); }

    Result Run(const std::string& arguments) {
        const std::string outFile = (dir / "stdout.txt").string();
        const std::string errFile = (dir / "stderr.txt").string();
#if defined(_WIN32)
        const std::string command = "\"\"" + ProgramPath() + "\" " + arguments + " <NUL >\"" +
                                    outFile + "\" 2>\"" + errFile + "\"\"";
#else
        const std::string command = "'" + ProgramPath() + "' " + arguments + " </dev/null >'" +
                                    outFile + "' 2>'" + errFile + "'";
#endif
        Result result;
        const int raw = std::system(command.c_str());
#if defined(_WIN32)
        result.status = raw;
#else
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
        result.out = Text(outFile);
        result.err = Text(errFile);
        return result;
    }
    static std::string Text(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string Q(const fs::path& path) { return "\"" + path.string() + "\""; }
    void Place(const std::vector<testing::SegmentFile>& segments, const fs::path& where) {
        for (const auto& s : segments) WriteHostFile((where / s.name).string(), s.bytes);
    }

    SegmentSetWriter MixedSet() {
        SegmentSetWriter set;
        set.Add(ArchiveFor("C:\\App\\main.arc",
                           ArchiveWriter()
                               .Add(Stored("readme.txt", BytesOf("read me\r\n")))
                               .Add(testing::Rle("big.bin", big))
                               .Add(testing::FromFixture("docs\\text.txt", "text.lh5"))));
        set.Add(ArchiveFor("C:\\App\\Data\\extra.arc",
                           ArchiveWriter().Add(testing::FromFixture("bin.dat", "binary.lh1")), 11));
        return set;
    }
    std::uint64_t Fnv(const fs::path& path) {
        return testing::Fnv1a64(ReadHostFile(path.string()));
    }

    Bytes big = [] {
        Bytes data(60000);
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<std::uint8_t>(i % 251 < 40 ? 7 : i * 7);
        return data;
    }();
    fs::path dir;
};

TEST_F(KavsetTest, ExtractsAMixedSegmentSetByteForByte) {
    Place(MixedSet().SplitEvery(20000), dir / "set");
    const Result r = Run("extract " + Q(dir / "set") + " -d " + Q(dir / "out"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadHostFile((dir / "out" / "readme.txt").string()), BytesOf("read me\r\n"));
    EXPECT_EQ(ReadHostFile((dir / "out" / "big.bin").string()), big);
    EXPECT_EQ(Fnv(dir / "out" / "docs" / "text.txt"), testing::FixtureManifest("text.lh5").fnv);
    EXPECT_EQ(Fnv(dir / "out" / "bin.dat"), testing::FixtureManifest("binary.lh1").fnv);

    const Result flat =
        Run("extract " + Q(dir / "set" / "disk.002") + " --flat -d " + Q(dir / "new" / "flat"));
    ASSERT_EQ(flat.status, 0) << flat.err;
    EXPECT_TRUE(fs::exists(dir / "new" / "flat" / "text.txt"));
    EXPECT_TRUE(fs::exists(dir / "new" / "flat" / "bin.dat"));
}

TEST_F(KavsetTest, ListsAndTestsWhatTheInstallerWouldExpand) {
    Place(MixedSet().SplitEvery(20000), dir / "set");
    const Result list = Run("list " + Q(dir / "set"));
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("  0 RLE      60000"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("  1 LZH      30000"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("docs\\text.txt"), std::string::npos);
    EXPECT_NE(list.out.find("total: 4 entries, 110009 bytes"), std::string::npos) << list.out;

    const Result test = Run("test " + Q(dir / "set"));
    EXPECT_EQ(test.status, 0) << test.err;
    EXPECT_NE(test.out.find("4 entries tested, 0 failed"), std::string::npos) << test.out;
}

// Two things other archivers' sets hold: an "-lh5-" member of zeros whose
// last match runs one byte past its size (which the byte sum cannot see),
// and an empty file after the last one with data.
TEST_F(KavsetTest, FilesComeOutAtTheirExactSizesEmptyOnesIncluded) {
    // A block of one literal 0, then a block of two 256-byte matches at
    // offset 0: 513 zeros for a file of 512.
    const Bytes overshooting = {0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                                0x00, 0x20, 0x00, 0x01, 0xFD, 0x00};
    SegmentSetWriter set;
    set.Add(ArchiveFor("C:\\App\\a.arc",
                       ArchiveWriter()
                           .Add(Stored("a.txt", BytesOf("abc")))
                           .Add(testing::Coded("zeros.bin", lzh::coLZH5, overshooting, 512, 0))
                           .Add(Stored("empty.txt", {}))));
    Place(set.SplitEvery(3000), dir / "set");
    const Result r = Run("extract " + Q(dir / "set") + " -d " + Q(dir / "out"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("3 files extracted"), std::string::npos) << r.out;
    EXPECT_EQ(ReadHostFile((dir / "out" / "zeros.bin").string()), Bytes(512, 0));
    ASSERT_TRUE(fs::exists(dir / "out" / "empty.txt"));
    EXPECT_EQ(fs::file_size(dir / "out" / "empty.txt"), 0u);

    const Result test = Run("test " + Q(dir / "set"));
    EXPECT_EQ(test.status, 0) << test.err;
    EXPECT_NE(test.out.find("3 entries tested, 0 failed"), std::string::npos) << test.out;
}

TEST_F(KavsetTest, DamagedSetEndsWithStatusTwoAndKeepsWhatWasWritten) {
    auto bad = testing::Rle("bad.bin", Bytes(5000, 9));
    bad.checksum = 1;
    SegmentSetWriter set;
    set.Add(ArchiveFor("C:\\App\\a.arc",
                       ArchiveWriter().Add(Stored("good.txt", BytesOf("ok"))).Add(bad)));
    Place(set.SplitEvery(3000), dir / "set");
    const Result r = Run("extract " + Q(dir / "set") + " -d " + Q(dir / "out"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("bad.bin: Bad checksum during expansion -- data may be invalid"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(fs::exists(dir / "out" / "good.txt"));

    const Result test = Run("test " + Q(dir / "set"));
    EXPECT_EQ(test.status, 2);
    EXPECT_NE(test.out.find("2 entries tested, 1 failed"), std::string::npos) << test.out;
}

TEST_F(KavsetTest, StoredNamesNeverWriteOutsideTheTarget) {
    WriteHostFile((dir / "set" / "a.arc").string(),
                  ArchiveWriter()
                      .Add(Stored("..\\..\\escape.txt", BytesOf("1")))
                      .Add(Stored("C:\\WINDOWS\\abs.txt", BytesOf("2")))
                      .Build());
    const Result r = Run("extract " + Q(dir / "set" / "a.arc") + " -d " + Q(dir / "out"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir / "out" / "escape.txt"));
    EXPECT_TRUE(fs::exists(dir / "out" / "WINDOWS" / "abs.txt"));
    EXPECT_FALSE(fs::exists(dir / "escape.txt"));
    EXPECT_NE(r.err.find("..\\..\\escape.txt"), std::string::npos) << r.err;
}

TEST_F(KavsetTest, OddNamesAreReplacedWithAWarningAndExtractionGoesOn) {
    WriteHostFile((dir / "set" / "a.arc").string(),
                  ArchiveWriter()
                      .Add(Stored("a?b*c.txt", BytesOf("1")))
                      .Add(Stored("d<e>f|g\"h.txt", BytesOf("2")))
                      .Add(Stored("ctl\x01x.txt", BytesOf("3")))
                      .Add(Stored("sub\\NUL.txt", BytesOf("4")))
                      .Add(Stored("\x1b]0;owned\x07\x7Flast.txt", BytesOf("5")))
                      .Build());
    const Result r = Run("extract " + Q(dir / "set" / "a.arc") + " -d " + Q(dir / "out"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadHostFile((dir / "out" / "a_b_c.txt").string()), BytesOf("1"));
    EXPECT_EQ(ReadHostFile((dir / "out" / "d_e_f_g_h.txt").string()), BytesOf("2"));
    EXPECT_EQ(ReadHostFile((dir / "out" / "ctl_x.txt").string()), BytesOf("3"));
    EXPECT_EQ(ReadHostFile((dir / "out" / "sub" / "_NUL.txt").string()), BytesOf("4"));
    EXPECT_EQ(ReadHostFile((dir / "out" / "_]0;owned__last.txt").string()), BytesOf("5"));
    EXPECT_NE(r.err.find("a?b*c.txt"), std::string::npos) << r.err;

    // Names reach the terminal with their control characters spelled out.
    const Result list = Run("list " + Q(dir / "set" / "a.arc"));
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
    EXPECT_NE(list.out.find("\\x1B]0;owned\\x07\\x7Flast.txt"), std::string::npos) << list.out;
}

TEST_F(KavsetTest, TestReportsDamageThatExpandsWithoutError) {
    // An archive cut inside its second entry's header.
    Bytes cut = ArchiveWriter()
                    .Add(Stored("one.txt", BytesOf("one")))
                    .Add(Stored("two.txt", BytesOf("two")))
                    .Build();
    cut.resize(cut.size() - 3 - 7 - 10);
    WriteHostFile((dir / "set" / "cut.arc").string(), cut);
    Result r = Run("test " + Q(dir / "set" / "cut.arc"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("archive 0: the archive is cut inside an entry header"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("counts 6 expanded bytes, its entries hold only 3"), std::string::npos)
        << r.err;
    // The entry that is there tests whole; the damage is the archive's.
    EXPECT_NE(r.out.find("1 entries tested, 0 failed, 2 problem(s)"), std::string::npos) << r.out;

    // A list file naming an entry the archive does not hold.
    auto layout =
        ArchiveFor("C:\\App\\a.arc", ArchiveWriter().Add(Stored("one.txt", BytesOf("1"))));
    layout.listNames.push_back("ghost.txt");
    Place(SegmentSetWriter().Add(layout).SplitEvery(1 << 20), dir / "set");
    r = Run("test " + Q(dir / "set"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("archive 0: listed file \"ghost.txt\" is not in the archive"),
              std::string::npos)
        << r.err;

    // An archive record with a negative size.
    StreamLayout where;
    SegmentSetWriter set;
    set.Add(ArchiveFor("C:\\App\\a.arc", ArchiveWriter().Add(Stored("one.txt", BytesOf("1")))));
    set.LogicalStream(&where);
    auto segments = set.SplitEvery(1 << 20);
    Bytes& bytes = segments.front().bytes;
    const std::size_t size = TSegIdHeader::kSize + where.archiveHeaders[0] + 12;
    for (std::size_t i = 0; i < 4; ++i) bytes[size + i] = 0xFF;
    Place(segments, dir / "set");
    r = Run("test " + Q(dir / "set"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Archive size -1 in archive record is negative"), std::string::npos)
        << r.err;
}

#if !defined(_WIN32)
TEST_F(KavsetTest, LinksInTheTargetAreNeverWrittenThrough) {
    fs::create_directories(dir / "outside");
    WriteHostFile((dir / "outside" / "file.txt").string(), BytesOf("outside"));
    fs::create_directory_symlink(dir / "outside", dir / "out" / "sub");
    fs::create_symlink(dir / "outside" / "file.txt", dir / "out" / "a.txt");
    fs::create_symlink(dir / "outside" / "new.txt", dir / "out" / "b.txt");
    WriteHostFile((dir / "set" / "a.arc").string(), ArchiveWriter()
                                                        .Add(Stored("sub\\x.txt", BytesOf("x")))
                                                        .Add(Stored("a.txt", BytesOf("a")))
                                                        .Add(Stored("b.txt", BytesOf("b")))
                                                        .Build());
    const Result r = Run("extract " + Q(dir / "set" / "a.arc") + " -d " + Q(dir / "out"));
    EXPECT_EQ(r.status, 3) << r.err;  // an entry was left out
    EXPECT_NE(r.err.find("sub\\x.txt\" would be written through a link"), std::string::npos)
        << r.err;
    EXPECT_EQ(ReadHostFile((dir / "outside" / "file.txt").string()), BytesOf("outside"));
    EXPECT_FALSE(fs::exists(dir / "outside" / "x.txt"));
    EXPECT_FALSE(fs::exists(dir / "outside" / "new.txt"));
    EXPECT_FALSE(fs::is_symlink(dir / "out" / "a.txt"));
    EXPECT_EQ(ReadHostFile((dir / "out" / "a.txt").string()), BytesOf("a"));
    EXPECT_EQ(ReadHostFile((dir / "out" / "b.txt").string()), BytesOf("b"));
}

TEST_F(KavsetTest, PipesAreRefusedNotWaitedOn) {
    ASSERT_EQ(::mkfifo((dir / "set" / "disk.001").c_str(), 0600), 0);
    Result r = Run("test " + Q(dir / "set"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("disk.001"), std::string::npos) << r.err;
    ASSERT_EQ(::mkfifo((dir / "set" / "a.arc").c_str(), 0600), 0);
    r = Run("list " + Q(dir / "set" / "a.arc"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("a.arc"), std::string::npos) << r.err;
}
#endif

TEST_F(KavsetTest, MissingSegmentIsLookedForInMediaDirectories) {
    const auto segments = MixedSet().SplitEvery(20000);
    fs::create_directories(dir / "floppy2");
    Place({segments.begin(), segments.begin() + 1}, dir / "set");
    Place({segments.begin() + 1, segments.end()}, dir / "floppy2");
    const Result missing = Run("test " + Q(dir / "set"));
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("segment 2 (disk.002) not found"), std::string::npos) << missing.err;

    const Result found = Run("test " + Q(dir / "set") + " --media " + Q(dir / "floppy2"));
    EXPECT_EQ(found.status, 0) << found.err;
}

// A segment cut short or emptied is named as damaged, not as missing; an
// extraction that leaves entries out, or finds their files already there,
// says so and does not end with status 0.
TEST_F(KavsetTest, MessagesNameWhatIsReallyWrong) {
    auto segments = MixedSet().SplitEvery(16384);
    ASSERT_GE(segments.size(), 3u);
    segments.front().bytes.resize(segments.front().bytes.size() - 5000);
    Place(segments, dir / "set");
    Result r = Run("test " + Q(dir / "set"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("segment 1 (disk.001) is shorter than the set says"), std::string::npos)
        << r.err;

    segments = MixedSet().SplitEvery(16384);
    segments[1].bytes.clear();
    Place(segments, dir / "set");
    r = Run("test " + Q(dir / "set"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("segment 2 (disk.002) in "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(" is damaged: the file is empty"), std::string::npos) << r.err;

    Place(MixedSet().SplitEvery(1 << 20), dir / "set");
    WriteHostFile((dir / "out" / "readme.txt").string(), BytesOf("the user's own"));
    r = Run("extract " + Q(dir / "set") + " -d " + Q(dir / "out"));
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("readme.txt exists; entry \"readme.txt\" skipped"), std::string::npos)
        << r.err;
    EXPECT_NE(r.out.find("3 files extracted, 1 skipped"), std::string::npos) << r.out;
    EXPECT_EQ(ReadHostFile((dir / "out" / "readme.txt").string()), BytesOf("the user's own"));
    r = Run("extract " + Q(dir / "set") + " -d " + Q(dir / "out") + " --overwrite");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadHostFile((dir / "out" / "readme.txt").string()), BytesOf("read me\r\n"));
}

TEST_F(KavsetTest, LockedEntriesNeedTheKey) {
    auto locked = testing::FromFixture("secret.txt", "text.lh5");
    locked.lockValue = 2;
    WriteHostFile((dir / "set" / "locked.arc").string(),
                  ArchiveWriter().Key(4242).Add(locked).Build());
    const Result without = Run("test " + Q(dir / "set" / "locked.arc"));
    EXPECT_EQ(without.status, 2);
    EXPECT_NE(without.err.find("secret.txt: File locked -- valid key required"), std::string::npos)
        << without.err;
    const Result with =
        Run("extract " + Q(dir / "set" / "locked.arc") + " --key 4242 -d " + Q(dir / "out"));
    ASSERT_EQ(with.status, 0) << with.err;
    EXPECT_EQ(Fnv(dir / "out" / "secret.txt"), locked.fnv);
}

TEST_F(KavsetTest, UsageErrorsEndWithStatusOne) {
    EXPECT_EQ(Run("").status, 1);
    EXPECT_EQ(Run("unpack x").status, 1);
    EXPECT_EQ(Run("test").status, 1);
    EXPECT_EQ(Run("test x --key nine").status, 1);
    EXPECT_EQ(Run("list " + Q(dir / "no-such-set")).status, 2);
}

}  // namespace
}  // namespace kav::archive
