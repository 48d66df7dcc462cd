// GIF 87a/89a: every image of the file becomes one frame, composed onto the
// logical screen with the transparency and disposal of its graphic control
// extension; the NETSCAPE2.0 application extension gives the loop count.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "widgets/picture/decoders.h"

namespace kav::widgets::picture {
namespace {

constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImage = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControl = 0xF9;
constexpr std::uint8_t kApplication = 0xFF;
constexpr int kMaxCodeBits = 12;
// Browsers show frames with no or a very short delay for 100 ms; so do we.
constexpr unsigned kShortestDelayMs = 20;
constexpr unsigned kDefaultDelayMs = 100;

enum class Disposal { Keep, RestoreBackground, RestorePrevious };

struct GraphicControl {
    Disposal disposal = Disposal::Keep;
    int transparentIndex = -1;
    unsigned delayMs = 0;
};

using Palette = std::vector<Argb>;

Palette ReadPalette(ByteReader& in, int entries) {
    Palette palette(static_cast<std::size_t>(entries));
    for (Argb& colour : palette) {
        const std::uint8_t* rgb = in.Bytes(3);
        colour =
            0xFF000000u | static_cast<Argb>(rgb[0]) << 16 | static_cast<Argb>(rgb[1]) << 8 | rgb[2];
    }
    return palette;
}

// The data sub-blocks that follow an image or extension, joined.
std::vector<std::uint8_t> ReadSubBlocks(ByteReader& in) {
    std::vector<std::uint8_t> data;
    while (in.Remaining() > 0) {
        const std::uint8_t length = in.U8();
        if (length == 0) break;
        const std::size_t available = std::min<std::size_t>(length, in.Remaining());
        const std::uint8_t* bytes = in.Bytes(available);
        data.insert(data.end(), bytes, bytes + available);
    }
    return data;
}

void SkipSubBlocks(ByteReader& in) {
    while (in.Remaining() > 0) {
        const std::uint8_t length = in.U8();
        if (length == 0) break;
        in.Skip(std::min<std::size_t>(length, in.Remaining()));
    }
}

// Decodes the LZW code stream into `indexes` (one per pixel of the image,
// already sized) and returns how many were decoded. A stream that ends
// early or holds an impossible code leaves the rest of the image as the
// screen was, as viewers show truncated files.
std::size_t DecodeLzw(const std::vector<std::uint8_t>& data, int minCodeSize,
                      std::vector<std::uint8_t>& indexes) {
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    std::array<std::uint16_t, 1 << kMaxCodeBits> prefix{};
    std::array<std::uint8_t, 1 << kMaxCodeBits> suffix{};
    std::array<std::uint8_t, 1 << kMaxCodeBits> stack{};
    for (int i = 0; i < clear; ++i)
        suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);

    int codeSize = minCodeSize + 1;
    int next = end + 1;
    int previous = -1;
    std::uint8_t first = 0;
    std::uint32_t bits = 0;
    int bitCount = 0;
    std::size_t in = 0;
    std::size_t out = 0;
    while (out < indexes.size()) {
        while (bitCount < codeSize) {
            if (in == data.size()) return out;
            bits |= static_cast<std::uint32_t>(data[in++]) << bitCount;
            bitCount += 8;
        }
        const int code = static_cast<int>(bits & ((1u << codeSize) - 1));
        bits >>= codeSize;
        bitCount -= codeSize;
        if (code == clear) {
            codeSize = minCodeSize + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (code == end) return out;
        if (previous < 0) {
            if (code >= clear) return out;
            first = static_cast<std::uint8_t>(code);
            indexes[out++] = first;
            previous = code;
            continue;
        }
        if (code > next) return out;
        std::size_t depth = 0;
        int walk = code;
        if (code == next) {
            stack[depth++] = first;
            walk = previous;
        }
        while (walk >= clear) {
            stack[depth++] = suffix[static_cast<std::size_t>(walk)];
            walk = prefix[static_cast<std::size_t>(walk)];
        }
        first = static_cast<std::uint8_t>(walk);
        stack[depth++] = first;
        while (depth > 0 && out < indexes.size()) indexes[out++] = stack[--depth];
        if (next < (1 << kMaxCodeBits)) {
            prefix[static_cast<std::size_t>(next)] = static_cast<std::uint16_t>(previous);
            suffix[static_cast<std::size_t>(next)] = first;
            ++next;
            if (next == (1 << codeSize) && codeSize < kMaxCodeBits) ++codeSize;
        }
        previous = code;
    }
    return out;
}

// The row of the image that the n-th decoded row is, for interlaced images.
int InterlacedRow(int n, int height) {
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows =
            height > kStart[pass] ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
        if (n < rows) return kStart[pass] + n * kStep[pass];
        n -= rows;
    }
    return height - 1;
}

class GifDecoder {
public:
    GifDecoder(ByteReader& in, const PictureLimits& limits) : in_(in), limits_(limits) {}

    Picture Decode() {
        const std::uint8_t* signature = in_.Bytes(6);
        if (std::memcmp(signature, "GIF87a", 6) != 0 && std::memcmp(signature, "GIF89a", 6) != 0) {
            throw EInvalidGraphic("not a GIF file");
        }
        picture_.width = in_.U16();
        picture_.height = in_.U16();
        const std::uint8_t flags = in_.U8();
        in_.Skip(2);  // background colour index and aspect ratio
        pixelCount_ = CheckedPixelCount(picture_.width, picture_.height, 1, limits_);
        if (flags & 0x80) global_ = ReadPalette(in_, 2 << (flags & 7));
        screen_.assign(pixelCount_, 0);

        while (in_.Remaining() > 0) {
            const std::uint8_t block = in_.U8();
            if (block == kTrailer) break;
            if (block == kExtension) {
                ReadExtension();
            } else if (block == kImage) {
                ReadImage();
            } else {
                break;  // garbage after the last image: what was decoded stands
            }
        }
        if (picture_.frames.empty()) throw EInvalidGraphic("the GIF file holds no image");
        return std::move(picture_);
    }

private:
    void ReadExtension() {
        const std::uint8_t label = in_.U8();
        if (label == kGraphicControl) {
            const std::vector<std::uint8_t> block = ReadSubBlocks(in_);
            if (block.size() >= 4) {
                const int disposal = (block[0] >> 2) & 7;
                control_.disposal = disposal == 2   ? Disposal::RestoreBackground
                                    : disposal == 3 ? Disposal::RestorePrevious
                                                    : Disposal::Keep;
                control_.transparentIndex = (block[0] & 1) ? block[3] : -1;
                control_.delayMs = 10u * static_cast<unsigned>(block[1] | block[2] << 8);
            }
            return;
        }
        if (label == kApplication) {
            const std::vector<std::uint8_t> block = ReadSubBlocks(in_);
            // "NETSCAPE2.0" (or "ANIMEXTS1.0"), then sub-block 1 with the count.
            if (block.size() >= 14 &&
                (std::memcmp(block.data(), "NETSCAPE2.0", 11) == 0 ||
                 std::memcmp(block.data(), "ANIMEXTS1.0", 11) == 0) &&
                block[11] == 1) {
                const int count = block[12] | block[13] << 8;
                picture_.repeats = count == 0 ? -1 : count;
            }
            return;
        }
        SkipSubBlocks(in_);
    }

    void ReadImage() {
        const int left = in_.U16();
        const int top = in_.U16();
        const int width = in_.U16();
        const int height = in_.U16();
        const std::uint8_t flags = in_.U8();
        const Palette local = (flags & 0x80) ? ReadPalette(in_, 2 << (flags & 7)) : Palette{};
        const Palette& palette = (flags & 0x80) ? local : global_;
        const int minCodeSize = in_.U8();
        if (minCodeSize < 1 || minCodeSize >= kMaxCodeBits) {
            throw EInvalidGraphic("bad LZW code size in GIF image");
        }
        const std::vector<std::uint8_t> data = ReadSubBlocks(in_);
        CheckedPixelCount(picture_.width, picture_.height, picture_.frames.size() + 1, limits_);
        const std::size_t imagePixels = CheckedPixelCount(width, height, 1, limits_);
        std::vector<std::uint8_t> indexes(imagePixels);
        const std::size_t decoded = DecodeLzw(data, minCodeSize, indexes);

        std::vector<Argb> before;
        if (control_.disposal == Disposal::RestorePrevious) before = screen_;
        const bool interlaced = (flags & 0x40) != 0;
        for (int n = 0; n < height; ++n) {
            const int row = interlaced ? InterlacedRow(n, height) : n;
            const int y = top + row;
            if (y >= picture_.height) continue;
            for (int column = 0; column < width; ++column) {
                const int x = left + column;
                if (x >= picture_.width) break;
                const std::size_t at =
                    static_cast<std::size_t>(n) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(column);
                if (at >= decoded) break;
                const std::uint8_t index = indexes[at];
                if (index == control_.transparentIndex) continue;
                screen_[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture_.width) +
                        static_cast<std::size_t>(x)] =
                    index < palette.size() ? palette[index] : 0xFF000000u;
            }
        }
        const unsigned delay =
            control_.delayMs < kShortestDelayMs ? kDefaultDelayMs : control_.delayMs;
        picture_.frames.push_back(PictureFrame{screen_, delay});

        if (control_.disposal == Disposal::RestoreBackground) {
            for (int y = top; y < std::min(top + height, picture_.height); ++y) {
                for (int x = left; x < std::min(left + width, picture_.width); ++x) {
                    screen_[static_cast<std::size_t>(y) * static_cast<std::size_t>(picture_.width) +
                            static_cast<std::size_t>(x)] = 0;
                }
            }
        } else if (control_.disposal == Disposal::RestorePrevious) {
            screen_ = std::move(before);
        }
        control_ = GraphicControl{};  // an extension applies to the next image only
    }

    ByteReader& in_;
    const PictureLimits& limits_;
    Picture picture_;
    Palette global_;
    std::vector<Argb> screen_;
    std::size_t pixelCount_ = 0;
    GraphicControl control_;
};

}  // namespace

Picture DecodeGif(ByteReader& in, const PictureLimits& limits) {
    return GifDecoder(in, limits).Decode();
}

}  // namespace kav::widgets::picture
