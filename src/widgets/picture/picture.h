#pragma once
// A decoded picture: one frame for a bitmap or an icon, every frame of an
// animated GIF, each frame a whole picture with the earlier frames' disposal
// already applied, so that a frame can be drawn on its own.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/exception.h"

namespace kav::platform {
class FileSystem;
}

namespace kav::widgets {

// One pixel: alpha in the top byte, then red, green and blue, the order a
// 32-bit Windows device-independent bitmap keeps in memory. Alpha 0 is
// fully transparent, 255 opaque.
using Argb = std::uint32_t;

struct PictureFrame {
    std::vector<Argb> pixels;  // width * height, row by row from the top
    unsigned delayMs = 0;      // how long the frame stays before the next one
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<PictureFrame> frames;
    // How often the animation is played again after its first run; -1 for
    // ever. Files without a loop count play once.
    int repeats = 0;

    Argb At(std::size_t frame, int x, int y) const {
        return frames[frame].pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                    static_cast<std::size_t>(x)];
    }
};

// A picture file that cannot be read or decoded. The message names the file
// when the picture came from one.
class EInvalidGraphic : public kav::Exception {
public:
    using kav::Exception::Exception;
};

// Bounds on what a decoder may allocate, so that a hostile header cannot
// exhaust the memory of a 32-bit process.
struct PictureLimits {
    std::size_t maxPixelBytes = 64u << 20;  // all frames together
    int maxSide = 16384;
};

// Decodes GIF, BMP, ICO, JPEG or PNG data, told apart by their signatures.
Picture DecodePicture(const std::uint8_t* data, std::size_t size, const PictureLimits& limits = {});
// Reads and decodes a picture file; throws EInvalidGraphic naming the file.
std::shared_ptr<const Picture> LoadPictureFile(platform::FileSystem& files,
                                               const std::string& path);

}  // namespace kav::widgets
