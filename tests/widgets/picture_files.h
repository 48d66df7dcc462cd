#pragma once
// Small picture files built in memory for the tests: GIFs with frames,
// transparency, disposal and loop counts, bitmaps and icons.
#include <cstdint>
#include <string>
#include <vector>

namespace kav::widgets::testing {

using Bytes = std::vector<std::uint8_t>;

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> indexes;  // width * height palette indexes
    int delayCs = 10;
    int transparentIndex = -1;
    int disposal = 1;  // 1 keep, 2 restore background, 3 restore previous
    bool interlaced = false;
};

// A GIF89a of `width` x `height` with a global palette of 4 colours
// (0x00RRGGBB each) and, when `loops` is not negative, a NETSCAPE2.0 loop
// count. Image data is coded with a fixed code size (a clear code before
// the table would grow), which every decoder must read.
Bytes MakeGif(int width, int height, const std::vector<std::uint32_t>& palette,
              const std::vector<GifFrame>& frames, int loops = -1);

// An uncompressed 24-bit bottom-up BMP of the given 0x00RRGGBB pixels.
Bytes MakeBmp24(int width, int height, const std::vector<std::uint32_t>& pixels);

// A run-length coded BMP (`bitCount` 8: RLE8, 4: RLE4) with a colour
// table of `palette` (0x00RRGGBB each) and the coded pixel data `runs`.
Bytes MakeRleBmp(int bitCount, int width, int height, const std::vector<std::uint32_t>& palette,
                 const Bytes& runs);

// An icon file with one 32-bit image whose pixels carry alpha (0xAARRGGBB).
Bytes MakeIco32(int side, const std::vector<std::uint32_t>& pixels);

}  // namespace kav::widgets::testing
