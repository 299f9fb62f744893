// The view's paint: the screen rectangle chosen by the zoom geometry is copied
// at its own size, enlarged without smoothing, overlaid with the grid and the
// cursor, and put on the window in one transfer so the view never flickers.
#include "magnifier/rendering.h"

#include <algorithm>
#include <cstring>

#include "app/globals.h"
#include "app/owned_handle.h"
#include "app/scope_guards.h"
#include "magnifier/enlarge.h"
#include "magnifier/magnifier_window.h"

namespace {

void drawGrid(HDC dc, int zoom, int gridSize, int cols, int rows, int width, int height)
{
    OwnedPen pen(CreatePen(PS_SOLID, 1, Settings.GridColor));
    if (!pen)
        return;
    SelectedObject selected(dc, pen);
    // Lines cover the first pixel column (row) of every gridSize-th cell,
    // never the edge at k = 0.
    for (int k = gridSize; k < cols; k += gridSize) {
        MoveToEx(dc, zoom * k, 0, nullptr);
        LineTo(dc, zoom * k, height);
    }
    for (int k = gridSize; k < rows; k += gridSize) {
        MoveToEx(dc, 0, zoom * k, nullptr);
        LineTo(dc, width, zoom * k);
    }
}

}  // namespace

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

RECT MagnifierWindow::sourceArea() const
{
    const POINT c = clampZoomPoint();
    return RECT{c.x - halfCols, c.y - halfRows, c.x - halfCols + viewCols, c.y - halfRows + viewRows};
}

bool MagnifierWindow::viewUnchanged()
{
    // Most of the time the screen under the view stands still: reading it
    // costs far less than enlarging it and putting it on the window again.
    if (viewEmpty || viewCols <= 0 || viewRows <= 0 || !screen.copiesExactly() ||
        !paintBuffers.recaptureUnchanged(screen.dc(), sourceArea()))
        return false;
    if (!(Settings.MouseTracking && Settings.DisplayMouseWhenFollowing && Settings.bUseOSCursor))
        return true;
    // The system's cursor drawn in the view may have changed its shape.
    HCURSOR shape;
    return systemCursor(shape) && shape == paintBuffers.shownCursor();
}

void MagnifierWindow::paintView(HDC windowDC, bool wholeView)
{
    // What an earlier paint captured is not this paint's picture.
    paintBuffers.forgetCapture();
    // Until this paint has reached the whole view, the picture on the window
    // is not known.
    const RECT area = sourceArea();
    const bool recaptured = paintBuffers.takeRecapture(area);
    paintBuffers.forgetShown();
    // An empty view, or one not laid out yet, draws nothing: the platform must
    // never be handed an empty source rectangle.
    if (viewEmpty || viewCols <= 0 || viewRows <= 0)
        return;

    const int zoom = Settings.ZoomFactor;
    const RECT v = viewRect();
    const int width = zoom * viewCols;
    const int height = zoom * viewRows;

    // The screen is read at its own size: only viewCols x viewRows pixels.
    HDC screenDC = screen.dc();
    const bool trueColour = screen.copiesExactly();
    if (!paintBuffers.prepare(windowDC, trueColour, width, height, viewCols, viewRows))
        return;
    HDC view = paintBuffers.viewDC();
    HDC source = paintBuffers.sourceDC();

    // Colours map through the palette only on a display that has one. Both
    // contexts get their own palettes back when the paint ends: the kept
    // view buffer after every paint, the window's context as it was given.
    HPALETTE usedPalette = trueColour ? nullptr : palette.get();
    SelectedPalette viewPalette(view, usedPalette);
    if (usedPalette)
        RealizePalette(view);
    SelectedPalette windowPalette(windowDC, usedPalette);
    if (usedPalette)
        RealizePalette(windowDC);

    const POINT c = clampZoomPoint();
    const int destinationY = Settings.DisplayToolbar ? rebarHeight : 0;

    const int left = c.x - halfCols;
    const int top = c.y - halfRows;
    // The auto-update's read of this same rectangle, just made, is this
    // paint's picture.
    if (recaptured)
        paintBuffers.noteCapture(left, top, viewCols, viewRows);
    else if (screenDC && BitBlt(source, 0, 0, viewCols, viewRows, screenDC, left, top, SRCCOPY | CAPTUREBLT))
        paintBuffers.noteCapture(left, top, viewCols, viewRows);
    else
        wholeView = false;
    if (std::uint32_t* pixels = paintBuffers.viewPixels()) {
        // Only the part the window shows is enlarged; the cells cut at the
        // right and bottom edges are never seen.
        GdiFlush();
        enlarge(paintBuffers.sourcePixels(), paintBuffers.sourceStride(), zoom, pixels, paintBuffers.viewStride(),
                std::min<int>(width, v.right - v.left), std::min<int>(height, v.bottom - v.top));
    } else {
        StretchBlt(view, 0, 0, width, height, source, 0, 0, viewCols, viewRows, SRCCOPY);
    }

    if (Settings.ShowGrid && (zoom >= 2 || Settings.GridSize > 1))
        drawGrid(view, zoom, Settings.GridSize, viewCols, viewRows, width, height);

    HCURSOR drawnCursor = nullptr;
    if (Settings.MouseTracking && Settings.DisplayMouseWhenFollowing) {
        // The cursor's corner sits at the centre of the zoom point's own cell.
        const int x = zoom * (zoomPoint.x - c.x + halfCols) + zoom / 2;
        const int y = zoom * (zoomPoint.y - c.y + halfRows) + zoom / 2;
        HCURSOR cursor = viewCursor;
        if (Settings.bUseOSCursor) {
            HCURSOR shape;
            if (systemCursor(shape))
                cursor = shape;
        }
        if (cursor)
            DrawIcon(view, x, y, cursor);
        drawnCursor = cursor;
    }

    if (BitBlt(windowDC, 0, destinationY, v.right - v.left, v.bottom - v.top, view, 0, 0, SRCCOPY | CAPTUREBLT) &&
        wholeView)
        paintBuffers.noteShown(area, drawnCursor);
}

void MagnifierWindow::repaintView()
{
    WindowDC dc(GetDC(hwnd), hwnd);
    if (dc)
        paintView(dc, true);
}
