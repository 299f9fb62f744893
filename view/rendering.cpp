// The view's paint: the screen rectangle chosen by the zoom geometry is copied
// at its own size, enlarged without smoothing, overlaid with the grid and the
// cursor, and put on the window in one transfer so the view never flickers.
#include "view/rendering.h"

#include <algorithm>
#include <cstring>

#include "base/globals.h"
#include "base/owned_handle.h"
#include "base/scope_guards.h"

bool PaintBuffers::Buffer::make(HDC reference, bool trueColour, int w, int h)
{
    if (context && width == w && height == h && wantedBits == trueColour)
        return true;
    release();
    context.reset(CreateCompatibleDC(reference));
    if (context && trueColour) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;  // top-down: row y starts at y * w
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        bitmap.reset(CreateDIBSection(context, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        if (bitmap)
            bits = static_cast<std::uint32_t*>(pixels);
    }
    if (context && !bitmap)
        bitmap.reset(CreateCompatibleBitmap(reference, w, h));
    if (bitmap)
        selection.emplace(context, bitmap);
    if (!selection || !*selection) {
        release();
        return false;
    }
    // GDI's enlargement (without pixels of our own) takes whole pixels, no
    // smoothing; the context keeps the mode for every paint.
    SetStretchBltMode(context, COLORONCOLOR);
    width = w;
    height = h;
    wantedBits = trueColour;
    return true;
}

void PaintBuffers::Buffer::release()
{
    selection.reset();
    bitmap.reset();
    context.reset();
    bits = nullptr;
    width = 0;
    height = 0;
    wantedBits = false;
}

void PaintBuffers::noteCapture(int left, int top, int width, int height)
{
    captured = RECT{left, top, left + width, top + height};
}

bool PaintBuffers::capturedPixel(POINT screen, COLORREF& colour) const
{
    if (!source.dc() || !PtInRect(&captured, screen))
        return false;
    const int x = screen.x - captured.left;
    const int y = screen.y - captured.top;
    if (source.bits) {
        // 0x00RRGGBB, as the screen gave it.
        GdiFlush();
        const std::uint32_t pixel = source.bits[static_cast<std::ptrdiff_t>(y) * source.width + x];
        colour = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
        return true;
    }
    colour = GetPixel(source.dc(), x, y);
    return colour != CLR_INVALID;
}

bool PaintBuffers::recaptureUnchanged(HDC screenDC, const RECT& area)
{
    recaptured = RECT{0, 0, 0, 0};
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    if (!screenDC || !source.bits || !view.bits || source.width != w || source.height != h ||
        !BitBlt(source.dc(), 0, 0, w, h, screenDC, area.left, area.top, SRCCOPY | CAPTUREBLT))
        return false;
    recaptured = area;
    noteCapture(area.left, area.top, w, h);
    GdiFlush();
    return EqualRect(&shown, &area) &&
           std::memcmp(shownPixels.data(), source.bits, shownPixels.size() * sizeof(std::uint32_t)) == 0;
}

bool PaintBuffers::takeRecapture(const RECT& area)
{
    const bool same = EqualRect(&recaptured, &area) != FALSE;
    recaptured = RECT{0, 0, 0, 0};
    return same;
}

void PaintBuffers::noteShown(const RECT& area, HCURSOR cursor)
{
    if (!source.bits) {
        forgetShown();
        return;
    }
    shownPixels.assign(source.bits, source.bits + static_cast<std::size_t>(source.width) * source.height);
    shown = area;
    shownCursor_ = cursor;
}

void PaintBuffers::forgetShown()
{
    shown = RECT{0, 0, 0, 0};
    shownPixels.clear();
    shownCursor_ = nullptr;
}

bool PaintBuffers::prepare(HDC reference, bool trueColour, int viewWidth, int viewHeight, int sourceWidth,
                           int sourceHeight)
{
    return view.make(reference, trueColour, viewWidth, viewHeight) &&
           source.make(reference, trueColour, sourceWidth, sourceHeight);
}

void PaintBuffers::release()
{
    forgetCapture();
    forgetShown();
    recaptured = RECT{0, 0, 0, 0};
    source.release();
    view.release();
}

HPALETTE createViewPalette()
{
    const SIZE_T size = sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY);
    GlobalMemory block(GlobalAlloc(GPTR, size));
    if (!block)
        return nullptr;
    auto* entries = static_cast<LOGPALETTE*>(block.get());  // fixed memory: its handle is its address
    entries->palVersion = 0x300;
    entries->palNumEntries = 256;
    for (int i = 0; i < 256; ++i) {
        // Each entry names hardware palette index i.
        entries->palPalEntry[i].peRed = static_cast<BYTE>(i);
        entries->palPalEntry[i].peFlags = PC_EXPLICIT;
    }
    return CreatePalette(entries);
}
