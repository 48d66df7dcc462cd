// PNG files, decoded by stb_image (Debian's libstb-dev): its decoder is
// built here alone, reading from memory. A JPEG is recognised but refused:
// the packaged stb_image's JPEG decoder reads out of bounds on damaged
// files (found by the picture fuzz target), so such a picture is left out
// like any other that cannot be shown.
#include <cstdlib>
#include <cstring>
#include <string>

#include "widgets/picture/decoders.h"

namespace kav::widgets::picture {
namespace {

// The largest block stb_image may allocate while one picture is decoded. It
// sizes its buffers from the file's chunk lengths and grows the inflated
// data by doubling, so a few hostile bytes could otherwise ask for
// gigabytes; a refused allocation is reported by stb_image as a failure.
thread_local std::size_t allocationBudget = 0;

void* BoundedMalloc(std::size_t size) {
    return size <= allocationBudget ? std::malloc(size) : nullptr;
}

void* BoundedRealloc(void* block, std::size_t size) {
    return size <= allocationBudget ? std::realloc(block, size) : nullptr;
}

// Sets the budget for the decoding of one picture and clears it after.
class AllocationBudget {
public:
    explicit AllocationBudget(std::size_t bytes) { allocationBudget = bytes; }
    void Raise(std::size_t bytes) { allocationBudget = bytes; }
    ~AllocationBudget() { allocationBudget = 0; }
    AllocationBudget(const AllocationBudget&) = delete;
    AllocationBudget& operator=(const AllocationBudget&) = delete;
};

}  // namespace
}  // namespace kav::widgets::picture

#define STBI_MALLOC(size) kav::widgets::picture::BoundedMalloc(size)
#define STBI_REALLOC(block, size) kav::widgets::picture::BoundedRealloc(block, size)
#define STBI_FREE(block) std::free(block)
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>

namespace kav::widgets::picture {

bool IsJpegOrPng(const std::uint8_t* data, std::size_t size) {
    static const std::uint8_t kJpeg[] = {0xFF, 0xD8, 0xFF};
    static const std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return (size >= sizeof kJpeg && std::memcmp(data, kJpeg, sizeof kJpeg) == 0) ||
           (size >= sizeof kPng && std::memcmp(data, kPng, sizeof kPng) == 0);
}

Picture DecodeJpegOrPng(const std::uint8_t* data, std::size_t size, const PictureLimits& limits) {
    if (size > static_cast<std::size_t>(INT32_MAX)) throw EInvalidGraphic("the file is too large");
    static const std::uint8_t kJpeg[] = {0xFF, 0xD8, 0xFF};
    if (size >= sizeof kJpeg && std::memcmp(data, kJpeg, sizeof kJpeg) == 0)
        throw EInvalidGraphic("JPEG pictures are not shown; save the picture as PNG, BMP or GIF");
    const int length = static_cast<int>(size);
    int width = 0;
    int height = 0;
    int channels = 0;
    // The compressed data is at most the file; the inflated rows at most
    // eight bytes a pixel and a filter byte a row. Growing by doubling may
    // reach twice either.
    AllocationBudget budget(2 * size + (64u << 10));
    // The size is checked against the limits before any pixel is decoded.
    if (!stbi_info_from_memory(data, length, &width, &height, &channels))
        throw EInvalidGraphic(std::string("the picture cannot be decoded: ") +
                              stbi_failure_reason());
    const std::size_t pixels = CheckedPixelCount(width, height, 1, limits);
    constexpr std::size_t kMostBytesPerPixel = 8;
    budget.Raise(2 * size + 2 * (kMostBytesPerPixel * pixels + height) + (64u << 10));
    constexpr int kRgba = 4;
    int loadedWidth = 0;
    int loadedHeight = 0;
    stbi_uc* rgba =
        stbi_load_from_memory(data, length, &loadedWidth, &loadedHeight, &channels, kRgba);
    if (rgba == nullptr)
        throw EInvalidGraphic(std::string("the picture cannot be decoded: ") +
                              stbi_failure_reason());
    if (loadedWidth != width || loadedHeight != height) {
        stbi_image_free(rgba);
        throw EInvalidGraphic("the picture's size changed while it was decoded");
    }
    Picture picture;
    picture.width = width;
    picture.height = height;
    PictureFrame frame;
    frame.pixels.resize(pixels);
    for (std::size_t i = 0; i < pixels; ++i) {
        const stbi_uc* p = rgba + i * kRgba;
        frame.pixels[i] = static_cast<Argb>(p[3]) << 24 | static_cast<Argb>(p[0]) << 16 |
                          static_cast<Argb>(p[1]) << 8 | p[2];
    }
    stbi_image_free(rgba);
    picture.frames.push_back(std::move(frame));
    return picture;
}

}  // namespace kav::widgets::picture
