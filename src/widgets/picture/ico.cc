// Icon files: a directory of images, of which the one nearest the standard
// 32 x 32 size (then the one with the most colours) is shown, as the system
// picks an icon's image for a window.
#include <cstdlib>
#include <cstring>

#include "widgets/picture/decoders.h"

namespace kav::widgets::picture {
namespace {

constexpr int kStandardIconSide = 32;
constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G'};

struct Entry {
    int side;
    int bitCount;
    std::uint32_t size;
    std::uint32_t offset;
};

// Nearer the standard side first, then deeper colour.
bool Better(const Entry& a, const Entry& b) {
    const int da = std::abs(a.side - kStandardIconSide);
    const int db = std::abs(b.side - kStandardIconSide);
    if (da != db) return da < db;
    return a.bitCount > b.bitCount;
}

}  // namespace

Picture DecodeIco(ByteReader& in, const PictureLimits& limits) {
    const std::uint16_t reserved = in.U16();
    const std::uint16_t type = in.U16();
    const std::uint16_t count = in.U16();
    if (reserved != 0 || (type != 1 && type != 2) || count == 0) {
        throw EInvalidGraphic("not an icon file");
    }
    const Entry* best = nullptr;
    Entry chosen{};
    for (std::uint16_t i = 0; i < count; ++i) {
        in.Seek(kDirectoryHeaderSize + i * kEntrySize);
        const std::uint8_t* e = in.Bytes(kEntrySize);
        Entry entry{e[0] == 0 ? 256 : e[0], e[6] | e[7] << 8,
                    static_cast<std::uint32_t>(e[8] | e[9] << 8 | e[10] << 16) |
                        static_cast<std::uint32_t>(e[11]) << 24,
                    static_cast<std::uint32_t>(e[12] | e[13] << 8 | e[14] << 16) |
                        static_cast<std::uint32_t>(e[15]) << 24};
        if (entry.offset >= in.Size() || in.Size() - entry.offset < sizeof kPngSignature) continue;
        in.Seek(entry.offset);
        // Images stored as PNG (large Vista icons) are not decoded here.
        if (std::memcmp(in.Bytes(sizeof kPngSignature), kPngSignature, sizeof kPngSignature) == 0)
            continue;
        if (best == nullptr || Better(entry, chosen)) {
            chosen = entry;
            best = &chosen;
        }
    }
    if (best == nullptr) throw EInvalidGraphic("the icon holds no image that can be shown");
    in.Seek(chosen.offset);
    Picture picture;
    picture.frames.push_back(DecodeDib(in, std::nullopt, limits, picture.width, picture.height));
    return picture;
}

}  // namespace kav::widgets::picture
