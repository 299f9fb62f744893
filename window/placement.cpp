// Where a window is kept on the screen, and where it returns when restored;
// the main window kept on the screen.
#include "window/placement.h"

#include "view/geometry.h"
#include "window/magnifier_window.h"

RECT keepRectOnScreen(const RECT& window, int left, int top, int width, int height)
{
    RECT r = window;
    if (r.left < left)
        OffsetRect(&r, left - r.left, 0);
    if (r.right > left + width)
        OffsetRect(&r, left + width - r.right, 0);
    if (r.top < top)
        OffsetRect(&r, 0, top - r.top);
    if (r.bottom > top + height)
        OffsetRect(&r, 0, top + height - r.bottom);
    return r;
}

RECT normalRectOnScreen(HWND window, POINT& shift)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    RECT r = {0, 0, 0, 0};
    if (!GetWindowPlacement(window, &placement)) {
        GetWindowRect(window, &r);
        return r;
    }
    // While the window is neither minimised nor maximised its normal rectangle
    // is where it is, which tells how the platform counts placements.
    if (!IsIconic(window) && !IsZoomed(window) && GetWindowRect(window, &r)) {
        shift.x = r.left - placement.rcNormalPosition.left;
        shift.y = r.top - placement.rcNormalPosition.top;
    }
    r = placement.rcNormalPosition;
    OffsetRect(&r, shift.x, shift.y);
    return r;
}

void MagnifierWindow::keepOnScreen()
{
    updateScreenMetrics();
    // A minimised window has no place on the screen to keep, and a maximised
    // one overhangs it by its frame on purpose; both return to their normal
    // rectangles themselves.
    if (IsIconic(hwnd) || IsZoomed(hwnd))
        return;
    RECT r;
    if (!GetWindowRect(hwnd, &r))
        return;
    RECT moved = keepRectOnScreen(r, screenLeft, screenTop, screenWidth, screenHeight);
    // Monitors of different sizes leave parts of that rectangle that no
    // monitor shows: a window there goes onto the nearest monitor.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!MonitorFromRect(&moved, MONITOR_DEFAULTTONULL) &&
        GetMonitorInfoA(MonitorFromRect(&moved, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        moved = keepRectOnScreen(moved, work.left, work.top, work.right - work.left, work.bottom - work.top);
    }
    if (!EqualRect(&moved, &r)) {
        SetWindowPos(hwnd, nullptr, moved.left, moved.top, moved.right - moved.left, moved.bottom - moved.top,
                     SWP_NOZORDER);
    }
}
