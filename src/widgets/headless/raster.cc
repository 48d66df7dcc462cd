#include "widgets/headless/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace kav::widgets::headless {
namespace {

constexpr int kScreenDpi = 96;
constexpr int kPointsPerInch = 72;

void PutLittleEndian(std::vector<char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

int PixelHeight(const Font& font) {
    return (font.size * kScreenDpi + kPointsPerInch / 2) / kPointsPerInch;
}

}  // namespace

Raster::Raster(int width, int height)
    : width_(width < 0 ? 0 : width),
      height_(height < 0 ? 0 : height),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0xFF000000u) {}

Color Raster::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        throw std::out_of_range("pixel outside the raster");
    const Argb p = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                           static_cast<std::size_t>(x)];
    return (p >> 16 & 0xFFu) | (p & 0xFF00u) | (p & 0xFFu) << 16;
}

void Raster::WriteBmp(const std::string& path) const {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width_) * 3 + 3) / 4 * 4;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height_);
    constexpr std::uint32_t kHeaders = 14 + 40;
    std::vector<char> out;
    out.push_back('B');
    out.push_back('M');
    PutLittleEndian(out, kHeaders + imageSize, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, kHeaders, 4);
    PutLittleEndian(out, 40, 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(width_), 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(-height_), 4);  // top-down rows
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, 24, 2);
    for (int i = 0; i < 6; ++i) PutLittleEndian(out, 0, 4);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Argb p = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                   static_cast<std::size_t>(x)];
            PutLittleEndian(out, p & 0xFFFFFFu, 3);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(width_) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    // stdio rather than a file stream: the Windows programs link this file,
    // and a stream would bring the whole locale machinery into install.exe.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    const bool written = file && std::fwrite(out.data(), 1, out.size(), file.get()) == out.size();
    if (!written || std::fclose(file.release()) != 0)
        throw std::runtime_error("Cannot write " + path);
}

TextExtent HeadlessTextExtent(const std::string& text, const Font& font) {
    const int height = PixelHeight(font);
    const int advance = height / 2 > 0 ? height / 2 : 1;
    return TextExtent{advance * static_cast<int>(text.size()), height + height / 4};
}

void RasterCanvas::SetArea(const Bounds& area) {
    area_ = Bounds{window_.left + area.left, window_.top + area.top, area.width, area.height};
}

void RasterCanvas::Fill(const Bounds& local, Argb pixel) {
    const Bounds shifted{local.left + area_.left, local.top + area_.top, local.width, local.height};
    const Bounds b = Intersect(Intersect(Intersect(shifted, area_), window_),
                               Bounds{0, 0, raster_.Width(), raster_.Height()});
    PixelSurface s = raster_.Surface();
    for (int y = b.top; y < b.top + b.height; ++y) {
        for (int x = b.left; x < b.left + b.width; ++x) {
            s.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(s.width) +
                     static_cast<std::size_t>(x)] = pixel;
        }
    }
}

void RasterCanvas::FillRect(const Bounds& area, Color color) { Fill(area, ToArgb(color)); }

void RasterCanvas::FillEllipse(const Bounds& box, Color color) {
    if (box.width <= 0 || box.height <= 0) return;
    const Argb pixel = ToArgb(color);
    // A pixel belongs to the ellipse when its centre does.
    const double rx = box.width / 2.0;
    const double ry = box.height / 2.0;
    const double cx = box.left + rx;
    const double cy = box.top + ry;
    for (int y = box.top; y < box.top + box.height; ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        if (dy * dy > 1.0) continue;
        const double half = rx * std::sqrt(1.0 - dy * dy);
        const int first = std::max(box.left, static_cast<int>(std::ceil(cx - half - 0.5)));
        const int last =
            std::min(box.left + box.width - 1, static_cast<int>(std::floor(cx + half - 0.5)));
        if (first <= last) Fill(Bounds{first, y, last - first + 1, 1}, pixel);
    }
}

void RasterCanvas::DrawText(int x, int y, const std::string& text, const Font& font, Color color) {
    // Each character is a solid block in its cell: enough to see where text
    // lies and what colour it has.
    const TextExtent cell = HeadlessTextExtent("M", font);
    const int leading = cell.height - PixelHeight(font);
    const Argb pixel = ToArgb(color);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') continue;
        Fill(Bounds{x + static_cast<int>(i) * cell.width + 1, y + leading,
                    cell.width - 2 > 0 ? cell.width - 2 : 1, cell.height - leading},
             pixel);
    }
}

void RasterCanvas::DrawPicture(int x, int y, const Picture& picture, std::size_t frame) {
    BlendFrame(raster_.Surface(), Intersect(area_, window_), x + area_.left, y + area_.top, picture,
               frame);
}

}  // namespace kav::widgets::headless
