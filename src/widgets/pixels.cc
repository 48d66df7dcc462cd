#include "widgets/pixels.h"

#include <algorithm>

namespace kav::widgets {
namespace {

// The classic Windows scheme, indexed by the system colour number.
constexpr Color kClassicScheme[] = {
    0xC0C0C0,  //  0 scroll bar
    0x808000,  //  1 background
    0x800000,  //  2 active caption
    0x808080,  //  3 inactive caption
    0xC0C0C0,  //  4 menu
    0xFFFFFF,  //  5 window
    0x000000,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0xFFFFFF,  //  9 caption text
    0xC0C0C0,  // 10 active border
    0xC0C0C0,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x800000,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xC0C0C0,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC0C0C0,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
};

}  // namespace

Color ResolveSystemColor(Color color) {
    if ((color & 0xFF000000u) != 0x80000000u) return color & 0x00FFFFFFu;
    const std::size_t index = color & 0xFFu;
    return index < std::size(kClassicScheme) ? kClassicScheme[index] : 0;
}

Argb ToArgb(Color color) {
    const Color rgb = ResolveSystemColor(color);
    return 0xFF000000u | (rgb & 0xFFu) << 16 | (rgb & 0xFF00u) | (rgb >> 16 & 0xFFu);
}

Bounds Intersect(const Bounds& a, const Bounds& b) {
    const int left = std::max(a.left, b.left);
    const int top = std::max(a.top, b.top);
    const int right = std::min(a.left + a.width, b.left + b.width);
    const int bottom = std::min(a.top + a.height, b.top + b.height);
    return Bounds{left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

void BlendFrame(PixelSurface target, const Bounds& clip, int x, int y, const Picture& picture,
                std::size_t frame) {
    if (frame >= picture.frames.size()) return;
    const Bounds area = Intersect(Intersect(clip, Bounds{0, 0, target.width, target.height}),
                                  Bounds{x, y, picture.width, picture.height});
    for (int ty = area.top; ty < area.top + area.height; ++ty) {
        Argb* row =
            target.pixels + static_cast<std::size_t>(ty) * static_cast<std::size_t>(target.width);
        for (int tx = area.left; tx < area.left + area.width; ++tx) {
            const Argb source = picture.At(frame, tx - x, ty - y);
            const unsigned alpha = source >> 24;
            if (alpha == 0) continue;
            if (alpha == 255) {
                row[tx] = source;
                continue;
            }
            const Argb below = row[tx];
            Argb mixed = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const unsigned s = source >> shift & 0xFFu;
                const unsigned d = below >> shift & 0xFFu;
                mixed |= ((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
            }
            row[tx] = mixed;
        }
    }
}

}  // namespace kav::widgets
