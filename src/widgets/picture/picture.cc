#include "widgets/picture/picture.h"

#include <cstring>
#include <vector>

#include "platform/file_system.h"
#include "platform/stream.h"
#include "widgets/picture/decoders.h"

namespace kav::widgets {
namespace picture {

std::size_t CheckedPixelCount(long long width, long long height, std::size_t frames,
                              const PictureLimits& limits) {
    if (width <= 0 || height <= 0) throw EInvalidGraphic("the picture has no pixels");
    if (width > limits.maxSide || height > limits.maxSide) {
        throw EInvalidGraphic("the picture is too large");
    }
    const auto pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (pixels > limits.maxPixelBytes / sizeof(Argb) / frames) {
        throw EInvalidGraphic("the picture is too large");
    }
    return pixels;
}

}  // namespace picture

Picture DecodePicture(const std::uint8_t* data, std::size_t size, const PictureLimits& limits) {
    picture::ByteReader in(data, size);
    if (size >= 6 && std::memcmp(data, "GIF8", 4) == 0) return picture::DecodeGif(in, limits);
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return picture::DecodeBmp(in, limits);
    if (size >= 4 && data[0] == 0 && data[1] == 0 && (data[2] == 1 || data[2] == 2) &&
        data[3] == 0) {
        return picture::DecodeIco(in, limits);
    }
    if (picture::IsJpegOrPng(data, size)) return picture::DecodeJpegOrPng(data, size, limits);
    throw EInvalidGraphic("unknown picture format");
}

std::shared_ptr<const Picture> LoadPictureFile(platform::FileSystem& files,
                                               const std::string& path) {
    std::vector<std::uint8_t> bytes;
    try {
        std::unique_ptr<platform::FileStream> stream = files.OpenRead(path);
        const std::int64_t size = stream->Size();
        if (size < 0 || static_cast<std::uint64_t>(size) > PictureLimits{}.maxPixelBytes) {
            throw EInvalidGraphic("the file is too large");
        }
        bytes.resize(static_cast<std::size_t>(size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const std::size_t got = stream->Read(bytes.data() + done, bytes.size() - done);
            if (got == 0) throw EInvalidGraphic("the file could not be read");
            done += got;
        }
        return std::make_shared<const Picture>(DecodePicture(bytes.data(), bytes.size()));
    } catch (const kav::Exception& error) {
        throw EInvalidGraphic("Cannot load the picture " + path + ": " + error.what());
    }
}

}  // namespace kav::widgets
