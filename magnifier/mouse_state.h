// Where the mouse modes stand: a zoom-point pick, a selection being dragged,
// a selection kept.
#pragma once
#include <windows.h>

#include <utility>

// Orders a rectangle's edges: left at most right, top at most bottom.
inline void NormalizeRect(RECT& r)
{
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
}

struct MouseState {
    bool pickingPoint = false;
    bool selecting = false;
    bool hasSelection = false;
    // The ends of the selection in client coordinates, not yet snapped.
    POINT selectionStart = {0, 0};
    POINT selectionEnd = {0, 0};

    // The selection snapped to whole magnified pixels of a view (client
    // coordinates) at the zoom factor.
    RECT snappedSelection(const RECT& view, int zoom) const
    {
        RECT r = {selectionStart.x, selectionStart.y, selectionEnd.x, selectionEnd.y};
        NormalizeRect(r);
        OffsetRect(&r, -view.left, -view.top);
        r.left = r.left / zoom * zoom;
        r.top = r.top / zoom * zoom;
        r.right = r.right / zoom * zoom;
        r.bottom = r.bottom / zoom * zoom;
        OffsetRect(&r, view.left, view.top);
        return r;
    }
};
