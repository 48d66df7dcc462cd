#pragma once
#include <cstdint>

namespace kav::lzh {

// The method byte of an archive entry header.
enum TCompressionMethod : std::uint8_t {
    coNone = 0,    // stored
    coRLE = 1,     // run-length coded
    coLZH = 2,     // adaptive Huffman LZ ("-lh1-" coding)
    coCustom = 3,  // expanded by the owner's OnExpand handler
    coLZH5 = 4,    // static Huffman LZ with an 8 KiB window ("-lh5-" coding)
};

}  // namespace kav::lzh
