#include "picture_files.h"

namespace kav::widgets::testing {
namespace {

void Put16(Bytes& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// LZW with 2-bit roots (code size 3), a clear code after every few codes so
// that the code size never grows.
Bytes CodeIndexes(const std::vector<std::uint8_t>& indexes) {
    constexpr int kMinCodeSize = 2;
    constexpr unsigned kClear = 1u << kMinCodeSize;
    Bytes data;
    std::uint32_t bits = 0;
    int count = 0;
    auto emit = [&](unsigned code) {
        bits |= code << count;
        count += kMinCodeSize + 1;
        while (count >= 8) {
            data.push_back(static_cast<std::uint8_t>(bits));
            bits >>= 8;
            count -= 8;
        }
    };
    emit(kClear);
    int sinceClear = 0;
    for (std::uint8_t index : indexes) {
        emit(index);
        if (++sinceClear == 2) {  // codes 6 and 7 are the last of 3 bits
            emit(kClear);
            sinceClear = 0;
        }
    }
    emit(kClear + 1);
    if (count > 0) data.push_back(static_cast<std::uint8_t>(bits));
    Bytes blocks{kMinCodeSize};
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - i);
        blocks.push_back(static_cast<std::uint8_t>(n));
        blocks.insert(blocks.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                      data.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    blocks.push_back(0);
    return blocks;
}

}  // namespace

Bytes MakeGif(int width, int height, const std::vector<std::uint32_t>& palette,
              const std::vector<GifFrame>& frames, int loops) {
    Bytes out{'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, static_cast<unsigned>(width));
    Put16(out, static_cast<unsigned>(height));
    out.push_back(0x80 | 0x01);  // global palette of 4
    out.push_back(0);
    out.push_back(0);
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t c =
            i < static_cast<int>(palette.size()) ? palette[static_cast<std::size_t>(i)] : 0;
        out.push_back(static_cast<std::uint8_t>(c >> 16));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c));
    }
    if (loops >= 0) {
        const std::string app = "NETSCAPE2.0";
        out.insert(out.end(), {0x21, 0xFF, 11});
        out.insert(out.end(), app.begin(), app.end());
        out.insert(out.end(), {3, 1});
        Put16(out, static_cast<unsigned>(loops));
        out.push_back(0);
    }
    for (const GifFrame& f : frames) {
        out.insert(out.end(), {0x21, 0xF9, 4});
        out.push_back(
            static_cast<std::uint8_t>(f.disposal << 2 | (f.transparentIndex >= 0 ? 1 : 0)));
        Put16(out, static_cast<unsigned>(f.delayCs));
        out.push_back(static_cast<std::uint8_t>(f.transparentIndex >= 0 ? f.transparentIndex : 0));
        out.push_back(0);
        out.push_back(0x2C);
        Put16(out, static_cast<unsigned>(f.left));
        Put16(out, static_cast<unsigned>(f.top));
        Put16(out, static_cast<unsigned>(f.width));
        Put16(out, static_cast<unsigned>(f.height));
        out.push_back(f.interlaced ? 0x40 : 0);
        const Bytes coded = CodeIndexes(f.indexes);
        out.insert(out.end(), coded.begin(), coded.end());
    }
    out.push_back(0x3B);
    return out;
}

Bytes MakeBmp24(int width, int height, const std::vector<std::uint32_t>& pixels) {
    const auto stride = static_cast<std::uint32_t>((width * 3 + 3) / 4 * 4);
    Bytes out{'B', 'M'};
    Put32(out, 54 + stride * static_cast<std::uint32_t>(height));
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, 24);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = pixels[static_cast<std::size_t>(y * width + x)];
            out.push_back(static_cast<std::uint8_t>(c));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
            out.push_back(static_cast<std::uint8_t>(c >> 16));
        }
        for (auto pad = static_cast<std::uint32_t>(width * 3); pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

Bytes MakeRleBmp(int bitCount, int width, int height, const std::vector<std::uint32_t>& palette,
                 const Bytes& runs) {
    const auto offset = static_cast<std::uint32_t>(54 + palette.size() * 4);
    Bytes out{'B', 'M'};
    Put32(out, offset + static_cast<std::uint32_t>(runs.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bitCount));
    Put32(out, bitCount == 8 ? 1 : 2);  // BI_RLE8, BI_RLE4
    Put32(out, static_cast<std::uint32_t>(runs.size()));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(palette.size()));
    Put32(out, 0);
    for (std::uint32_t c : palette) Put32(out, c);
    out.insert(out.end(), runs.begin(), runs.end());
    return out;
}

Bytes MakeIco32(int side, const std::vector<std::uint32_t>& pixels) {
    const auto maskStride = static_cast<std::uint32_t>((side + 31) / 32 * 4);
    const auto imageSize = 40 + static_cast<std::uint32_t>(side * side * 4) +
                           maskStride * static_cast<std::uint32_t>(side);
    Bytes out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 1);
    out.insert(out.end(), {static_cast<std::uint8_t>(side), static_cast<std::uint8_t>(side), 0, 0});
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, imageSize);
    Put32(out, 22);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(side));
    Put32(out, static_cast<std::uint32_t>(side * 2));
    Put16(out, 1);
    Put16(out, 32);
    for (int i = 0; i < 6; ++i) Put32(out, 0);
    for (int y = side - 1; y >= 0; --y) {
        for (int x = 0; x < side; ++x) Put32(out, pixels[static_cast<std::size_t>(y * side + x)]);
    }
    for (std::uint32_t i = 0; i < maskStride * static_cast<std::uint32_t>(side); ++i)
        out.push_back(0);
    return out;
}

}  // namespace kav::widgets::testing
