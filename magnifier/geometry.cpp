// Zoom geometry of the main window: view rectangle, layout, clamping, the
// highlight rectangle, step moves, the zoom factor and zooming to a selection.
#include "magnifier/geometry.h"

#include "app/globals.h"
#include "magnifier/magnifier_window.h"

int screenLeft = 0;
int screenTop = 0;
int screenWidth = 0;
int screenHeight = 0;

void updateScreenMetrics()
{
    // Decided once per run: a platform whose USER32 has MonitorFromWindow
    // knows several monitors, and the zoom point may travel over all of them.
    static const bool multiMonitor = [] {
        HMODULE user32 = GetModuleHandleA("USER32");
        return user32 && GetProcAddress(user32, "MonitorFromWindow") != nullptr;
    }();
    if (multiMonitor) {
        screenWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
        screenHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        screenLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
        screenTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    } else {
        screenWidth = GetSystemMetrics(SM_CXSCREEN);
        screenHeight = GetSystemMetrics(SM_CYSCREEN);
        screenLeft = 0;
        screenTop = 0;
    }
}

CellLayout layoutCells(int width, int height, int zoom, const ScreenArea& screen)
{
    CellLayout c;
    c.cols = width / zoom + 1;
    c.rows = height / zoom + 1;
    c.halfRows = c.rows / 2;
    c.halfCols = c.cols / 2;
    c.maxPointX = screen.left + screen.width - c.halfCols - 1;
    c.maxPointY = screen.top + screen.height - c.halfRows - 1;
    return c;
}

int clampCoordinate(int v, int lo, int hi)
{
    if (v < lo)
        return lo;
    return v > hi ? hi : v;
}

RECT highlightAround(POINT clamped, int halfCols, int halfRows, int viewCols, int viewRows)
{
    RECT r;
    r.left = clamped.x - halfCols - 1;
    r.top = clamped.y - halfRows - 1;
    r.right = clamped.x - halfCols + viewCols;
    r.bottom = clamped.y - halfRows + viewRows;
    return r;
}

SelectionZoom zoomIntoSelection(const RECT& s, const RECT& v, const RECT& highlight, int zoom)
{
    const int ry = (v.bottom - v.top) / (s.bottom - s.top);
    const int rx = (v.right - v.left) / (s.right - s.left);
    const int m = rx < ry ? rx : ry;

    SelectionZoom result;
    RECT& h = result.highlight;
    h.left = highlight.left + (s.left - v.left) / zoom;
    h.top = highlight.top + (s.top - v.top) / zoom;
    h.right = h.left + (s.right - s.left) / zoom;
    h.bottom = h.top + (s.bottom - s.top) / zoom;
    result.zoomPoint.x = h.left + (h.right - h.left) / 2;
    result.zoomPoint.y = h.top + (h.bottom - h.top) / 2;
    result.factor = m * zoom;
    return result;
}

RECT MagnifierWindow::viewRect() const
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(hwnd, &r);
    if (Settings.DisplayToolbar)
        r.top += rebarHeight;
    if (Settings.DisplayStatusbar)
        r.bottom -= statusHeight;
    return r;
}

void MagnifierWindow::layoutView()
{
    const RECT r = viewRect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width < 0 || height < 0) {
        viewEmpty = true;
        return;
    }
    viewEmpty = false;

    if (rebar)
        SetWindowPos(rebar, nullptr, 0, 0, width, rebarHeight, SWP_NOZORDER | SWP_NOMOVE);
    if (statusBar)
        SetWindowPos(statusBar, nullptr, 0, r.bottom, width, statusHeight, SWP_NOZORDER);

    const CellLayout cells =
        layoutCells(width, height, Settings.ZoomFactor, ScreenArea{screenLeft, screenTop, screenWidth, screenHeight});
    viewCols = cells.cols;
    viewRows = cells.rows;
    halfRows = cells.halfRows;
    halfCols = cells.halfCols;
    maxPointX = cells.maxPointX;
    maxPointY = cells.maxPointY;

    viewRegion.reset(CreateRectRgn(r.left, r.top, r.right, r.bottom));

    refreshPaneTooltips();
}

POINT MagnifierWindow::clampZoomPoint() const
{
    POINT p;
    p.x = clampCoordinate(zoomPoint.x, screenLeft + halfCols, maxPointX);
    p.y = clampCoordinate(zoomPoint.y, screenTop + halfRows, maxPointY);
    return p;
}

void MagnifierWindow::computeHighlightRect()
{
    highlightRect = highlightAround(clampZoomPoint(), halfCols, halfRows, viewCols, viewRows);
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

void MagnifierWindow::moveZoomPoint(int dx, int dy)
{
    // Unlike following the mouse, a step stores the clamped point. An axis
    // without a step is left alone even outside its clamps.
    const bool movedX = stepCoordinate(zoomPoint.x, dx, screenLeft + halfCols, maxPointX);
    const bool movedY = stepCoordinate(zoomPoint.y, dy, screenTop + halfRows, maxPointY);
    if (movedX || movedY) {
        layoutView();
        repaintView();
    }
}

void MagnifierWindow::setZoomFactor(int factor)
{
    if (factor >= MaxZoomFactor)
        factor = MaxZoomFactor;
    if (factor <= MinZoomFactor)
        factor = MinZoomFactor;
    if (factor == Settings.ZoomFactor)
        return;
    Settings.ZoomFactor = factor;
    layoutView();
    repaintView();

    // The zoom trackbar and its tip follow the new factor.
    zoomTrackbar.setPos(factor);
    char tip[128];
    wsprintfA(tip, ZoomLevelFormat.GetText() ? ZoomLevelFormat.GetText() : "", factor);
    tooltips.updateTipText(zoomTrackbar, tip);
}

void MagnifierWindow::zoomToSelection()
{
    RECT s;
    SelectionRect(s);
    // Only offered for a selection with a width and a height; anything else
    // would divide by zero.
    if (s.right - s.left <= 0 || s.bottom - s.top <= 0)
        return;
    const RECT v = viewRect();
    computeHighlightRect();
    const SelectionZoom zoom = zoomIntoSelection(s, v, highlightRect, Settings.ZoomFactor);
    highlightRect = zoom.highlight;
    zoomPoint = zoom.zoomPoint;
    setZoomFactor(zoom.factor);
    repaintView();
}
