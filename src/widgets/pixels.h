#pragma once
// Colour values as pixels, and the blending of picture frames into a 32-bit
// pixel surface, shared by the headless raster and the Win32 memory bitmap
// so that a picture looks the same on both.
#include <cstddef>

#include "widgets/picture/picture.h"
#include "widgets/types.h"

namespace kav::widgets {

// The model's colour (system colours resolved to the classic Windows
// scheme) as an opaque pixel.
Argb ToArgb(Color color);
// The plain RGB colour value (red in the lowest byte) of a system colour
// in the classic scheme, or `color` itself when it is not a system colour.
Color ResolveSystemColor(Color color);

// A pixel surface: `pixels` holds `height` rows of `width` pixels.
struct PixelSurface {
    Argb* pixels;
    int width;
    int height;
};

// Draws `frame` of `picture` with its top-left corner at (x, y), only inside
// `clip` (in surface coordinates), blending by each pixel's alpha.
void BlendFrame(PixelSurface target, const Bounds& clip, int x, int y, const Picture& picture,
                std::size_t frame);

// The intersection of two rectangles (empty ones have no width or height).
Bounds Intersect(const Bounds& a, const Bounds& b);

}  // namespace kav::widgets
