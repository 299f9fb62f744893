// The kept display context through which the screen is read.
#include "view/screen_source.h"

HDC ScreenSource::dc()
{
    if (!context) {
        // Unlike one from GetDC, a context made with CreateDC may be kept.
        context.reset(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
        if (!context)
            return nullptr;
        exact = GetDeviceCaps(context, BITSPIXEL) >= 24 && !(GetDeviceCaps(context, RASTERCAPS) & RC_PALETTE);
        // Reads are made in screen coordinates, which are negative on a
        // monitor left of or above the primary. The context spans the whole
        // virtual screen, but Wine counts its own coordinates from the
        // virtual screen's top-left (Windows from the primary's): the
        // viewport origin puts the virtual screen's corner where the
        // context's clip box begins, so both give the same pixels.
        RECT box;
        if (GetClipBox(context, &box) != ERROR)
            SetViewportOrgEx(context, box.left - GetSystemMetrics(SM_XVIRTUALSCREEN),
                             box.top - GetSystemMetrics(SM_YVIRTUALSCREEN), nullptr);
    }
    return context;
}

bool ScreenSource::copiesExactly()
{
    return dc() && exact;
}

bool ScreenSource::makeBlock(int width, int height)
{
    if (blockBits && blockSize.cx == width && blockSize.cy == height)
        return true;
    blockSelection.reset();
    blockBitmap.reset();
    blockBits = nullptr;
    if (!blockContext)
        blockContext.reset(CreateCompatibleDC(context));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    if (blockContext)
        blockBitmap.reset(CreateDIBSection(blockContext, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!blockBitmap || !bits)
        return false;
    blockSelection.emplace(blockContext, blockBitmap);
    blockBits = static_cast<const DWORD*>(bits);
    blockSize = SIZE{width, height};
    return true;
}

bool ScreenSource::readBlock(const RECT& area, COLORREF* pixels)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    HDC screen = dc();
    if (!screen || width <= 0 || height <= 0)
        return false;
    if (width == 1 && height == 1) {
        *pixels = GetPixel(screen, area.left, area.top);
        return *pixels != CLR_INVALID;
    }
    if (!makeBlock(width, height) ||
        !BitBlt(blockContext, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT))
        return false;
    GdiFlush();
    for (int i = 0; i < width * height; ++i)
        pixels[i] = RGB((blockBits[i] >> 16) & 0xFF, (blockBits[i] >> 8) & 0xFF, blockBits[i] & 0xFF);
    return true;
}

void ScreenSource::release()
{
    blockSelection.reset();
    blockBitmap.reset();
    blockContext.reset();
    blockBits = nullptr;
    context.reset();
    exact = false;
}
