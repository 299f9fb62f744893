// The PNG encoder against WIC's own decoder: DIB sections of known pixels at
// the depths a screen gives, widths that are not a multiple of 4, and 1 x 1.
#include <windows.h>
#include <shlwapi.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/owned_handle.h"
#include "base/scope_guards.h"
#include "imaging/bmp_file.h"
#include "imaging/packed_dib.h"
#include "imaging/png_image.h"

using Microsoft::WRL::ComPtr;

namespace {

BYTE part(int x, int y, int which)
{
    return static_cast<BYTE>(x * 37 + y * 91 + which * 71);
}

// A packed DIB section whose pixel (x, y) has the parts 0, 1, 2 as blue,
// green, red; at 8 bits colour x + y * width of a table of such colours.
HGLOBAL packedPattern(int width, int height, WORD bits)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, bits, BI_RGB, 0, 0, 0, 0, 0}, {}};
    for (int i = 0; i < 256; ++i)
        info.colours[i] = {part(i, 0, 0), part(i, 0, 1), part(i, 0, 2), 0};
    BYTE* pixels = nullptr;
    OwnedBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                        reinterpret_cast<void**>(&pixels), nullptr, 0));
    for (int y = 0, stride = (width * bits + 31) / 32 * 4; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < (bits == 8 ? 1 : 3); ++c)
                pixels[y * stride + x * bits / 8 + c] = bits == 8 ? static_cast<BYTE>(x + y * width) : part(x, y, c);
    return PackBitmap(bitmap, BI_RGB, nullptr);
}

// The PNG's pixels as WIC decodes them (blue, green, red rows, top first),
// or nothing when it is not an 8-bit RGB picture of that size.
std::vector<BYTE> decoded(HGLOBAL png, UINT width, UINT height)
{
    LockedMemory<BYTE> bytes(png);
    ComPtr<IStream> stream;
    stream.Attach(SHCreateMemStream(bytes.get(), static_cast<UINT>(GlobalSize(png))));
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    WICPixelFormatGUID format = {};
    UINT w = 0, h = 0;
    std::vector<BYTE> pixels(width * 3 * height);
    if (!stream ||
        FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&w, &h)) || w != width || h != height ||
        FAILED(frame->GetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) ||
        FAILED(frame->CopyPixels(nullptr, width * 3, static_cast<UINT>(pixels.size()), pixels.data())))
        return {};
    return pixels;
}

// The names of the PNG's chunks, each followed by a blank, up to its end.
std::string chunks(HGLOBAL png)
{
    LockedMemory<BYTE> bytes(png);
    std::string names;
    for (SIZE_T at = 8; at + 12 <= GlobalSize(png);) {
        const BYTE* chunk = bytes.get() + at;
        names += std::string(reinterpret_cast<const char*>(chunk + 4), 4) + " ";
        at += 12 + (static_cast<SIZE_T>(chunk[0]) << 24 | chunk[1] << 16 | chunk[2] << 8 | chunk[3]);
    }
    return names;
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
            // The block holds the PNG and nothing after its end; no chunk
            // that would shift a colour.
            const std::string names = chunks(png.get());
            EXPECT_EQ(0u, names.find("IHDR ")) << names;
            EXPECT_EQ(names.size() - 5, names.rfind("IEND ")) << names;
            for (const char* shifting : {"gAMA", "sRGB", "iCCP", "cHRM"})
                EXPECT_EQ(std::string::npos, names.find(shifting)) << names;
            const std::vector<BYTE> pixels = decoded(png.get(), size.cx, size.cy);
            ASSERT_EQ(static_cast<size_t>(size.cx * size.cy * 3), pixels.size());
            for (int i = 0; i < size.cx * size.cy * 3; ++i) {
                const int x = i / 3 % size.cx, y = i / 3 / size.cx;
                ASSERT_EQ(bits == 8 ? part(x + y * size.cx, 0, i % 3) : part(x, y, i % 3), pixels[i]) << x << "," << y;
            }
        }
    }
    // What is no packed DIB gives no PNG.
    GlobalMemory notDib(GlobalAlloc(GMEM_MOVEABLE, 16));
    EXPECT_EQ(nullptr, EncodePng(notDib.get()));
    EXPECT_EQ(nullptr, EncodePng(nullptr));
    CoUninitialize();
}

TEST(PngImage, AFileInUseKeepsItsBytesAsWithBmp)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "scopella-in-use-" + std::to_string(GetCurrentProcessId()) + ".png";
    HANDLE held = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    DWORD written = 0;
    WriteFile(held, "earlier", 7, &written, nullptr);
    GlobalMemory dib(packedPattern(5, 3, 32));
    EXPECT_FALSE(WritePngFile(path.c_str(), dib.get()));
    EXPECT_FALSE(WriteBmpFile(path.c_str(), dib.get()));
    CloseHandle(held);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    EXPECT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(7u, data.nFileSizeLow);
    EXPECT_FALSE(GetFileAttributesExA((path + "~0.tmp").c_str(), GetFileExInfoStandard, &data));
    DeleteFileA(path.c_str());
}
