// JPEG files on Windows, decoded by the system's imaging component (WIC)
// from memory. A Windows without it leaves such a picture out, as any
// picture that cannot be shown.
#include <windows.h>
// <wincodec.h> needs <windows.h> first.
#include <wincodec.h>

#include <cstdio>
#include <limits>
#include <string>

#include "platform/win32/com.h"
#include "widgets/picture/decoders.h"

namespace kav::widgets::picture {
namespace {

using platform::ComPtr;

template <typename Interface>
Interface** Out(ComPtr<Interface>& owner) {
    return reinterpret_cast<Interface**>(owner.Receive());
}

void Check(HRESULT result, const char* step) {
    if (SUCCEEDED(result)) return;
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
    throw EInvalidGraphic(std::string("the picture cannot be decoded: ") + step + " failed (" +
                          code + ")");
}

}  // namespace

Picture DecodeJpeg(const std::uint8_t* data, std::size_t size, const PictureLimits& limits) {
    if (size > std::numeric_limits<DWORD>::max()) throw EInvalidGraphic("the file is too large");
    // Already initialised by the caller's thread is fine too (S_FALSE, or
    // another threading model: the factory then tells whether it can run).
    const platform::ComInitialization com;
    ComPtr<IWICImagingFactory> factory;
    Check(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                             IID_IWICImagingFactory, factory.Receive()),
          "starting the imaging component");
    ComPtr<IWICStream> stream;
    Check(factory->CreateStream(Out(stream)), "CreateStream");
    // WIC only reads the buffer; its signature wants it writable.
    Check(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size)),
          "InitializeFromMemory");
    ComPtr<IWICBitmapDecoder> decoder;
    Check(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                           Out(decoder)),
          "CreateDecoderFromStream");
    ComPtr<IWICBitmapFrameDecode> source;
    Check(decoder->GetFrame(0, Out(source)), "GetFrame");
    UINT width = 0;
    UINT height = 0;
    Check(source->GetSize(&width, &height), "GetSize");
    // The size is checked against the limits before any pixel is decoded.
    const std::size_t pixels = CheckedPixelCount(width, height, 1, limits);
    ComPtr<IWICFormatConverter> converter;
    Check(factory->CreateFormatConverter(Out(converter)), "CreateFormatConverter");
    Check(converter->Initialize(source.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                nullptr, 0.0, WICBitmapPaletteTypeCustom),
          "converting to 32-bit BGRA");
    UINT convertedWidth = 0;
    UINT convertedHeight = 0;
    Check(converter->GetSize(&convertedWidth, &convertedHeight), "GetSize");
    if (convertedWidth != width || convertedHeight != height)
        throw EInvalidGraphic("the picture's size changed while it was decoded");

    Picture picture;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    PictureFrame frame;
    frame.pixels.resize(pixels);
    // 32bppBGRA in memory is 0xAARRGGBB read as a little-endian word, as
    // every Windows machine is.
    static_assert(sizeof(Argb) == 4);
    Check(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels * 4),
                                reinterpret_cast<BYTE*>(frame.pixels.data())),
          "CopyPixels");
    // A JPEG has no transparency, whatever alpha the conversion filled in.
    for (Argb& pixel : frame.pixels) pixel |= 0xFF000000u;
    picture.frames.push_back(std::move(frame));
    return picture;
}

}  // namespace kav::widgets::picture
