// The zoom view: layout, clamping, the highlight rectangle, step moves, the
// zoom factor, zooming to a selection, and the view's paint: the screen
// rectangle chosen by the layout is copied at its own size, enlarged without
// smoothing, overlaid with the grid and the cursor, and put on the window in
// one transfer so the view never flickers.
#include "view/zoom_view.h"

#include <algorithm>

#include "base/globals.h"
#include "base/scope_guards.h"
#include "view/enlarge.h"

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

ZoomView::ZoomView(ViewHost& viewHost) : host(viewHost), viewPalette(createViewPalette())
{
    updateScreenMetrics();
}

ZoomView::~ZoomView()
{
    paintBuffers.release();  // before the palette they may hold is deleted
}

void ZoomView::attach(HWND viewWindow, HCURSOR cursor)
{
    window = viewWindow;
    viewCursor = cursor;
    point = Settings.ZoomPoint;
}

void ZoomView::release()
{
    paintBuffers.release();
    screen.release();
}

bool ZoomView::readScreenPixel(POINT at, COLORREF& colour)
{
    HDC screenDC = screen.dc();
    if (!screenDC)
        return false;
    colour = GetPixel(screenDC, at.x, at.y);
    return true;
}

void ZoomView::layoutView()
{
    const RECT r = viewRect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width < 0 || height < 0) {
        viewEmpty = true;
        return;
    }
    viewEmpty = false;

    layout = layoutCells(width, height, zoomFactor(), ScreenArea{screenLeft, screenTop, screenWidth, screenHeight});
    viewRegion.reset(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    host.viewLaidOut(r);
}

void ZoomView::layoutAndRepaint()
{
    layoutView();
    repaintView();
}

POINT ZoomView::clampZoomPoint() const
{
    POINT p;
    p.x = clampCoordinate(point.x, screenLeft + layout.halfCols, layout.maxPointX);
    p.y = clampCoordinate(point.y, screenTop + layout.halfRows, layout.maxPointY);
    return p;
}

void ZoomView::computeHighlightRect()
{
    highlight = highlightAround(clampZoomPoint(), layout.halfCols, layout.halfRows, layout.viewCols, layout.viewRows);
}

namespace {

// One axis of a step move: true when the clamped new value differs. The sum is
// widened so that a large step cannot overflow before it is clamped.
bool stepCoordinate(LONG& coordinate, int step, int lo, int hi)
{
    if (step == 0)
        return false;
    const long long v = static_cast<long long>(coordinate) + step;
    const LONG clamped = v < lo ? lo : (v > hi ? hi : static_cast<LONG>(v));
    if (clamped == coordinate)
        return false;
    coordinate = clamped;
    return true;
}

}  // namespace

void ZoomView::moveZoomPoint(int dx, int dy)
{
    // Unlike following the mouse, a step stores the clamped point. An axis
    // without a step is left alone even outside its clamps.
    const bool movedX = stepCoordinate(point.x, dx, screenLeft + layout.halfCols, layout.maxPointX);
    const bool movedY = stepCoordinate(point.y, dy, screenTop + layout.halfRows, layout.maxPointY);
    if (movedX || movedY)
        layoutAndRepaint();
}

int ZoomView::zoomFactor() const
{
    return Settings.ZoomFactor;
}

void ZoomView::setZoomFactor(int factor)
{
    if (factor >= MaxZoomFactor)
        factor = MaxZoomFactor;
    if (factor <= MinZoomFactor)
        factor = MinZoomFactor;
    if (factor == zoomFactor())
        return;
    Settings.ZoomFactor = factor;
    layoutAndRepaint();

    host.zoomChanged(factor);
}

void ZoomView::zoomToSelection(const RECT& s)
{
    // Only offered for a selection with a width and a height; anything else
    // would divide by zero.
    if (s.right - s.left <= 0 || s.bottom - s.top <= 0)
        return;
    const RECT v = viewRect();
    computeHighlightRect();
    const SelectionZoom zoom = zoomIntoSelection(s, v, highlight, zoomFactor());
    highlight = zoom.highlight;
    point = zoom.zoomPoint;
    setZoomFactor(zoom.factor);
    repaintView();
}

RECT ZoomView::sourceArea() const
{
    const POINT c = clampZoomPoint();
    const int left = c.x - layout.halfCols;
    const int top = c.y - layout.halfRows;
    return RECT{left, top, left + layout.viewCols, top + layout.viewRows};
}

void ZoomView::noteCursorShape(HCURSOR shape)
{
    cursorShape = shape;
    cursorShapeTime = GetTickCount();
    cursorShapeNoted = true;
}

bool ZoomView::systemCursor(HCURSOR& shape) const
{
    if (cursorShapeNoted && GetTickCount() - cursorShapeTime < CursorShapeLifetime) {
        shape = cursorShape;
        return true;
    }
    CURSORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetCursorInfo(&info))
        return false;
    shape = info.hCursor;
    return true;
}

bool ZoomView::viewUnchanged()
{
    // Most of the time the screen under the view stands still: reading it
    // costs far less than enlarging it and putting it on the window again.
    if (viewEmpty || layout.viewCols <= 0 || layout.viewRows <= 0 || !screen.copiesExactly() ||
        !paintBuffers.recaptureUnchanged(screen.dc(), sourceArea()))
        return false;
    if (!(Settings.MouseTracking && Settings.DisplayMouseWhenFollowing && Settings.bUseOSCursor))
        return true;
    // The system's cursor drawn in the view may have changed its shape.
    HCURSOR shape;
    return systemCursor(shape) && shape == paintBuffers.shownCursor();
}

void ZoomView::paintView(HDC windowDC, bool wholeView)
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
    const int viewCols = layout.viewCols;
    const int viewRows = layout.viewRows;
    if (viewEmpty || viewCols <= 0 || viewRows <= 0)
        return;

    const int zoom = zoomFactor();
    const RECT v = viewRect();
    const int width = zoom * viewCols;
    const int height = zoom * viewRows;

    // The screen is read at its own size: only viewCols x viewRows pixels.
    const bool trueColour = screen.copiesExactly();
    if (!paintBuffers.prepare(windowDC, trueColour, width, height, viewCols, viewRows))
        return;
    HDC view = paintBuffers.viewDC();

    // Colours map through the palette only on a display that has one. Both
    // contexts get their own palettes back when the paint ends: the kept
    // view buffer after every paint, the window's context as it was given.
    HPALETTE usedPalette = trueColour ? nullptr : viewPalette.get();
    SelectedPalette inViewBuffer(view, usedPalette);
    if (usedPalette)
        RealizePalette(view);
    SelectedPalette inWindow(windowDC, usedPalette);
    if (usedPalette)
        RealizePalette(windowDC);

    if (!captureSource(area, recaptured))
        wholeView = false;
    enlargeSource(zoom, std::min<int>(width, v.right - v.left), std::min<int>(height, v.bottom - v.top));
    if (Settings.ShowGrid && (zoom >= 2 || Settings.GridSize > 1))
        drawGrid(view, zoom, Settings.GridSize, viewCols, viewRows, width, height);
    const HCURSOR drawnCursor = drawCursor(zoom, area);

    if (BitBlt(windowDC, 0, v.top, v.right - v.left, v.bottom - v.top, view, 0, 0, SRCCOPY | CAPTUREBLT) && wholeView)
        paintBuffers.noteShown(area, drawnCursor);
}

bool ZoomView::captureSource(const RECT& area, bool recaptured)
{
    // The auto-update's read of this same rectangle, just made, is this
    // paint's picture.
    const int cols = area.right - area.left;
    const int rows = area.bottom - area.top;
    if (!recaptured) {
        HDC screenDC = screen.dc();
        if (!screenDC ||
            !BitBlt(paintBuffers.sourceDC(), 0, 0, cols, rows, screenDC, area.left, area.top, SRCCOPY | CAPTUREBLT))
            return false;
    }
    paintBuffers.noteCapture(area.left, area.top, cols, rows);
    return true;
}

void ZoomView::enlargeSource(int zoom, int shownWidth, int shownHeight)
{
    if (std::uint32_t* pixels = paintBuffers.viewPixels()) {
        // Only the part the window shows is enlarged; the cells cut at the
        // right and bottom edges are never seen.
        GdiFlush();
        enlarge(paintBuffers.sourcePixels(), paintBuffers.sourceStride(), zoom, pixels, paintBuffers.viewStride(),
                shownWidth, shownHeight);
    } else {
        StretchBlt(paintBuffers.viewDC(), 0, 0, zoom * layout.viewCols, zoom * layout.viewRows, paintBuffers.sourceDC(),
                   0, 0, layout.viewCols, layout.viewRows, SRCCOPY);
    }
}

HCURSOR ZoomView::drawCursor(int zoom, const RECT& area) const
{
    if (!(Settings.MouseTracking && Settings.DisplayMouseWhenFollowing))
        return nullptr;
    // The cursor's corner sits at the centre of the zoom point's own cell.
    const int x = zoom * (point.x - area.left) + zoom / 2;
    const int y = zoom * (point.y - area.top) + zoom / 2;
    HCURSOR cursor = viewCursor;
    if (Settings.bUseOSCursor) {
        HCURSOR shape;
        if (systemCursor(shape))
            cursor = shape;
    }
    if (cursor)
        DrawIcon(paintBuffers.viewDC(), x, y, cursor);
    return cursor;
}

void ZoomView::repaintView()
{
    WindowDC dc(GetDC(window), window);
    if (dc)
        paintView(dc, true);
}
