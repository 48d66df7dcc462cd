// make_bench_archive OUT.arc NAME METHOD [STREAM] ORIGINAL: an archive
// holding one entry NAME with the content ORIGINAL, for the kavset
// benchmark. METHOD lh5 or lh1 wraps STREAM, a raw coded stream of
// ORIGINAL; rle codes ORIGINAL itself and none stores it.
#include <iostream>
#include <string>

#include "support/set_writer.h"

using namespace kav::archive::testing;

int main(int argc, char** argv) {
    const std::string method = argc > 3 ? argv[3] : "";
    const bool coded = method == "lh5" || method == "lh1";
    if ((!coded && method != "rle" && method != "none") || argc != (coded ? 6 : 5)) {
        std::cerr << "usage: make_bench_archive OUT.arc NAME lh5|lh1 STREAM ORIGINAL\n"
                     "       make_bench_archive OUT.arc NAME rle|none ORIGINAL\n";
        return 1;
    }
    const Bytes original = ReadHostFile(argv[coded ? 5 : 4]);
    EntrySpec entry;
    if (method == "rle") {
        entry = Rle(argv[2], original);
    } else if (method == "none") {
        entry = Stored(argv[2], original);
    } else {
        entry = Coded(argv[2], method == "lh5" ? kav::lzh::coLZH5 : kav::lzh::coLZH,
                      ReadHostFile(argv[4]), static_cast<std::int32_t>(original.size()),
                      ByteSum(original));
    }
    const std::string compressId = method == "lh5" ? "LH5" : method == "lh1" ? "LZH" : "RLE";
    WriteHostFile(argv[1], ArchiveWriter(compressId).Add(entry).Build());
    return 0;
}
