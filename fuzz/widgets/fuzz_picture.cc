// Any bytes given to the picture loader either decode into frames that
// match the picture's size or are refused with EInvalidGraphic.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "widgets/picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A small budget keeps each run fast; the limits are what is tested.
    const kav::widgets::PictureLimits limits{1u << 20, 1024};
    try {
        const kav::widgets::Picture picture = kav::widgets::DecodePicture(data, size, limits);
        const auto pixels =
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
        if (picture.frames.empty()) std::abort();
        for (const auto& frame : picture.frames) {
            if (frame.pixels.size() != pixels) std::abort();
        }
    } catch (const kav::widgets::EInvalidGraphic&) {
    }
    return 0;
}
