#pragma once
// Decoder of coLZH data (the "-lh1-" coding): a 4096-byte sliding window
// whose literals and match lengths are coded with an adaptive Huffman code
// and whose match positions with a fixed prefix code.
#include <cstdint>

#include "lzh/codec_driver_core.h"

namespace kav::lzh {

// Writes exactly `count` bytes to the driver: a final match that runs past
// it is cut there.
// Every bit pattern decodes to something; this raises nothing of its own.
void DecodeLZH(CodecDriver& driver, std::int32_t count);

}  // namespace kav::lzh
