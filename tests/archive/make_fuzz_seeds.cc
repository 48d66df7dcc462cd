// make_fuzz_seeds OUTDIR: writes the fuzz targets' seed corpora from the
// test set writer into OUTDIR/fuzz_archive and OUTDIR/fuzz_segments.
#include <filesystem>
#include <iostream>

#include "support/set_writer.h"

using namespace kav::archive::testing;

namespace {

Bytes Framed(const std::vector<SegmentFile>& segments) {
    Bytes out;
    for (const auto& s : segments) {
        out.push_back(static_cast<std::uint8_t>(s.bytes.size()));
        out.push_back(static_cast<std::uint8_t>(s.bytes.size() >> 8));
        out.insert(out.end(), s.bytes.begin(), s.bytes.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_fuzz_seeds OUTDIR\n";
        return 1;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out / "fuzz_archive");
    std::filesystem::create_directories(out / "fuzz_segments");
    Bytes runs(300, 0x94);
    runs.insert(runs.end(), 200, 'x');
    auto locked = FromFixture("locked.txt", "one_byte.lh5");
    locked.lockValue = 2;
    const std::vector<std::pair<std::string, ArchiveWriter>> archives = {
        {"stored", ArchiveWriter()
                       .Add(Stored("a.txt", BytesOf("hello")))
                       .Add(Stored("\\abs\\b", Bytes(40, 1)))},
        {"rle", ArchiveWriter("RLE").Add(Rle("runs.bin", runs))},
        {"lh5", ArchiveWriter().Add(FromFixture("text.txt", "exact_8193.lh5"))},
        {"lh1", ArchiveWriter("LZH").Add(FromFixture("text.txt", "exact_8193.lh1"))},
        {"locked", ArchiveWriter().Key(0x01020304).Add(locked)},
        {"custom",
         ArchiveWriter("CUS").Add(Raw("c", 3, Bytes(10, 2), 20)).Add(Raw("d", 9, Bytes(3, 1), 0))},
    };
    for (const auto& [name, writer] : archives) {
        WriteHostFile((out / "fuzz_archive" / name).string(), writer.Build());
    }

    SegmentSetWriter set;
    set.Add(ArchiveFor("C:\\App\\main.arc", archives[0].second, 16));
    set.Add(ArchiveFor("C:\\App\\Sub\\rle.arc", archives[1].second, 7));
    set.Add(ArchiveFor("C:\\App\\lh1.arc", archives[3].second, 40));
    WriteHostFile((out / "fuzz_segments" / "one_segment").string(), Framed(set.SplitEvery(60000)));
    WriteHostFile((out / "fuzz_segments" / "small_shares").string(), Framed(set.SplitEvery(700)));
    StreamLayout at;
    set.LogicalStream(&at);
    WriteHostFile(
        (out / "fuzz_segments" / "record_cuts").string(),
        Framed(set.SplitAt({at.scanHeaders[0] + 3, at.scanHeaders[0] + 3, at.templates[1] + 2,
                            at.archiveHeaders[0] + 9, at.archives[2] + 100})));
    WriteHostFile((out / "fuzz_segments" / "empty_set").string(),
                  Framed(SegmentSetWriter().SplitEvery(100)));
    return 0;
}
