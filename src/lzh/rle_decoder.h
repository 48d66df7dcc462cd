#pragma once
// Decoder of coRLE data: literal bytes, with the escape byte 0x94 followed
// by 0 for a literal 0x94 or by a count n that repeats the previous token's
// first byte n - 1 more times.
#include "lzh/codec_driver_core.h"

namespace kav::lzh {

// Decodes until the driver's source is exhausted.
void DecodeRLE(CodecDriver& driver);

}  // namespace kav::lzh
