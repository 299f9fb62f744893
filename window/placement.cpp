// Where a window is kept on the screen, and where it returns when restored.
#include "window/placement.h"

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
