// make_bench_archive OUT.arc NAME METHOD STREAM ORIGINAL: wraps a raw coded
// stream (METHOD lh5 or lh1) of ORIGINAL in a compressed archive holding one
// entry NAME, for the kavset benchmark.
#include <iostream>
#include <string>

#include "set_writer.h"

using namespace kav::archive::testing;

int main(int argc, char** argv) {
    if (argc != 6) {
        std::cerr << "usage: make_bench_archive OUT.arc NAME lh5|lh1 STREAM ORIGINAL\n";
        return 1;
    }
    const std::string method = argv[3];
    if (method != "lh5" && method != "lh1") {
        std::cerr << "make_bench_archive: method must be lh5 or lh1\n";
        return 1;
    }
    const Bytes original = ReadHostFile(argv[5]);
    const auto entry =
        Coded(argv[2], method == "lh5" ? kav::lzh::coLZH5 : kav::lzh::coLZH, ReadHostFile(argv[4]),
              static_cast<std::int32_t>(original.size()), ByteSum(original));
    WriteHostFile(argv[1], ArchiveWriter(method == "lh5" ? "LH5" : "LZH").Add(entry).Build());
    return 0;
}
