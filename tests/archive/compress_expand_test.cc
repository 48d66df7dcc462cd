// Expansion of compressed archives into files.
#include <gtest/gtest.h>

#include "archive/compress.h"
#include "platform/errors.h"
#include "support/memory_file_system.h"
#include "support/set_writer.h"

namespace kav::archive {
namespace {

using testing::ArchiveWriter;
using testing::Bytes;
using testing::BytesOf;
using testing::EntrySpec;
using testing::MemoryFileSystem;
using testing::Stored;

Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(seed + (i / 7) * 13);
    return data;
}

class ExpandTest : public ::testing::Test {
protected:
    void SetUp() override {
        files.AddDirectory("C:\\out");
        compress.SetTargetPath("C:\\out");
    }
    void Expand(const ArchiveWriter& writer, std::vector<std::string>* names = nullptr) {
        files.AddFile("C:\\in\\a.arc", writer.Build());
        compress.ExpandArchive("C:\\in\\a.arc", names);
    }
    const Bytes& Out(const std::string& name) { return files.At("C:\\out\\" + name).bytes; }

    MemoryFileSystem files;
    TCompress compress{files};
};

TEST_F(ExpandTest, EveryMethodExpandsByteForByteWithDateAndAttributes) {
    const Bytes text = Pattern(5000, 3);
    Bytes runs(3000, 0x94);
    runs.resize(3700, 'A');
    runs.push_back(0x94);
    auto stored = Stored("stored.txt", text);
    stored.attributes = 0x01;
    stored.fileDate = 0x2C215A8F;
    Expand(ArchiveWriter()
               .Add(stored)
               .Add(testing::Rle("runs.bin", runs))
               .Add(testing::FromFixture("mixed5.bin", "mixed.lh5"))
               .Add(testing::FromFixture("mixed1.bin", "mixed.lh1")));
    EXPECT_EQ(Out("stored.txt"), text);
    EXPECT_EQ(files.At("C:\\out\\stored.txt").attributes, 0x01u);
    EXPECT_EQ(files.At("C:\\out\\stored.txt").dosDateTime, 0x2C215A8Fu);
    EXPECT_EQ(Out("runs.bin"), runs);
    const auto manifest = testing::FixtureManifest("mixed.lh5");
    EXPECT_EQ(testing::Fnv1a64(Out("mixed5.bin")), manifest.fnv);
    EXPECT_EQ(testing::Fnv1a64(Out("mixed1.bin")), manifest.fnv);
    EXPECT_EQ(files.OpenHandles(), 0);
}

// Empty files add nothing to the header's total, so reaching it ends the
// archive only at an entry with data: empty ones, coded or stored, are
// files wherever they stand.
TEST_F(ExpandTest, EmptyFilesAreExpandedAndOnlyDataPastTheTotalEndsTheArchive) {
    Expand(ArchiveWriter().Add(Stored("e1", {})).Add(testing::FromFixture("e2", "empty.lh5")));
    ASSERT_TRUE(files.Has("C:\\out\\e1"));
    ASSERT_TRUE(files.Has("C:\\out\\e2"));
    EXPECT_TRUE(Out("e1").empty());
    EXPECT_TRUE(Out("e2").empty());

    std::vector<std::string> names = {"full", "after", "beyond"};
    Expand(ArchiveWriter()
               .Total(10)
               .Add(Stored("full", Bytes(10, 1)))
               .Add(testing::FromFixture("after", "empty.lh1"))
               .Add(Stored("beyond", Bytes(3, 2))),
           &names);
    EXPECT_EQ(names, (std::vector<std::string>{"C:\\out\\full", "C:\\out\\after"}));
    ASSERT_TRUE(files.Has("C:\\out\\after"));
    EXPECT_TRUE(Out("after").empty());
    EXPECT_FALSE(files.Has("C:\\out\\beyond"));
}

// The jLHA streams of files just around the window and block sizes, as
// another archiver's members of one archive (the empty ones last), give
// files of exactly their sizes and content.
TEST_F(ExpandTest, JlhaMembersAroundEveryBoundaryExpandToTheirExactSizes) {
    std::vector<std::string> streams;
    for (const char* sample : {"one_byte", "edge_2", "edge_3", "edge_4095", "edge_4096",
                               "edge_4097", "edge_8191", "exact_8192", "exact_8193", "edge_8194",
                               "edge_16383", "edge_16384", "edge_16385", "empty"}) {
        for (const char* method : {".lh5", ".lh1"}) streams.push_back(sample + std::string(method));
    }
    ArchiveWriter writer;
    for (const auto& stream : streams) writer.Add(testing::FromFixture(stream, stream));
    Expand(writer);
    for (const auto& stream : streams) {
        SCOPED_TRACE(stream);
        const auto manifest = testing::FixtureManifest(stream);
        ASSERT_TRUE(files.Has("C:\\out\\" + stream));
        EXPECT_EQ(Out(stream).size(), static_cast<std::size_t>(manifest.size));
        EXPECT_EQ(testing::Fnv1a64(Out(stream)), manifest.fnv);
    }
}

TEST_F(ExpandTest, NameListSelectsIgnoringCaseAndReturnsOutputPaths) {
    const auto writer = ArchiveWriter()
                            .Add(Stored("One.txt", Bytes(5, 1)))
                            .Add(Stored("two.txt", Bytes(5, 2)))
                            .Add(Stored("\\abs\\three.txt", Bytes(5, 3)));
    files.AddDirectory("C:\\abs");
    std::vector<std::string> names = {"ONE.TXT", "\\ABS\\THREE.TXT"};
    Expand(writer, &names);
    EXPECT_EQ(names, (std::vector<std::string>{"C:\\out\\One.txt", "\\abs\\three.txt"}));
    EXPECT_FALSE(files.Has("C:\\out\\two.txt"));
    EXPECT_TRUE(files.Has("C:\\abs\\three.txt"));

    std::vector<std::string> none;
    Expand(writer, &none);
    EXPECT_TRUE(none.empty());
}

TEST_F(ExpandTest, TargetPathGetsOneFinalBackslash) {
    compress.SetTargetPath("C:\\x");
    EXPECT_EQ(compress.TargetPath(), "C:\\x\\");
    compress.SetTargetPath("C:\\x\\");
    EXPECT_EQ(compress.TargetPath(), "C:\\x\\");
    compress.SetTargetPath("");
    EXPECT_EQ(compress.TargetPath(), "");
}

TEST_F(ExpandTest, CheckFileRedirectsSkipsAndStops) {
    std::vector<std::string> seen;
    compress.OnCheckFile = [&](std::string& path, TCProcessMode mode) {
        EXPECT_EQ(mode, cpExpand);
        seen.push_back(path);
        if (path.ends_with("skip")) path.clear();
        if (path.ends_with("moved")) path = "C:\\out\\elsewhere";
        if (path.ends_with("stop")) path = "*";
    };
    std::vector<std::string> names = {"skip", "moved", "stop", "never"};
    Expand(ArchiveWriter()
               .Add(Stored("skip", Bytes(3, 1)))
               .Add(Stored("moved", Bytes(3, 2)))
               .Add(Stored("stop", Bytes(3, 3)))
               .Add(Stored("never", Bytes(3, 4))),
           &names);
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(names, std::vector<std::string>{"C:\\out\\elsewhere"});
    EXPECT_EQ(Out("elsewhere"), Bytes(3, 2));
    EXPECT_FALSE(files.Has("C:\\out\\skip"));
}

TEST_F(ExpandTest, StoredEntriesCheckAFilledChecksumAndNeedNoKey) {
    auto unfilled = Stored("unfilled", Bytes(4, 9));
    unfilled.checksum = 0;
    auto locked = Stored("locked", Bytes(4, 8));
    locked.lockValue = 2;
    Expand(ArchiveWriter().Key(0x01020304).Add(unfilled).Add(locked));
    EXPECT_EQ(Out("unfilled"), Bytes(4, 9));
    EXPECT_EQ(Out("locked"), Bytes(4, 8));

    auto flipped = Stored("flipped", Bytes(4, 9));
    flipped.data[2] ^= 0x10;
    EXPECT_THROW(Expand(ArchiveWriter().Add(flipped)), EBadChecksum);
    auto wrong = Stored("wrong", Bytes(4, 9));
    wrong.checksum = 12345;
    EXPECT_THROW(Expand(ArchiveWriter().Add(wrong)), EBadChecksum);
    compress.Key = 0x01020304;
    EXPECT_THROW(Expand(ArchiveWriter().Key(0x01020304).Add(flipped)), EBadChecksum);
    Expand(ArchiveWriter().Key(0x01020304).Add(locked));
    EXPECT_EQ(Out("locked"), Bytes(4, 8));
}

TEST_F(ExpandTest, LockedEntryWithoutKeyIsRefusedAndItsFileDeleted) {
    auto locked = testing::Rle("locked.bin", Pattern(100, 1));
    locked.lockValue = 2;
    try {
        Expand(ArchiveWriter().Key(0x01020304).Add(Stored("first", Bytes(2, 1))).Add(locked));
        FAIL();
    } catch (const EInvalidKey& e) {
        EXPECT_STREQ(e.what(), "File locked -- valid key required");
    }
    EXPECT_TRUE(files.Has("C:\\out\\first"));
    EXPECT_FALSE(files.Has("C:\\out\\locked.bin"));
}

TEST_F(ExpandTest, ScrambledEntriesNeedTheRightKey) {
    auto lzh5 = testing::FromFixture("text.bin", "text.lh5");
    lzh5.lockValue = 2;
    auto rle = testing::Rle("runs.bin", Bytes(500, 0xFF));  // sum plus key wraps past 2^32
    rle.lockValue = 2;
    auto plain = testing::Rle("plain.bin", Bytes(50, 7));
    plain.lockValue = 5;  // locked, not scrambled
    const auto writer = ArchiveWriter().Key(-0x0FEDCBA9).Add(lzh5).Add(rle).Add(plain);

    compress.Key = -0x0FEDCBA9;
    Expand(writer);
    EXPECT_EQ(testing::Fnv1a64(Out("text.bin")), lzh5.fnv);
    EXPECT_EQ(Out("runs.bin"), Bytes(500, 0xFF));
    EXPECT_EQ(Out("plain.bin"), Bytes(50, 7));

    compress.Key = 77;
    EXPECT_THROW(Expand(writer), EInvalidKey);
    EXPECT_FALSE(files.Has("C:\\out\\text.bin"));
}

TEST_F(ExpandTest, LockedChecksumWrapsWithAPositiveKey) {
    // 8.5 million 0xFF bytes sum past 2^31; with the key the check value
    // wraps past 2^32.
    auto big = testing::Rle("big.bin", Bytes(8500000, 0xFF));
    big.lockValue = 1;
    compress.Key = 0x7FFFFFF0;
    Expand(ArchiveWriter().Key(0x7FFFFFF0).Add(big));
    EXPECT_EQ(Out("big.bin").size(), 8500000u);
    compress.Key = 0x7FFFFFEF;
    EXPECT_THROW(Expand(ArchiveWriter().Key(0x7FFFFFF0).Add(big)), EInvalidKey);
}

TEST_F(ExpandTest, BadChecksumKeepsTheFileWithAttributesButNoDate) {
    auto bad = testing::Rle("bad.bin", Bytes(60, 3));
    bad.checksum = 1;
    bad.attributes = 0x02;
    try {
        Expand(ArchiveWriter().Add(bad));
        FAIL();
    } catch (const EBadChecksum& e) {
        EXPECT_STREQ(e.what(), "Bad checksum during expansion -- data may be invalid");
    }
    EXPECT_EQ(Out("bad.bin"), Bytes(60, 3));
    EXPECT_EQ(files.At("C:\\out\\bad.bin").attributes, 0x02u);
    EXPECT_EQ(files.At("C:\\out\\bad.bin").dosDateTime, 0u);
}

TEST_F(ExpandTest, CustomAndUnknownMethodsWithoutHandlerGiveEmptyFiles) {
    Expand(ArchiveWriter().Add(testing::Raw("zero.bin", coCustom, Bytes(10, 1), 0)));
    EXPECT_TRUE(Out("zero.bin").empty());
    EXPECT_THROW(Expand(ArchiveWriter().Add(testing::Raw("seven.bin", 7, Bytes(10, 1), 10))),
                 EBadChecksum);
    EXPECT_TRUE(Out("seven.bin").empty());
}

TEST_F(ExpandTest, CustomEntriesGoThroughOnExpand) {
    compress.OnExpand = [](platform::Stream& dest, platform::Stream& source,
                           std::int32_t sourceSize, std::int32_t destSize, const std::string& id,
                           std::int32_t& checksum) {
        EXPECT_EQ(id, "CUS");
        Bytes data(static_cast<std::size_t>(sourceSize));
        source.Read(data.data(), data.size());
        for (auto& b : data) b ^= 0x55;
        dest.WriteExactly(data.data(), data.size());
        EXPECT_EQ(destSize, sourceSize);
        checksum = static_cast<std::int32_t>(testing::ByteSum(data));
    };
    Bytes coded(20, 0x55 ^ 'z');
    auto custom = testing::Raw("c.txt", coCustom, coded, testing::ByteSum(Bytes(20, 'z')));
    Expand(ArchiveWriter("CUS").Add(custom).Add(Stored("after", Bytes(2, 1))));
    EXPECT_EQ(Out("c.txt"), Bytes(20, 'z'));
    EXPECT_EQ(Out("after"), Bytes(2, 1));
}

TEST_F(ExpandTest, ProgressAnswerMinusOneCutsTheEntryShort) {
    compress.OnShowProgress = [](int& percent) { percent = -1; };
    EXPECT_THROW(Expand(ArchiveWriter().Add(testing::FromFixture("t", "text.lh5"))), EBadChecksum);
}

TEST_F(ExpandTest, FreeSpaceCountsTheFileBeingReplaced) {
    compress.CheckSpaceBeforeExpand = true;
    files.AddFile("C:\\out\\big", Bytes(1000, 0));
    files.freeSpace = 500;
    Expand(ArchiveWriter().Add(Stored("big", Bytes(1500, 1))));
    EXPECT_EQ(Out("big").size(), 1500u);

    files.freeSpace = 499;
    try {
        Expand(ArchiveWriter().Add(Stored("new", Bytes(500, 1))));
        FAIL();
    } catch (const EInsufficientDiskSpace& e) {
        EXPECT_STREQ(e.what(), "Not enough disk space to expand C:\\out\\new");
    }
    files.freeSpace.reset();  // a failed query counts as room enough
    EXPECT_EQ(compress.FreeSpaceFor("C:\\out\\x"), kUnlimitedSpace);
    compress.CheckSpaceBeforeExpand = false;
    files.freeSpace = 0;
    EXPECT_EQ(compress.FreeSpaceFor("C:\\out\\x"), kUnlimitedSpace);
}

TEST_F(ExpandTest, UncreatableFileIsSkippedOrRaisesByChoice) {
    files.refuseCreate.insert("C:\\OUT\\NO");
    std::vector<std::string> names = {"no", "yes"};
    const auto writer =
        ArchiveWriter().Add(Stored("no", Bytes(5, 1))).Add(Stored("yes", Bytes(5, 2)));
    Expand(writer, &names);
    EXPECT_EQ(names, std::vector<std::string>{"C:\\out\\yes"});

    compress.ExceptionOnFileError = true;
    std::vector<std::string> kept = {"no", "yes"};
    EXPECT_THROW(Expand(writer, &kept), platform::EFCreateError);
    EXPECT_EQ(kept, (std::vector<std::string>{"no", "yes"}));
}

TEST_F(ExpandTest, MakeDirectoriesCreatesTheChain) {
    compress.MakeDirectories = true;
    Expand(ArchiveWriter().Add(Stored("a\\b\\c.txt", Bytes(3, 1))));
    EXPECT_TRUE(files.DirectoryExists("C:\\out\\a\\b"));
    EXPECT_EQ(Out("a\\b\\c.txt"), Bytes(3, 1));
}

TEST_F(ExpandTest, DirectoryChainEndsAtANameEndingInAColon) {
    compress.MakeDirectories = true;
    // Used to recurse until the stack ran out.
    Expand(ArchiveWriter().Add(Stored("\\aC:\\x\\b", Bytes(3, 1))));
    EXPECT_TRUE(files.Has("\\aC:\\x\\b"));
}

TEST_F(ExpandTest, TruncatedStoredEntryIsAnErrorNotASilentShortFile) {
    Bytes bytes = ArchiveWriter().Add(Stored("cut", Bytes(100, 1))).Build();
    bytes.resize(bytes.size() - 10);
    files.AddFile("C:\\in\\cut.arc", bytes);
    EXPECT_THROW(compress.ExpandArchive("C:\\in\\cut.arc", nullptr), platform::EInOutError);
    EXPECT_EQ(files.OpenHandles(), 0);
}

}  // namespace
}  // namespace kav::archive
