// kavset extract on a disk that cannot hold what an archive promises: the
// free space is checked before writing, and a file cut short by a full disk
// is removed.
#include <gtest/gtest.h>

#include <sstream>

#include "app/kavset/set_tool.h"
#include "support/memory_file_system.h"
#include "support/recording_gui.h"
#include "support/set_writer.h"

namespace kav::app {
namespace {

using archive::testing::ArchiveWriter;
using archive::testing::Bytes;
using archive::testing::BytesOf;
using archive::testing::Stored;

struct Extraction {
    int status = -1;
    std::string err;
};

Extraction Extract(archive::testing::MemoryFileSystem& files) {
    SetOptions options;
    options.command = SetCommand::Extract;
    options.set = "C:\\set\\a.arc";
    options.targetDirectory = "C:\\out";
    platform::testing::RecordingGui gui;
    std::ostringstream out, err;
    const int status = RunSetCommand(options, files, gui, nullptr, out, err);
    return {status, err.str()};
}

class KavsetSpaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        files.AddDirectory("C:\\out");
        files.AddFile("C:\\set\\a.arc", ArchiveWriter()
                                            .Add(Stored("small.txt", BytesOf("ok")))
                                            .Add(archive::testing::Rle("big.bin", Bytes(5000, 1)))
                                            .Build());
    }
    archive::testing::MemoryFileSystem files;
};

TEST_F(KavsetSpaceTest, NotEnoughSpaceIsSaidWithTheFigures) {
    files.freeSpace = 4000;
    const Extraction r = Extract(files);
    EXPECT_EQ(r.status, kExitDamaged);
    EXPECT_NE(r.err.find("big.bin: not enough disk space: 5000 bytes needed, 4000 free"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(files.Has("C:\\out\\small.txt"));
    EXPECT_FALSE(files.Has("C:\\out\\big.bin"));
}

TEST_F(KavsetSpaceTest, AFileCutShortByAFullDiskIsRemoved) {
    files.writeLimit = 3000;
    const Extraction r = Extract(files);
    EXPECT_EQ(r.status, kExitDamaged);
    EXPECT_NE(r.err.find("big.bin"), std::string::npos) << r.err;
    EXPECT_TRUE(files.Has("C:\\out\\small.txt"));
    EXPECT_FALSE(files.Has("C:\\out\\big.bin"));
}

}  // namespace
}  // namespace kav::app
