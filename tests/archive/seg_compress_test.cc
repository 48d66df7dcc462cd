// Reading segment sets: records across segment boundaries, the mount box
// and the directory prompt, and every reader error.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>

#include "archive/set_reader.h"
#include "support/memory_file_system.h"
#include "support/set_writer.h"

namespace kav::archive {
namespace {

using testing::ArchiveFor;
using testing::ArchiveLayout;
using testing::ArchiveWriter;
using testing::Bytes;
using testing::BytesOf;
using testing::MemoryFileSystem;
using testing::SegmentFile;
using testing::SegmentSetWriter;
using testing::Stored;

class ScriptedGui final : public platform::Gui {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string&) override { return false; }
    platform::WarningAnswer AskWarning(const std::string&) override {
        return platform::WarningAnswer::No;
    }
    bool AskOkCancel(const std::string& text) override {
        mountBoxes.push_back(text);
        return onMountBox ? onMountBox() : false;
    }
    bool InputQuery(const std::string& caption, const std::string& prompt,
                    std::string& value) override {
        prompts.push_back(caption + "|" + prompt + "|" + value);
        cursorsAtPrompts.push_back(cursor);
        if (answers.empty()) return false;
        value = answers.front();
        answers.pop_front();
        return true;
    }
    void SetCursor(platform::Cursor shown) override { cursor = shown; }
    platform::Cursor ShownCursor() const override { return cursor; }
    void ProcessMessages() override { ++pumps; }
    void Terminate() override {}
    bool Terminated() const override { return false; }

    std::vector<std::string> messages, mountBoxes, prompts;
    platform::Cursor cursor = platform::Cursor::Default;
    std::vector<platform::Cursor> cursorsAtPrompts;
    std::deque<std::string> answers;
    std::function<bool()> onMountBox;
    int pumps = 0;
};

Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<std::uint8_t>(seed * 31 + i * i / 5);
    return data;
}

class SegmentTest : public ::testing::Test {
protected:
    void SetUp() override {
        files.AddDirectory("C:\\src");
        reader.SetSegBaseName("disk");
        reader.SetSegDir("C:\\src\\");
        reader.SetSegTmpDir("C:\\tmp\\work");
        reader.SegPopUp = false;
    }
    void Place(const std::vector<SegmentFile>& segments, const std::string& dir = "C:\\src") {
        for (const auto& s : segments) files.AddFile(dir + "\\" + s.name, s.bytes);
    }
    // Two archives holding all four methods and one entry larger than a segment.
    SegmentSetWriter MixedSet() {
        SegmentSetWriter set;
        set.Add(ArchiveFor("C:\\App\\main.arc",
                           ArchiveWriter()
                               .Add(Stored("readme.txt", BytesOf("read me\r\n")))
                               .Add(testing::Rle("big.bin", big))
                               .Add(testing::FromFixture("sub\\text.txt", "text.lh5"))));
        set.Add(ArchiveFor("C:\\App\\Data\\extra.arc",
                           ArchiveWriter().Add(testing::FromFixture("bin.dat", "binary.lh1")), 13));
        return set;
    }
    const Bytes& Out(const std::string& path) { return files.At(path).bytes; }
    void ExpectMixedSetExpanded() {
        EXPECT_EQ(Out("C:\\App\\readme.txt"), BytesOf("read me\r\n"));
        EXPECT_EQ(Out("C:\\App\\big.bin"), big);
        EXPECT_EQ(testing::Fnv1a64(Out("C:\\App\\sub\\text.txt")),
                  testing::FixtureManifest("text.lh5").fnv);
        EXPECT_EQ(testing::Fnv1a64(Out("C:\\App\\Data\\bin.dat")),
                  testing::FixtureManifest("binary.lh1").fnv);
        EXPECT_FALSE(files.Has(reader.TemporaryArchivePath()));
        EXPECT_EQ(files.OpenHandles(), 0);
    }
    std::string Message(const std::function<void()>& action) {
        try {
            action();
        } catch (const ESegError& e) {
            return e.what();
        }
        return "no ESegError";
    }

    Bytes big = Pattern(40000, 5);
    MemoryFileSystem files;
    ScriptedGui gui;
    TSegCompEZ reader{files, gui};
};

TEST_F(SegmentTest, SegmentNamesPadToThreeDigitsOrUseTheFixedExtension) {
    EXPECT_EQ(SegmentFileName("disk", "", 7), "disk.007");
    EXPECT_EQ(SegmentFileName("disk", "", 1234), "disk.1234");
    EXPECT_EQ(SegmentFileName("disk", "dat", 2), "disk.dat");
    reader.SetSegExt("data");
    EXPECT_EQ(reader.SegExt(), "dat");
    reader.SetSegBaseName("C:\\X\\Setup");
    EXPECT_EQ(reader.SegBaseName(), "setup");
    reader.SetSegBaseName("");
    EXPECT_EQ(reader.SegBaseName(), "SegData");
    reader.SetSegDir("");
    EXPECT_EQ(reader.SegDir(), "a:\\");
    reader.SetSegTmpDir("C:\\Temp\\");
    EXPECT_EQ(reader.SegTmpDir(), "c:\\temp");
    reader.SetSegSize(100);
    EXPECT_EQ(reader.SegSize(), 16384);
}

TEST_F(SegmentTest, MixedSetSplitAcrossManySegmentsExpandsByteForByte) {
    auto set = MixedSet();
    const auto segments = set.SplitEvery(10000);
    ASSERT_GT(segments.size(), 5u);
    Place(segments);
    std::vector<int> after;
    std::vector<int> progress;
    reader.OnSegAfter = [&](TSegMode mode, const std::string&, std::uint16_t number) {
        EXPECT_EQ(mode, smExpand);
        after.push_back(number);
    };
    reader.OnSegShowProgress = [&](int percent) { progress.push_back(percent); };
    reader.ExpandAll();
    ExpectMixedSetExpanded();
    EXPECT_EQ(after.size(), segments.size() - 1);
    EXPECT_EQ(reader.SegSource(),
              (std::vector<std::string>{"C:\\App\\main.arc", "C:\\App\\Data\\extra.arc"}));
    EXPECT_EQ(reader.TargetPath(), "");
    EXPECT_TRUE(reader.MakeDirectories);
    // Each archive copy ends at 100 once; the list archives report nothing.
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(std::count(progress.begin(), progress.end(), 100), 2);
    EXPECT_GT(gui.pumps, 0);
    ASSERT_EQ(reader.SegArcList().Count(), 2u);
    EXPECT_EQ(reader.SegArcList()[1].FileList, std::vector<std::string>{"C:\\App\\Data\\bin.dat"});
    EXPECT_EQ(reader.SegArcList()[1].ArcDir, "C:\\App\\Data\\");
}

TEST_F(SegmentTest, CutInsideEveryRecordKindReadsAsIfContiguous) {
    auto set = MixedSet();
    testing::StreamLayout at;
    set.LogicalStream(&at);
    const std::vector<std::size_t> cuts = {
        at.setHeader + 3,       at.setHeader + 3,  // an 8-byte segment in between
        at.scanHeaders[0] + 5,  at.templates[0] + 4,       at.listArchives[0] + 30,
        at.scanHeaders[1] + 16, at.archiveHeaders[0] + 7,  at.archives[0] + 21,
        at.archives[0] + 50,    at.archiveHeaders[1] + 12, at.archives[1] + 1};
    Place(set.SplitAt(cuts));
    reader.ExpandAll();
    ExpectMixedSetExpanded();
}

TEST_F(SegmentTest, FixedExtensionSegmentsAreTellApartByNumberOnly) {
    auto set = MixedSet();
    set.fixedExtension = "dat";
    const auto segments = set.SplitEvery(30000);
    ASSERT_GE(segments.size(), 2u);
    reader.SetSegExt("dat");
    reader.SetSegDir("A:\\");
    // The "floppy" in A: is swapped before each segment.
    reader.OnSegBefore = [&](TSegMode, const std::string& name, std::uint16_t number) {
        EXPECT_EQ(name, "disk.dat");
        files.AddFile("A:\\disk.dat", segments[number - 1].bytes);
    };
    reader.ExpandAll();
    ExpectMixedSetExpanded();
}

TEST_F(SegmentTest, WrongSegmentBringsUpTheMountBoxUntilCorrected) {
    auto set = MixedSet();
    set.wrongNumbers[2] = 5;
    const auto segments = set.SplitEvery(30000);
    Place(segments);
    std::vector<int> before;
    reader.OnSegBefore = [&](TSegMode, const std::string&, std::uint16_t n) {
        before.push_back(n);
    };
    gui.onMountBox = [&] {
        auto fixed = set;
        fixed.wrongNumbers.clear();
        Place({fixed.SplitEvery(30000)[1]});
        return true;
    };
    reader.ExpandAll();
    ExpectMixedSetExpanded();
    ASSERT_EQ(gui.mountBoxes.size(), 1u);
    EXPECT_EQ(gui.mountBoxes[0],
              "Incorrect segmented mounted!\n\rCorrect and then press OK, or Cancel to abort");
    EXPECT_EQ(std::vector<int>(before.begin(), before.begin() + 3), (std::vector<int>{1, 2, 2}));
}

TEST_F(SegmentTest, MissingSegmentNamesTheFileAndCancelAborts) {
    auto set = MixedSet();
    testing::StreamLayout at;
    set.LogicalStream(&at);
    auto segments = set.SplitAt({at.archives[1] + 10});
    segments.pop_back();
    Place(segments);
    EXPECT_EQ(Message([&] { reader.ExpandAll(); }), "(TSegCompress) Operation aborted by user");
    EXPECT_TRUE(reader.SegAbort);
    ASSERT_EQ(gui.mountBoxes.size(), 1u);
    const std::string name =
        SegmentFileName("disk", "", static_cast<std::uint16_t>(segments.size() + 1));
    EXPECT_EQ(gui.mountBoxes[0],
              "Unable to locate \"" + name +
                  "\" on this segment!\n\rCorrect and then press OK, or Cancel to abort");
    EXPECT_TRUE(files.Has("C:\\App\\readme.txt"));  // what was expanded stays
    EXPECT_FALSE(files.Has(reader.TemporaryArchivePath()));
    EXPECT_EQ(files.OpenHandles(), 0);
}

TEST_F(SegmentTest, PopUpAsksBeforeEverySegmentAndRepeatsOnEmptyAnswers) {
    Place(MixedSet().SplitEvery(1000000), "C:\\floppy");
    reader.SegPopUp = true;
    gui.answers = {"", "C:\\floppy"};
    int repaints = 0;
    reader.RepaintOwner = [&] { ++repaints; };
    reader.ExpandAll();
    ExpectMixedSetExpanded();
    ASSERT_EQ(gui.prompts.size(), 2u);
    EXPECT_EQ(gui.prompts[0], "Mount Segment #1|Directory Path:|c:\\src\\");
    EXPECT_EQ(reader.SegDir(), "C:\\floppy");
    EXPECT_EQ(repaints, 1);

    gui.answers.clear();
    EXPECT_EQ(Message([&] { reader.ExpandAll(); }), "(TSegCompress) Operation aborted by user");
}

TEST_F(SegmentTest, PopUpAsksBeforeEachOfSeveralSegmentsAndEveryRetry) {
    const auto segments = MixedSet().SplitEvery(15000);
    ASSERT_GE(segments.size(), 3u);
    Place(segments, "C:\\floppy");
    reader.SegPopUp = true;
    gui.cursor = platform::Cursor::HourGlass;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i == 1) gui.answers.push_back("");  // an empty answer asks again
        gui.answers.push_back("C:\\floppy");
    }
    reader.ExpandAll();
    ExpectMixedSetExpanded();
    ASSERT_EQ(gui.prompts.size(), segments.size() + 1);
    EXPECT_EQ(gui.prompts[1], "Mount Segment #2|Directory Path:|C:\\floppy");
    EXPECT_EQ(gui.prompts[2], "Mount Segment #2|Directory Path:|C:\\floppy");
    EXPECT_EQ(gui.prompts.back(),
              "Mount Segment #" + std::to_string(segments.size()) + "|Directory Path:|C:\\floppy");
    // The arrow while asking; the hourglass that was shown comes back.
    EXPECT_EQ(gui.cursorsAtPrompts.front(), platform::Cursor::Default);
    EXPECT_EQ(gui.cursor, platform::Cursor::HourGlass);
}

TEST_F(SegmentTest, EmptySetOpensOnlyTheFirstSegment) {
    Place(SegmentSetWriter().SplitEvery(1000));
    int listed = -1;
    reader.OnSegBeforeExpand = [&](TSegArcList& list) { listed = static_cast<int>(list.Count()); };
    reader.ExpandAll();
    EXPECT_EQ(listed, 0);
    EXPECT_TRUE(reader.SegSource().empty());
}

TEST_F(SegmentTest, OwnerSelectsArchivesAndNamesBeforeExpansion) {
    Place(MixedSet().SplitEvery(7000));
    reader.OnSegBeforeExpand = [&](TSegArcList& list) {
        auto& names = list[0].FileList;
        names.erase(names.begin());  // readme.txt
        list.Delete(1);
    };
    reader.ExpandAll();
    EXPECT_FALSE(files.Has("C:\\App\\readme.txt"));
    EXPECT_TRUE(files.Has("C:\\App\\big.bin"));
    EXPECT_FALSE(files.Has("C:\\App\\Data\\bin.dat"));
    EXPECT_EQ(reader.SegArcList()[0].FileList,
              (std::vector<std::string>{"C:\\App\\big.bin", "C:\\App\\sub\\text.txt"}));

    auto three = MixedSet();
    three.Add(ArchiveFor("C:\\App\\third.arc", ArchiveWriter().Add(Stored("c", Bytes(1, 1)))));
    Place(three.SplitEvery(7000));
    reader.OnSegBeforeExpand = [&](TSegArcList& list) { list.Move(1, 0); };
    EXPECT_EQ(Message([&] { reader.ExpandAll(); }),
              "(TSegCompress) Invalid Archive sequence number");
}

TEST_F(SegmentTest, OwnerHandlersDoNotHearTheListArchives) {
    Place(MixedSet().SplitEvery(1000000));
    std::vector<std::string> checked;
    reader.OnCheckFile = [&](std::string& path, TCProcessMode) { checked.push_back(path); };
    reader.ExpandAll();
    EXPECT_EQ(checked,
              (std::vector<std::string>{"C:\\App\\readme.txt", "C:\\App\\big.bin",
                                        "C:\\App\\sub\\text.txt", "C:\\App\\Data\\bin.dat"}));
}

TEST_F(SegmentTest, ListRecordsLoseTrailingBlanksAndZeros) {
    const auto archive =
        ArchiveWriter().Add(Stored("a.txt", Bytes(3, 1))).Add(Stored("b.txt", Bytes(3, 2)));
    ArchiveLayout layout = ArchiveFor("C:\\App\\x.arc", archive, 16);
    Bytes list = BytesOf("a.txt   ");
    list.resize(16, 0);
    const Bytes tail = BytesOf("b.txt  ");  // a shorter last record
    list.insert(list.end(), tail.begin(), tail.end());
    layout.listArchive = ArchiveWriter().Add(Stored("whatever.lst", list)).Build();
    Place(SegmentSetWriter().Add(layout).SplitEvery(100000));
    reader.ExpandAll();
    EXPECT_EQ(reader.SegArcList()[0].FileList,
              (std::vector<std::string>{"C:\\App\\a.txt", "C:\\App\\b.txt"}));
    EXPECT_FALSE(files.Has("C:\\tmp\\work\\whatever.lst"));
}

TEST_F(SegmentTest, ListFileNeverLeavesTheWorkDirectory) {
    for (const std::string stored : {"..\\..\\evil.lst", "\\WINDOWS\\evil.lst", "C:evil.lst"}) {
        ArchiveLayout layout =
            ArchiveFor("C:\\App\\x.arc", ArchiveWriter().Add(Stored("a.txt", Bytes(3, 1))));
        layout.listArchive = testing::ListArchive({"a.txt"}, 64, true, ' ', stored);
        Place(SegmentSetWriter().Add(layout).SplitEvery(100000));
        reader.ExpandAll();
        EXPECT_TRUE(files.Has("C:\\App\\a.txt")) << stored;
        for (const auto& path : files.FilePaths()) {
            EXPECT_EQ(path.find("EVIL"), std::string::npos) << stored << " left " << path;
        }
    }
}

TEST_F(SegmentTest, EveryDamagedRecordHasItsMessage) {
    auto expectFailure = [&](SegmentSetWriter set, const std::string& message) {
        Place(set.SplitEvery(100000));
        EXPECT_EQ(Message([&] { reader.ExpandAll(); }), message);
        EXPECT_EQ(files.OpenHandles(), 0);
        EXPECT_FALSE(files.Has(reader.TemporaryArchivePath()));
    };
    auto set = MixedSet();
    testing::StreamLayout at;
    Bytes stream = set.LogicalStream(&at);
    auto corrupt = [&](std::size_t offset, const std::string& message) {
        Bytes bad = stream;
        bad[offset] ^= 0xFF;
        Bytes segment = BytesOf("SSeg");
        segment.insert(segment.end(), {0, 0, 1, 0});
        segment.insert(segment.end(), bad.begin(), bad.end());
        files.AddFile("C:\\src\\disk.001", segment);
        EXPECT_EQ(Message([&] { reader.ExpandAll(); }), message) << offset;
        EXPECT_EQ(files.OpenHandles(), 0);
    };
    corrupt(at.setHeader, "(TSegCompress) Invalid Segment Header ID");
    corrupt(at.scanHeaders[1], "(TSegCompress) Invalid Scan ID Header");
    corrupt(at.archiveHeaders[1] + 1, "(TSegCompress) Invalid Archive ID Header");

    files.AddFile("C:\\src\\disk.001", BytesOf("SSex\0\0\1\0SHdr"));
    EXPECT_EQ(Message([&] { reader.ExpandAll(); }), "(TSegCompress) Stream open failed");

    ArchiveLayout longTemplate = ArchiveFor("C:\\a", ArchiveWriter().Add(Stored("a", Bytes(1, 1))));
    longTemplate.templateLength = 8192;
    expectFailure(SegmentSetWriter().Add(longTemplate),
                  "(TSegCompress) Template length 8192 in scan record is 8192 or more");
    for (std::int32_t length : {0, -3, 8192}) {
        ArchiveLayout badRecord =
            ArchiveFor("C:\\a", ArchiveWriter().Add(Stored("a", Bytes(1, 1))));
        badRecord.recordLength = length;
        badRecord.listArchive = testing::ListArchive({"a"}, 5);
        expectFailure(SegmentSetWriter().Add(badRecord),
                      "(TSegCompress) Record length " + std::to_string(length) +
                          " in scan record is outside 1 to 8191");
    }
    ArchiveLayout emptyList = ArchiveFor("C:\\a", ArchiveWriter().Add(Stored("a", Bytes(1, 1))));
    emptyList.listArchive = ArchiveWriter().Build();
    expectFailure(SegmentSetWriter().Add(emptyList),
                  "(TSegCompress) List archive of a scan record holds no list file");
}

TEST_F(SegmentTest, SegmentThatStopsDeliveringBytesEndsTheExpansion) {
    const auto segments = MixedSet().SplitEvery(15000);
    Place(segments);
    files.At("C:\\src\\" + segments[1].name).readLimit = 500;
    EXPECT_EQ(Message([&] { reader.ExpandAll(); }),
              "(TSegCompress) Segment \"" + segments[1].name + "\" ended before its data");
    EXPECT_EQ(files.OpenHandles(), 0);
}

TEST_F(SegmentTest, ArchiveErrorsPassThroughAndLeaveEarlierFiles) {
    auto bad = testing::Rle("bad.bin", Bytes(100, 4));
    bad.checksum = 3;
    SegmentSetWriter set;
    set.Add(ArchiveFor("C:\\App\\a.arc",
                       ArchiveWriter().Add(Stored("good.txt", Bytes(5, 1))).Add(bad)));
    Place(set.SplitEvery(50));
    EXPECT_THROW(reader.ExpandAll(), EBadChecksum);
    EXPECT_TRUE(files.Has("C:\\App\\good.txt"));
    EXPECT_FALSE(files.Has(reader.TemporaryArchivePath()));
    EXPECT_EQ(files.OpenHandles(), 0);
}

}  // namespace
}  // namespace kav::archive
