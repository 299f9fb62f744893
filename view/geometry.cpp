// The arithmetic of the zoom geometry: the screen area, the cell layout,
// clamping, the highlight frame and zooming into a selection.
#include "view/geometry.h"

#include "base/globals.h"

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
    c.viewCols = width / zoom + 1;
    c.viewRows = height / zoom + 1;
    c.halfRows = c.viewRows / 2;
    c.halfCols = c.viewCols / 2;
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
