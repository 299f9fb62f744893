// The PNG encoder against WIC's own decoder: DIB sections of known pixels at
// the depths a screen gives, widths that are not a multiple of 4, and 1 x 1.
#include <windows.h>
#include <shlwapi.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/scoped_gdi.h"
#include "imaging/packed_dib.h"
#include "imaging/png_image.h"
#include "imaging/scoped_handles.h"

using Microsoft::WRL::ComPtr;

namespace {

BYTE part(int x, int y, int which) { return static_cast<BYTE>(x * 37 + y * 91 + which * 71); }

// Width x height of a DIB section whose pixel (x, y) is (part 0, 1, 2) as
// blue, green, red; at 8 bits through a colour table of such colours.
HGLOBAL packedPattern(int width, int height, WORD bits)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {{sizeof(BITMAPINFOHEADER), width, height, 1, bits, BI_RGB, 0, 0, 0, 0, 0}, {}};
    for (int i = 0; i < 256; ++i)
        info.colours[i] = {part(i, 0, 0), part(i, 0, 1), part(i, 0, 2), 0};
    void* pixels = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels,
                                        nullptr, 0));
    const int stride = (width * bits + 31) / 32 * 4;
    for (int y = 0; y < height; ++y) {
        BYTE* row = static_cast<BYTE*>(pixels) + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            if (bits == 8)
                row[x] = static_cast<BYTE>(x + y * width);
            else
                for (int c = 0; c < 3; ++c)
                    row[x * bits / 8 + c] = part(x, y, c);
        }
    }
    return PackBitmap(bitmap, BI_RGB, nullptr);
}

// The PNG's pixels as WIC decodes them: blue, green, red rows, top first.
std::vector<BYTE> decoded(HGLOBAL png, UINT& width, UINT& height)
{
    LockedMemory<BYTE> bytes(png);
    ComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(bytes.get(), static_cast<UINT>(GlobalSize(png))));
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    WICPixelFormatGUID format = {};
    if (!stream || FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(frame->GetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        return {};
    std::vector<BYTE> pixels(width * 3 * height);
    if (FAILED(frame->CopyPixels(nullptr, width * 3, static_cast<UINT>(pixels.size()), pixels.data())))
        return {};
    return pixels;
}

// The names of the PNG's chunks, in order; empty when the bytes are no PNG
// or something follows its end.
std::string chunks(HGLOBAL png)
{
    LockedMemory<BYTE> bytes(png);
    const SIZE_T size = GlobalSize(png);
    if (size < 8 || memcmp(bytes.get(), "\x89PNG\r\n\x1a\n", 8) != 0)
        return "";
    std::string names;
    SIZE_T at = 8;
    for (; at + 12 <= size; ) {
        const BYTE* chunk = bytes.get() + at;
        at += 12 + (static_cast<SIZE_T>(chunk[0]) << 24 | chunk[1] << 16 | chunk[2] << 8 | chunk[3]);
        names += std::string(reinterpret_cast<const char*>(chunk + 4), 4) + " ";
    }
    return at == size ? names : "";
}

}  // namespace

TEST(PngImage, RoundTripsThroughWicsDecoder)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    for (WORD bits : {32, 24, 8}) {
        for (SIZE size : {SIZE{1, 1}, SIZE{3, 2}, SIZE{5, 3}, SIZE{7, 4}, SIZE{13, 9}}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, " + std::to_string(size.cx) + "x" + std::to_string(size.cy));
            GlobalMemory dib(packedPattern(size.cx, size.cy, bits));
            GlobalMemory png(EncodePng(dib.get()));
            ASSERT_TRUE(png);
            const std::string names = chunks(png.get());
            EXPECT_EQ(0u, names.find("IHDR ")) << names;
            EXPECT_EQ(names.size() - 5, names.rfind("IEND ")) << names;
            for (const char* shifting : {"gAMA", "sRGB", "iCCP", "cHRM"})
                EXPECT_EQ(std::string::npos, names.find(shifting)) << names;
            UINT width = 0, height = 0;
            const std::vector<BYTE> pixels = decoded(png.get(), width, height);
            ASSERT_EQ(static_cast<UINT>(size.cx), width);
            ASSERT_EQ(static_cast<UINT>(size.cy), height);
            ASSERT_EQ(width * height * 3, pixels.size());
            for (int y = 0; y < size.cy; ++y)
                for (int x = 0; x < size.cx; ++x)
                    for (int c = 0; c < 3; ++c)
                        ASSERT_EQ(bits == 8 ? part(x + y * size.cx, 0, c) : part(x, y, c),
                                  pixels[(y * width + x) * 3 + c]) << x << "," << y;
        }
    }
    // What is no packed DIB gives no PNG.
    GlobalMemory notDib(GlobalAlloc(GMEM_MOVEABLE, 16));
    EXPECT_EQ(nullptr, EncodePng(notDib.get()));
    EXPECT_EQ(nullptr, EncodePng(nullptr));
    CoUninitialize();
}
