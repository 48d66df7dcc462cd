// Device-independent bitmaps, alone in a BMP file or inside an icon:
// 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed, with bit-field
// masks or run-length coded (8 and 4 bits), bottom-up or top-down.
#include <optional>
#include <string>

#include "widgets/picture/decoders.h"

namespace kav::widgets::picture {
namespace {

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
// BITMAPFILEHEADER: "BM", file size, two reserved words, pixel data offset.
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kPixelOffsetField = 10;

struct Mask {
    std::uint32_t bits = 0;
    int shift = 0;
    int width = 0;

    explicit Mask(std::uint32_t m) : bits(m) {
        if (m == 0) return;
        while (((m >> shift) & 1) == 0) ++shift;
        while (shift + width < 32 && ((m >> (shift + width)) & 1) != 0) ++width;
    }
    // The masked channel scaled to 0..255.
    std::uint8_t Channel(std::uint32_t value) const {
        if (width == 0) return 0;
        const std::uint32_t v = (value & bits) >> shift;
        const std::uint32_t max = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1;
        return static_cast<std::uint8_t>((static_cast<std::uint64_t>(v) * 255 + max / 2) / max);
    }
};

struct DibHeader {
    long long width = 0;
    long long height = 0;  // negative: rows run top-down
    int bitCount = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t coloursUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    bool core = false;
};

DibHeader ReadHeader(ByteReader& in) {
    const std::size_t start = in.Position();
    const std::uint32_t size = in.U32();
    DibHeader h;
    if (size == kCoreHeaderSize) {
        h.core = true;
        h.width = in.U16();
        h.height = in.U16();
        in.Skip(2);  // planes
        h.bitCount = in.U16();
        return h;
    }
    if (size < kInfoHeaderSize || size > in.Size()) throw EInvalidGraphic("unknown bitmap header");
    h.width = in.I32();
    h.height = in.I32();
    in.Skip(2);  // planes
    h.bitCount = in.U16();
    h.compression = in.U32();
    in.Skip(12);  // image size, resolution
    h.coloursUsed = in.U32();
    in.Skip(4);  // important colours
    if (h.compression == kBitFields) {
        // In a version 2 or later header the masks are part of it; in a
        // plain info header they follow it.
        for (std::uint32_t& m : h.masks) m = in.U32();
        if (size > kInfoHeaderSize) in.Seek(start + size);
    } else {
        in.Seek(start + size);
    }
    return h;
}

std::vector<Argb> ReadColourTable(ByteReader& in, const DibHeader& h) {
    if (h.bitCount > 8) return {};
    const std::uint32_t full = 1u << h.bitCount;
    const std::uint32_t count = h.coloursUsed == 0 || h.coloursUsed > full ? full : h.coloursUsed;
    std::vector<Argb> table(full, 0xFF000000u);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* bgr = in.Bytes(h.core ? 3 : 4);
        table[i] =
            0xFF000000u | static_cast<Argb>(bgr[2]) << 16 | static_cast<Argb>(bgr[1]) << 8 | bgr[0];
    }
    return table;
}

std::uint32_t LoadPixelBits(const std::uint8_t* row, long long x, int bitCount) {
    const auto at = static_cast<std::size_t>(x);
    switch (bitCount) {
        case 1:
            return (row[at / 8] >> (7 - at % 8)) & 1u;
        case 4:
            return (row[at / 2] >> (at % 2 == 0 ? 4 : 0)) & 0xFu;
        case 8:
            return row[at];
        case 16:
            return static_cast<std::uint32_t>(row[at * 2] | row[at * 2 + 1] << 8);
        case 24:
            return static_cast<std::uint32_t>(row[at * 3] | row[at * 3 + 1] << 8 |
                                              row[at * 3 + 2] << 16);
        default:
            return static_cast<std::uint32_t>(row[at * 4]) |
                   static_cast<std::uint32_t>(row[at * 4 + 1]) << 8 |
                   static_cast<std::uint32_t>(row[at * 4 + 2]) << 16 |
                   static_cast<std::uint32_t>(row[at * 4 + 3]) << 24;
    }
}

// Run-length coded colour indices, in the order rows are stored: a count
// and an index (two alternating indices for 4 bits) repeated, or after a
// zero count an escape: 0 ends the row, 1 the bitmap, 2 moves right and up
// by the next two bytes, 3 or more gives that many indices as they are,
// padded to a word. Pixels no run reaches keep index 0; a run past the
// row's end is cut there, and data that stops early ends the bitmap.
std::vector<std::uint8_t> ExpandRuns(ByteReader& in, const DibHeader& h, long long rows) {
    const auto width = static_cast<std::size_t>(h.width);
    const auto height = static_cast<std::size_t>(rows);
    const bool nibbles = h.compression == kRle4;
    std::vector<std::uint8_t> indices(width * height, 0);
    std::size_t x = 0;
    std::size_t y = 0;
    auto put = [&](unsigned index) {
        if (x < width && y < height) indices[y * width + x] = static_cast<std::uint8_t>(index);
        ++x;
    };
    auto nibble = [](unsigned byte, unsigned i) { return i % 2 == 0 ? byte >> 4 : byte & 0xFu; };
    while (y < height && in.Remaining() >= 2) {
        const unsigned count = in.U8();
        const unsigned value = in.U8();
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) put(nibbles ? nibble(value, i) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (in.Remaining() < 2) break;
            x += in.U8();
            y += in.U8();
        } else {
            const std::size_t bytes = nibbles ? (value + 1) / 2 : value;
            if (in.Remaining() < bytes) break;
            const std::uint8_t* run = in.Bytes(bytes);
            for (unsigned i = 0; i < value; ++i) put(nibbles ? nibble(run[i / 2], i) : run[i]);
            if (bytes % 2 != 0 && in.Remaining() > 0) in.Skip(1);
        }
    }
    return indices;
}

}  // namespace

PictureFrame DecodeDib(ByteReader& in, std::optional<std::size_t> pixelOffset,
                       const PictureLimits& limits, int& width, int& height) {
    const bool isIcon = !pixelOffset.has_value();
    const DibHeader h = ReadHeader(in);
    const bool topDown = h.height < 0;
    long long rows = topDown ? -h.height : h.height;
    if (isIcon) rows /= 2;
    switch (h.bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            throw EInvalidGraphic("unsupported bitmap depth " + std::to_string(h.bitCount));
    }
    const bool runs = !isIcon && ((h.compression == kRle8 && h.bitCount == 8) ||
                                  (h.compression == kRle4 && h.bitCount == 4));
    if (h.compression != kRgb && !runs &&
        !(h.compression == kBitFields && (h.bitCount == 16 || h.bitCount == 32))) {
        throw EInvalidGraphic("unsupported bitmap compression " + std::to_string(h.compression));
    }
    const std::size_t pixels = CheckedPixelCount(h.width, rows, 1, limits);
    width = static_cast<int>(h.width);
    height = static_cast<int>(rows);
    const std::vector<Argb> table = ReadColourTable(in, h);
    // A file's pixels start where its header says, which may leave a gap
    // after the colour table.
    if (pixelOffset) in.Seek(*pixelOffset);
    Mask red(0x7C00), green(0x03E0), blue(0x001F);
    if (h.bitCount >= 24) red = Mask(0xFF0000), green = Mask(0xFF00), blue = Mask(0xFF);
    if (h.compression == kBitFields)
        red = Mask(h.masks[0]), green = Mask(h.masks[1]), blue = Mask(h.masks[2]);

    const std::size_t stride =
        (static_cast<std::size_t>(h.width) * static_cast<std::size_t>(h.bitCount) + 31) / 32 * 4;
    const std::size_t uwidth = static_cast<std::size_t>(width);
    PictureFrame frame;
    frame.pixels.assign(pixels, 0);
    const std::vector<std::uint8_t> expanded =
        runs ? ExpandRuns(in, h, rows) : std::vector<std::uint8_t>();
    bool anyAlpha = false;
    for (long long r = 0; r < rows; ++r) {
        const std::uint8_t* row =
            runs ? expanded.data() + static_cast<std::size_t>(r) * uwidth : in.Bytes(stride);
        const auto y = static_cast<std::size_t>(topDown ? r : rows - 1 - r);
        for (long long x = 0; x < h.width; ++x) {
            const std::uint32_t bits = runs ? row[x] : LoadPixelBits(row, x, h.bitCount);
            Argb& out = frame.pixels[y * uwidth + static_cast<std::size_t>(x)];
            if (h.bitCount <= 8) {
                out = table[bits];
            } else {
                out = 0xFF000000u | static_cast<Argb>(red.Channel(bits)) << 16 |
                      static_cast<Argb>(green.Channel(bits)) << 8 | blue.Channel(bits);
                // Icons keep an alpha channel in the fourth byte of 32-bit
                // pixels; bitmaps ignore it, as the system does.
                if (isIcon && h.bitCount == 32) {
                    const Argb alpha = bits >> 24;
                    anyAlpha = anyAlpha || alpha != 0;
                    out = (out & 0x00FFFFFFu) | alpha << 24;
                }
            }
        }
    }
    if (!isIcon) return frame;
    if (anyAlpha) return frame;
    // The AND mask: a set bit makes the pixel transparent. A missing mask
    // leaves the icon opaque.
    const std::size_t maskStride = (uwidth + 31) / 32 * 4;
    for (long long r = 0; r < rows; ++r) {
        const auto y = static_cast<std::size_t>(topDown ? r : rows - 1 - r);
        const std::uint8_t* row = in.Remaining() >= maskStride ? in.Bytes(maskStride) : nullptr;
        for (std::size_t x = 0; x < uwidth; ++x) {
            Argb& out = frame.pixels[y * uwidth + x];
            const bool transparent = row != nullptr && ((row[x / 8] >> (7 - x % 8)) & 1u) != 0;
            out = transparent ? 0 : (out | 0xFF000000u);
        }
    }
    return frame;
}

Picture DecodeBmp(ByteReader& in, const PictureLimits& limits) {
    if (in.U8() != 'B' || in.U8() != 'M') throw EInvalidGraphic("not a bitmap file");
    in.Seek(kPixelOffsetField);
    const std::size_t pixelOffset = in.U32();
    in.Seek(kFileHeaderSize);
    Picture picture;
    picture.frames.push_back(DecodeDib(in, pixelOffset, limits, picture.width, picture.height));
    return picture;
}

}  // namespace kav::widgets::picture
