// The picture loader: GIF frames composed with transparency and disposal,
// loop counts, interlacing, bitmaps, icons, and files it must refuse.
#include "widgets/picture/picture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "picture_files.h"
#include "platform/machine.h"
#include "widgets/headless/headless_backend.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image_write.h>

namespace kav::widgets {
namespace {

using testing::Bytes;
using testing::GifFrame;

constexpr Argb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;
const std::vector<std::uint32_t> kPalette{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

Picture Decode(const Bytes& bytes, const PictureLimits& limits = {}) {
    return DecodePicture(bytes.data(), bytes.size(), limits);
}

TEST(GifPicture, FramesAreComposedWithTransparencyAndEachDisposal) {
    std::vector<GifFrame> frames(4);
    // 1: the whole 3 x 2 screen, kept.
    frames[0] = GifFrame{0, 0, 3, 2, {0, 0, 0, 0, 0, 0}, 5, -1, 1};
    // 2: a 2 x 1 patch at (1, 1), its second pixel transparent; the patch
    // is cleared to transparent afterwards.
    frames[1] = GifFrame{1, 1, 2, 1, {1, 3}, 0, 3, 2};
    // 3: one pixel at (0, 0), put back to what was before afterwards.
    frames[2] = GifFrame{0, 0, 1, 1, {2}, 50, -1, 3};
    frames[3] = GifFrame{2, 0, 1, 1, {3}, 10, -1, 1};
    const Picture p = Decode(testing::MakeGif(3, 2, kPalette, frames, 0));
    ASSERT_EQ(p.frames.size(), 4u);
    EXPECT_EQ(p.width, 3);
    EXPECT_EQ(p.repeats, -1);  // loop count 0: for ever
    EXPECT_EQ(p.At(0, 0, 0), kRed);
    EXPECT_EQ(p.At(1, 1, 1), kGreen);
    EXPECT_EQ(p.At(1, 2, 1), kRed);  // transparent pixel: the frame below shows
    EXPECT_EQ(p.At(2, 1, 1), 0u);    // cleared by disposal 2
    EXPECT_EQ(p.At(2, 0, 0), kBlue);
    EXPECT_EQ(p.At(3, 0, 0), kRed);  // disposal 3 put the red back
    EXPECT_EQ(p.At(3, 2, 0), kWhite);
    EXPECT_EQ(p.At(3, 2, 1), 0u);
    // Delays in milliseconds; none or a too short one shows for 100 ms.
    EXPECT_EQ(p.frames[0].delayMs, 50u);
    EXPECT_EQ(p.frames[1].delayMs, 100u);
    EXPECT_EQ(p.frames[2].delayMs, 500u);
}

TEST(GifPicture, LoopCountsInterlacingAndTruncatedData) {
    const GifFrame still{0, 0, 1, 1, {2}};
    EXPECT_EQ(Decode(testing::MakeGif(1, 1, kPalette, {still})).repeats, 0);
    EXPECT_EQ(Decode(testing::MakeGif(1, 1, kPalette, {still}, 3)).repeats, 3);

    // Rows of an interlaced image come in the order 0, 4, 2, 1, 3.
    GifFrame interlaced{0, 0, 1, 5, {0, 1, 2, 3, 0}};
    interlaced.interlaced = true;
    const Picture p = Decode(testing::MakeGif(1, 5, kPalette, {interlaced}));
    EXPECT_EQ(p.At(0, 0, 0), kRed);
    EXPECT_EQ(p.At(0, 0, 4), kGreen);
    EXPECT_EQ(p.At(0, 0, 2), kBlue);
    EXPECT_EQ(p.At(0, 0, 1), kWhite);
    EXPECT_EQ(p.At(0, 0, 3), kRed);

    // A file cut inside its image data keeps what was decoded.
    Bytes cut =
        testing::MakeGif(8, 1, kPalette, {GifFrame{0, 0, 8, 1, std::vector<std::uint8_t>(8, 2)}});
    cut.resize(cut.size() - 4);  // the last two pixels lose their codes
    const Picture partial = Decode(cut);
    EXPECT_EQ(partial.At(0, 0, 0), kBlue);
    EXPECT_EQ(partial.At(0, 5, 0), kBlue);
    EXPECT_EQ(partial.At(0, 6, 0), 0u);
}

TEST(GifPicture, RefusesWhatIsNoPictureOrTooLarge) {
    const Bytes header = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0};
    EXPECT_THROW(Decode(header), EInvalidGraphic);  // no image
    const Bytes text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_THROW(Decode(text), EInvalidGraphic);
    const Bytes big = testing::MakeGif(4000, 4000, kPalette, {GifFrame{0, 0, 1, 1, {0}}});
    EXPECT_THROW(Decode(big, PictureLimits{1 << 20, 16384}), EInvalidGraphic);
    // Too many frames for the budget, though each alone would fit.
    std::vector<GifFrame> many(5, GifFrame{0, 0, 1, 1, {0}});
    EXPECT_THROW(
        Decode(testing::MakeGif(256, 256, kPalette, many), PictureLimits{4 * 256 * 256 * 4, 16384}),
        EInvalidGraphic);
}

// Frames may lie partly outside the screen: what lies outside is dropped,
// never written into the next row or past the end.
TEST(GifPicture, FramesPastTheEdgesAndImpossibleCodes) {
    const GifFrame ground{0, 0, 2, 2, {0, 0, 0, 0}};
    const Picture right = Decode(testing::MakeGif(2, 2, kPalette, {ground, {1, 0, 2, 1, {1, 2}}}));
    EXPECT_EQ(right.At(1, 1, 0), kGreen);
    EXPECT_EQ(right.At(1, 0, 1), kRed);  // not the blue of column 2
    const Picture below =
        Decode(testing::MakeGif(2, 2, kPalette, {ground, {0, 1, 2, 2, {1, 1, 2, 2}}}));
    EXPECT_EQ(below.At(1, 1, 1), kGreen);
    EXPECT_EQ(below.At(1, 0, 0), kRed);

    // A 4 x 1 image whose 3-bit codes are clear, 1, then 7 while the next
    // free code is 6: decoding stops at the impossible code.
    const Bytes impossible = {'G',  'I',  'F',  '8',  '9',  'a',  4,    0,   1, 0, 0x81,
                              0,    0,    0xFF, 0,    0,    0,    0xFF, 0,   0, 0, 0xFF,
                              0xFF, 0xFF, 0xFF, 0x2C, 0,    0,    0,    0,   4, 0, 1,
                              0,    0,    2,    2,    0xCC, 0x0B, 0,    0x3B};
    const Picture stopped = Decode(impossible);
    EXPECT_EQ(stopped.At(0, 0, 0), kGreen);
    EXPECT_EQ(stopped.At(0, 1, 0), 0u);
    EXPECT_EQ(stopped.At(0, 3, 0), 0u);
}

TEST(BitmapPicture, BmpRowsAndIconAlpha) {
    const Picture bmp = Decode(testing::MakeBmp24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    ASSERT_EQ(bmp.frames.size(), 1u);
    EXPECT_EQ(bmp.At(0, 0, 0), kRed);  // bottom-up rows land top-down
    EXPECT_EQ(bmp.At(0, 1, 1), kWhite);

    std::vector<std::uint32_t> pixels(16 * 16, 0x80FF0000);
    pixels[0] = 0;
    const Picture icon = Decode(testing::MakeIco32(16, pixels));
    EXPECT_EQ(icon.width, 16);
    EXPECT_EQ(icon.height, 16);
    EXPECT_EQ(icon.At(0, 0, 0), 0u);
    EXPECT_EQ(icon.At(0, 1, 0), 0x80FF0000u);

    // A 1-bit bitmap that claims 300 colours: only the first two can be
    // used, and the table never grows past them.
    Bytes mono = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0xE6, 0x04, 0, 0, 40, 0, 0, 0,
                  2,   0,   0, 0, 1, 0, 0, 0, 1, 0, 1,    0,    0, 0, 0,  0, 0, 0,
                  0,   0,   0, 0, 0, 0, 0, 0, 0, 0, 44,   1,    0, 0, 0,  0, 0, 0};
    for (int i = 0; i < 300; ++i) {
        const std::uint8_t bgr0[4] = {0, 0, 0xFF, 0}, bgr1[4] = {0, 0xFF, 0, 0},
                           rest[4] = {0xFF, 0, 0, 0};
        const std::uint8_t* entry = i == 0 ? bgr0 : i == 1 ? bgr1 : rest;
        mono.insert(mono.end(), entry, entry + 4);
    }
    mono.insert(mono.end(), {0x40, 0, 0, 0});
    const Picture twoColours = Decode(mono);
    EXPECT_EQ(twoColours.At(0, 0, 0), kRed);
    EXPECT_EQ(twoColours.At(0, 1, 0), kGreen);

    Bytes shortBmp = testing::MakeBmp24(8, 8, std::vector<std::uint32_t>(64, 0));
    shortBmp.resize(shortBmp.size() - 10);
    EXPECT_THROW(Decode(shortBmp), EInvalidGraphic);
}

extern "C" void AppendTo(void* bytes, void* data, int size) {
    auto* out = static_cast<Bytes*>(bytes);
    out->insert(out->end(), static_cast<std::uint8_t*>(data),
                static_cast<std::uint8_t*>(data) + size);
}

// Run-length coded bitmaps (runs, end of row, a move, indices as they are,
// pixels no run reaches), JPEG and PNG, the formats a set's picture is
// often saved in.
TEST(BitmapPicture, RunLengthCodedBmpJpegAndPng) {
    const Bytes rle8 =
        testing::MakeRleBmp(8, 4, 3, kPalette, {3, 1, 0, 0,              // bottom row: 3 green
                                                0, 3, 2, 0, 2, 0, 0, 0,  // blue red blue, padded
                                                0, 2, 2, 0, 2, 3,        // 2 right, 2 white
                                                0, 1});
    const Picture eight = Decode(rle8);
    const std::vector<Argb> expected{kRed,  kRed, kWhite, kWhite, kBlue,  kRed,
                                     kBlue, kRed, kGreen, kGreen, kGreen, kRed};
    EXPECT_EQ(eight.frames.at(0).pixels, expected);
    // RLE4: a run alternates two indices; no end mark after the last row.
    const Picture four = Decode(testing::MakeRleBmp(4, 5, 1, kPalette, {5, 0x12, 0, 0}));
    EXPECT_EQ(four.frames.at(0).pixels, (std::vector<Argb>{kGreen, kBlue, kGreen, kBlue, kGreen}));

    std::vector<std::uint8_t> rgba;
    for (int i = 0; i < 16 * 16; ++i) {
        const bool left = i % 16 < 8;
        rgba.insert(rgba.end(), {static_cast<std::uint8_t>(left ? 255 : 0), 0,
                                 static_cast<std::uint8_t>(left ? 0 : 255),
                                 static_cast<std::uint8_t>(left ? 255 : 128)});
    }
    Bytes png;
    ASSERT_NE(stbi_write_png_to_func(AppendTo, &png, 16, 16, 4, rgba.data(), 16 * 4), 0);
    const Picture fromPng = Decode(png);
    EXPECT_EQ(fromPng.At(0, 2, 5), kRed);
    EXPECT_EQ(fromPng.At(0, 12, 5), 0x800000FFu);
    Bytes jpeg;
    ASSERT_NE(stbi_write_jpg_to_func(AppendTo, &jpeg, 16, 16, 4, rgba.data(), 95), 0);
    EXPECT_THROW(Decode(jpeg), EInvalidGraphic);  // refused, whole or damaged
}

TEST(PictureFile, ReadThroughTheMachineAndRefusedWithTheFileName) {
    // One folder per process: the native and sanitizer runs may overlap.
    const auto root =
        std::filesystem::temp_directory_path() / ("kav_picture_test_" + std::to_string(getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "drive_c");
    const Bytes gif = testing::MakeGif(1, 1, kPalette, {GifFrame{0, 0, 1, 1, {1}}});
    std::ofstream(root / "drive_c" / "logo.gif", std::ios::binary)
        .write(reinterpret_cast<const char*>(gif.data()), static_cast<std::streamsize>(gif.size()));
    std::ofstream(root / "drive_c" / "notes.bmp") << "not a picture";
    headless::HeadlessBackend ui;
    auto machine = platform::MakeSimMachine(root.string(), ui);

    const auto picture = LoadPictureFile(machine->Files(), "C:\\logo.gif");
    EXPECT_EQ(picture->At(0, 0, 0), kGreen);
    try {
        LoadPictureFile(machine->Files(), "C:\\notes.bmp");
        FAIL() << "a text file was taken for a picture";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("C:\\notes.bmp"), std::string::npos) << e.what();
    }
    EXPECT_THROW(LoadPictureFile(machine->Files(), "C:\\missing.gif"), kav::Exception);
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace kav::widgets
