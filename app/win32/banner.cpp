#include "app/win32/banner.h"

#include "app/controltable.h"

#include <wincodec.h>

#include <cstdint>

namespace tarnwick::win32 {

namespace {

// Holds a COM interface and releases it.
template <class Interface>
class Com
{
public:
    Com() = default;
    Com(const Com &) = delete;
    Com &operator=(const Com &) = delete;
    ~Com()
    {
        if (pointer_ != nullptr)
            pointer_->Release();
    }

    Interface *operator->() const { return pointer_; }
    Interface *get() const { return pointer_; }
    Interface **out() { return &pointer_; }
    [[nodiscard]] void **outVoid() { return reinterpret_cast<void **>(&pointer_); } // NOLINT

private:
    Interface *pointer_ = nullptr;
};

// The bytes of an RCDATA resource of the program.
bool resourceBytes(HINSTANCE instance, const wchar_t *name, BYTE **bytes, DWORD *size)
{
    HRSRC found = FindResourceW(instance, name, MAKEINTRESOURCEW(10)); // RT_RCDATA
    if (found == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(instance, found);
    if (loaded == nullptr)
        return false;
    *bytes = static_cast<BYTE *>(LockResource(loaded));
    *size = SizeofResource(instance, found);
    return *bytes != nullptr && *size != 0;
}

} // namespace

HBITMAP loadBanner(HINSTANCE instance, int width, int height, UINT dpi)
{
    BYTE *bytes = nullptr;
    DWORD size = 0;
    if (!resourceBytes(instance, dpi > standardDpi ? L"BANNER2X" : L"BANNER", &bytes, &size))
        return nullptr;

    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
            IID_IWICImagingFactory, factory.outVoid()))
        || FAILED(factory->CreateStream(stream.out()))
        || FAILED(stream->InitializeFromMemory(bytes, size))
        || FAILED(factory->CreateDecoderFromStream(
            stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.out()))
        || FAILED(decoder->GetFrame(0, frame.out())))
        return nullptr;

    UINT imageWidth = 0;
    UINT imageHeight = 0;
    frame->GetSize(&imageWidth, &imageHeight);
    IWICBitmapSource *source = frame.get();
    Com<IWICBitmapScaler> scaler;
    if (imageWidth != static_cast<UINT>(width) || imageHeight != static_cast<UINT>(height)) {
        if (FAILED(factory->CreateBitmapScaler(scaler.out()))
            || FAILED(scaler->Initialize(source, static_cast<UINT>(width),
                static_cast<UINT>(height), WICBitmapInterpolationModeFant)))
            return nullptr;
        source = scaler.get();
    }
    Com<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out()))
        || FAILED(converter->Initialize(source, GUID_WICPixelFormat24bppBGR,
            WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return nullptr;

    // A top-down 24-bit bitmap, rows padded to four bytes: no alpha for a picture control to
    // misread.
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap == nullptr)
        return nullptr;
    const UINT stride = (static_cast<UINT>(width) * 3 + 3) & ~3U;
    if (FAILED(converter->CopyPixels(
            nullptr, stride, stride * static_cast<UINT>(height), static_cast<BYTE *>(pixels)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

} // namespace tarnwick::win32
