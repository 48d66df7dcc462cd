// Listing and header validation of compressed archives.
#include <gtest/gtest.h>

#include "archive/compress.h"
#include "platform/errors.h"
#include "platform/stream.h"
#include "support/memory_file_system.h"
#include "support/set_writer.h"

namespace kav::archive {
namespace {

using testing::ArchiveWriter;
using testing::Bytes;
using testing::BytesOf;
using testing::MemoryFileSystem;
using testing::Stored;

class ScanTest : public ::testing::Test {
protected:
    TCompressedFileList Scan(Bytes bytes) {
        platform::MemoryStream stream(std::move(bytes));
        TCompressedFileList list;
        compress.ScanArchive(stream, list);
        return list;
    }
    MemoryFileSystem files;
    TCompress compress{files};
};

TEST_F(ScanTest, ShortArchivesListNothingAndAreNotValidated) {
    Bytes bytes(45, 'x');
    EXPECT_TRUE(Scan(bytes).empty());
    bytes.push_back('x');
    EXPECT_THROW(Scan(bytes), EInvalidHeader);
}

TEST_F(ScanTest, ListsEveryEntryWithItsHeaderOffset) {
    auto a = Stored("readme.txt", BytesOf("hello"));
    a.attributes = 0x21;
    a.lockValue = 7;
    const Bytes bytes =
        ArchiveWriter("LH5").Add(a).Add(Stored("sub\\b.dat", Bytes(300, 1))).Build();
    const auto list = Scan(bytes);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Name, "readme.txt");
    EXPECT_EQ(list[0].Info.HeaderOffset, 21);
    EXPECT_EQ(list[0].Info.FileAttributes, 0x21);
    EXPECT_TRUE(list[0].Info.Locked);
    EXPECT_EQ(list[0].Info.FileDate, a.fileDate);
    EXPECT_EQ(list[1].Name, "sub\\b.dat");
    EXPECT_EQ(list[1].Info.HeaderOffset, 21 + 25 + 10 + 5);
    EXPECT_EQ(list[1].Info.UncompressedSize, 300);
    EXPECT_EQ(list[1].Info.CompressedSize, 300);
    EXPECT_EQ(list[1].Info.Checksum, 300u);
    EXPECT_FALSE(list[1].Info.Locked);
}

TEST_F(ScanTest, ListingTwiceAppends) {
    const Bytes bytes = ArchiveWriter().Add(Stored("a", Bytes(40, 0))).Build();
    platform::MemoryStream first(bytes), second(bytes);
    TCompressedFileList list;
    compress.ScanArchive(first, list);
    compress.ScanArchive(second, list);
    EXPECT_EQ(list.size(), 2u);
}

TEST_F(ScanTest, DamagedEntryHeadersEndTheListing) {
    auto negative = Stored("b", Bytes(40, 0));
    negative.nameLength = -1;
    EXPECT_EQ(Scan(ArchiveWriter().Add(Stored("a", Bytes(40, 0))).Add(negative).Build()).size(),
              1u);

    auto pastEnd = Stored("a", Bytes(40, 0));
    pastEnd.compressedSize = 1000000;
    EXPECT_EQ(Scan(ArchiveWriter().Add(pastEnd).Add(Stored("b", Bytes(40, 0))).Build()).size(), 1u);

    Bytes truncatedName =
        ArchiveWriter().Add(Stored("a", Bytes(40, 0))).Add(Stored("longname", {})).Build();
    truncatedName.resize(truncatedName.size() - 3);
    EXPECT_EQ(Scan(truncatedName).size(), 1u);
}

TEST_F(ScanTest, NegativeCompressedSizeNeverMovesBackwards) {
    // A size that would point back at the same header must not loop.
    auto looping = Stored("a", {});
    looping.compressedSize = -(25 + 1);
    const auto list = Scan(ArchiveWriter().Add(looping).Add(Stored("b", Bytes(30, 0))).Build());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].Name, "b");
}

TEST_F(ScanTest, HeaderProblemsRaiseTheirOwnClasses) {
    Bytes bytes = ArchiveWriter().Add(Stored("a", Bytes(40, 0))).Build();
    bytes[12] = 2;
    try {
        Scan(bytes);
        FAIL();
    } catch (const EInvalidHeaderArchiveType& e) {
        EXPECT_STREQ(e.what(), "Archive type must be caMulti");
    }
    try {
        Scan(ArchiveWriter("lh5").Add(Stored("a", Bytes(40, 0))).Build());
        FAIL();
    } catch (const EUnrecognizedCompressionMethod& e) {
        EXPECT_STREQ(e.what(), "Unrecognized compression method: \"lh5\" in header");
    }
}

TEST_F(ScanTest, MethodIdentifiersAreCaseSensitiveAndCustomOnesAreAsked) {
    int asked = 0;
    compress.OnRecognize = [&](const std::string& id, bool& recognized) {
        ++asked;
        recognized = id == "ZIP";
    };
    EXPECT_EQ(compress.MethodFromId("NON"), coNone);
    EXPECT_EQ(compress.MethodFromId("LH5"), coLZH5);
    EXPECT_EQ(compress.MethodFromId("CUS"), coCustom);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(compress.MethodFromId("ZIP"), coCustom);
    EXPECT_THROW(compress.MethodFromId("lh5"), EUnrecognizedCompressionMethod);
    EXPECT_EQ(asked, 2);
}

TEST_F(ScanTest, ShortArchiveHeaderReadsAsEmpty) {
    platform::MemoryStream stream(Bytes(20, 0xFF));
    std::string id = "junk";
    const auto header = compress.ReadArchiveHeader(stream, id);
    EXPECT_EQ(id, "");
    EXPECT_EQ(header.TotalUncompressed(), 0);
    EXPECT_EQ(header.ArchiveType(), 1);
    EXPECT_EQ(stream.Position(), 0);
}

TEST_F(ScanTest, MakeArchiveHeaderLocksOnlyForPositiveKeys) {
    auto header = compress.MakeArchiveHeader("LZ", 1234, 1);
    EXPECT_TRUE(header.HasSignature());
    EXPECT_EQ(header.bytes[5], 'L');
    EXPECT_EQ(header.bytes[7], 0);
    EXPECT_EQ(header.TotalUncompressed(), 1234);
    EXPECT_EQ(header.ArchiveLock(), 0);
    compress.Key = -5;
    EXPECT_EQ(compress.MakeArchiveHeader("LH5", 0, 1).ArchiveLock(), 0);
    compress.Key = 5;
    EXPECT_EQ(compress.MakeArchiveHeader("LH5", 0, 1).ArchiveLock(), 2);
}

TEST_F(ScanTest, ScanOfAFileHoldsItExclusivelyOnlyWhileListing) {
    files.AddFile("C:\\set\\a.arc", ArchiveWriter().Add(Stored("a", Bytes(40, 0))).Build());
    TCompressedFileList list;
    compress.ScanArchive("C:\\set\\a.arc", list);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(files.OpenHandles(), 0);
    EXPECT_THROW(compress.ScanArchive("C:\\set\\missing.arc", list), platform::EFOpenError);
}

}  // namespace
}  // namespace kav::archive
