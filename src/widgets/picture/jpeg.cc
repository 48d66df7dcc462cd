// JPEG files, decoded by libjpeg-turbo from memory. libjpeg reports a fatal
// error by calling its error manager, whose default ends the process: ours
// jumps back to the step that was running instead. The steps that may jump
// are plain functions holding no object with a destructor; what they fill
// is owned by their caller.
#include <csetjmp>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

// <jpeglib.h> needs FILE and size_t declared first.
#include <jpeglib.h>

#include "widgets/picture/decoders.h"

namespace kav::widgets::picture {
namespace {

// Progressive files may hold any number of scans, each a pass over the
// whole picture: a few bytes each, so a small file could keep the decoder
// busy for minutes. Real encoders write about ten.
constexpr int kMostScans = 256;

struct ErrorManager {
    jpeg_error_mgr base;  // first, so that libjpeg's pointer is ours
    std::jmp_buf resume;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->resume, 1);
}

// Warnings (damaged data the decoder works around) are not printed.
void IgnoreMessage(j_common_ptr) {}

void LimitScans(j_common_ptr common) {
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->is_decompressor && info->input_scan_number > kMostScans) {
        auto* errors = reinterpret_cast<ErrorManager*>(info->err);
        std::snprintf(errors->message, sizeof errors->message, "more than %d scans", kMostScans);
        std::longjmp(errors->resume, 1);
    }
}

// Each step returns false with errors.message set when libjpeg gave up.
bool Create(jpeg_decompress_struct& info, ErrorManager& errors) {
    if (setjmp(errors.resume)) return false;
    jpeg_create_decompress(&info);
    return true;
}

bool ReadHeader(jpeg_decompress_struct& info, ErrorManager& errors, const std::uint8_t* data,
                std::size_t size, std::size_t memoryBudget) {
    if (setjmp(errors.resume)) return false;
    // Bounds libjpeg's own buffers (a progressive file keeps all its
    // coefficients): asking for more is a fatal error.
    info.mem->max_memory_to_use = static_cast<long>(memoryBudget);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    return true;
}

// Decodes into `pixels` (width x height, rows from the top) through `row`,
// room for one row of the output's components.
bool ReadPixels(jpeg_decompress_struct& info, ErrorManager& errors, Argb* pixels, JSAMPLE* row) {
    if (setjmp(errors.resume)) return false;
    jpeg_start_decompress(&info);
    const JDIMENSION width = info.output_width;
    const bool cmyk = info.out_color_space == JCS_CMYK;
    if (width != info.image_width || info.output_height != info.image_height ||
        info.output_components != (cmyk ? 4 : 3)) {
        std::snprintf(errors.message, sizeof errors.message, "unexpected output layout");
        return false;
    }
    while (info.output_scanline < info.output_height) {
        Argb* out = pixels + static_cast<std::size_t>(info.output_scanline) * width;
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(&info, rows, 1) != 1) {
            std::snprintf(errors.message, sizeof errors.message, "a row could not be read");
            return false;
        }
        for (JDIMENSION x = 0; x < width; ++x) {
            Argb red, green, blue;
            if (cmyk) {
                // Adobe's inverted CMYK, as every encoder of such files
                // writes it: a component is the light it lets through.
                const JSAMPLE* p = row + 4 * x;
                red = p[0] * p[3] / 255;
                green = p[1] * p[3] / 255;
                blue = p[2] * p[3] / 255;
            } else {
                const JSAMPLE* p = row + 3 * x;
                red = p[0];
                green = p[1];
                blue = p[2];
            }
            out[x] = 0xFF000000u | red << 16 | green << 8 | blue;
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

// Owns libjpeg's decompressor once it is created.
class Decompressor {
public:
    Decompressor() {
        info.err = jpeg_std_error(&errors.base);
        errors.base.error_exit = JumpOnError;
        errors.base.output_message = IgnoreMessage;
        errors.message[0] = '\0';
        progress.progress_monitor = LimitScans;
        if (!Create(info, errors)) Fail();
        created_ = true;
        info.progress = &progress;
    }
    ~Decompressor() {
        if (created_) jpeg_destroy_decompress(&info);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    [[noreturn]] void Fail() const {
        throw EInvalidGraphic(std::string("the picture cannot be decoded: ") + errors.message);
    }

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};

private:
    bool created_ = false;
};

}  // namespace

Picture DecodeJpeg(const std::uint8_t* data, std::size_t size, const PictureLimits& limits) {
    if (size > std::numeric_limits<unsigned long>::max() ||
        limits.maxPixelBytes > static_cast<std::size_t>(std::numeric_limits<long>::max() / 4)) {
        throw EInvalidGraphic("the file is too large");
    }
    Decompressor decoder;
    // A progressive file's coefficients take two bytes a sample, four
    // samples a pixel at most: twice the output's four bytes a pixel.
    if (!ReadHeader(decoder.info, decoder.errors, data, size,
                    2 * limits.maxPixelBytes + (1u << 20)))
        decoder.Fail();
    // The size is checked against the limits before any pixel is decoded.
    const std::size_t pixels =
        CheckedPixelCount(decoder.info.image_width, decoder.info.image_height, 1, limits);
    const bool cmyk =
        decoder.info.jpeg_color_space == JCS_CMYK || decoder.info.jpeg_color_space == JCS_YCCK;
    decoder.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    Picture picture;
    picture.width = static_cast<int>(decoder.info.image_width);
    picture.height = static_cast<int>(decoder.info.image_height);
    PictureFrame frame;
    frame.pixels.resize(pixels);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width) * (cmyk ? 4 : 3));
    if (!ReadPixels(decoder.info, decoder.errors, frame.pixels.data(), row.data())) decoder.Fail();
    picture.frames.push_back(std::move(frame));
    return picture;
}

}  // namespace kav::widgets::picture
