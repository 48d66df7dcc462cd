#pragma once
// The decoders behind DecodePicture, one per file format.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "widgets/picture/byte_reader.h"
#include "widgets/picture/picture.h"

namespace kav::widgets::picture {

Picture DecodeGif(ByteReader& in, const PictureLimits& limits);
Picture DecodeBmp(ByteReader& in, const PictureLimits& limits);
Picture DecodeIco(ByteReader& in, const PictureLimits& limits);
// JPEG and PNG go through a picture library.
bool IsJpegOrPng(const std::uint8_t* data, std::size_t size);
Picture DecodeJpegOrPng(const std::uint8_t* data, std::size_t size, const PictureLimits& limits);

// A device-independent bitmap starting at the reader's position (its
// header and colour table), as BMP files and icons hold them. A BMP file
// gives where its pixels start; an icon's pixels follow the colour table,
// its bitmap is twice as high as the icon and is followed by a transparency
// mask (no `pixelOffset` means an icon's bitmap).
PictureFrame DecodeDib(ByteReader& in, std::optional<std::size_t> pixelOffset,
                       const PictureLimits& limits, int& width, int& height);

// Checks a picture's size against the limits before anything is allocated;
// returns the number of pixels of one frame.
std::size_t CheckedPixelCount(long long width, long long height, std::size_t frames,
                              const PictureLimits& limits);

}  // namespace kav::widgets::picture
