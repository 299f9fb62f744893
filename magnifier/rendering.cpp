// The view's paint: the screen rectangle chosen by the zoom geometry is copied
// at its own size, enlarged without smoothing, overlaid with the grid and the
// cursor, and put on the window in one transfer so the view never flickers.
#include "magnifier/rendering.h"

#include "app/globals.h"
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

bool PaintBuffers::Buffer::make(HDC reference, int w, int h)
{
    if (context && width == w && height == h)
        return true;
    release();
    context.emplace(reference);
    if (*context)
        bitmap.reset(CreateCompatibleBitmap(reference, w, h));
    if (bitmap)
        selection.emplace(*context, bitmap);
    if (!selection || !*selection) {
        release();
        return false;
    }
    width = w;
    height = h;
    return true;
}

void PaintBuffers::Buffer::release()
{
    selection.reset();
    bitmap.reset();
    context.reset();
    width = 0;
    height = 0;
}

void PaintBuffers::noteCapture(int left, int top, int width, int height)
{
    captured = RECT{left, top, left + width, top + height};
}

bool PaintBuffers::capturedPixel(POINT screen, COLORREF& colour) const
{
    if (!source.dc() || !PtInRect(&captured, screen))
        return false;
    colour = GetPixel(source.dc(), screen.x - captured.left, screen.y - captured.top);
    return colour != CLR_INVALID;
}

bool PaintBuffers::prepare(HDC reference, int viewWidth, int viewHeight, int sourceWidth, int sourceHeight)
{
    return view.make(reference, viewWidth, viewHeight) && source.make(reference, sourceWidth, sourceHeight);
}

void PaintBuffers::release()
{
    forgetCapture();
    source.release();
    view.release();
}

HPALETTE createViewPalette()
{
    const SIZE_T size = sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY);
    LOGPALETTE* entries = static_cast<LOGPALETTE*>(GlobalAlloc(GPTR, size));
    if (!entries)
        return nullptr;
    entries->palVersion = 0x300;
    entries->palNumEntries = 256;
    for (int i = 0; i < 256; ++i) {
        // Each entry names hardware palette index i.
        entries->palPalEntry[i].peRed = static_cast<BYTE>(i);
        entries->palPalEntry[i].peFlags = PC_EXPLICIT;
    }
    HPALETTE result = CreatePalette(entries);
    GlobalFree(entries);
    return result;
}

void MagnifierWindow::paintView(HDC windowDC)
{
    // What an earlier paint captured is not this paint's picture.
    paintBuffers.forgetCapture();
    // An empty view, or one not laid out yet, draws nothing: the platform must
    // never be handed an empty source rectangle.
    if (viewEmpty || viewCols <= 0 || viewRows <= 0)
        return;

    const int zoom = Settings.ZoomFactor;
    const RECT v = viewRect();
    const int width = zoom * viewCols;
    const int height = zoom * viewRows;

    // The screen is read at its own size: only viewCols x viewRows pixels.
    if (!paintBuffers.prepare(windowDC, width, height, viewCols, viewRows))
        return;
    HDC view = paintBuffers.viewDC();
    HDC source = paintBuffers.sourceDC();

    // Both contexts get their own palettes back when the paint ends: the kept
    // view buffer after every paint, the window's context as it was given.
    SelectedPalette viewPalette(view, palette);
    if (palette)
        RealizePalette(view);
    SelectedPalette windowPalette(windowDC, palette);
    if (palette)
        RealizePalette(windowDC);

    const POINT c = clampZoomPoint();
    const int destinationY = Settings.DisplayToolbar ? rebarHeight : 0;
    SetStretchBltMode(view, COLORONCOLOR);

    const int left = c.x - halfCols;
    const int top = c.y - halfRows;
    HDC screenDC = screen.dc();
    if (screenDC && BitBlt(source, 0, 0, viewCols, viewRows, screenDC, left, top, SRCCOPY | CAPTUREBLT))
        paintBuffers.noteCapture(left, top, viewCols, viewRows);
    StretchBlt(view, 0, 0, width, height, source, 0, 0, viewCols, viewRows, SRCCOPY);

    if (Settings.ShowGrid && (zoom >= 2 || Settings.GridSize > 1))
        drawGrid(view, zoom, Settings.GridSize, viewCols, viewRows, width, height);

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
    }

    SetStretchBltMode(view, COLORONCOLOR);
    BitBlt(windowDC, 0, destinationY, v.right - v.left, v.bottom - v.top, view, 0, 0, SRCCOPY | CAPTUREBLT);
}

void MagnifierWindow::repaintView()
{
    WindowDC dc(hwnd);
    if (dc)
        paintView(dc);
}
