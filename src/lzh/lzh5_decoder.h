#pragma once
// Decoder of coLZH5 data (the "-lh5-" coding): an 8192-byte sliding window
// whose literals, match lengths and match offsets are coded with static
// Huffman codes sent again for every block.
#include <cstdint>

#include "lzh/codec_driver_core.h"

namespace kav::lzh {

// Writes exactly `count` bytes to the driver: a final match that runs past
// it is cut there.
// Throws ELZHBadDecodeTable on a malformed block header.
void DecodeLZH5(CodecDriver& driver, std::int32_t count);

}  // namespace kav::lzh
