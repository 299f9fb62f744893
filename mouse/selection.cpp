// The selection of the view (in client coordinates, snapped to whole
// magnified pixels), its feedback on screen (marquee and size tip), and the
// operations that end the two mouse modes.
#include <windows.h>

#include <algorithm>

#include "base/controls.h"
#include "base/globals.h"
#include "mouse/mouse_modes.h"
#include "resources/resource_ids.h"

void MouseModes::SelectionRect(RECT& r) const
{
    // The selection's ends, ordered and snapped to the grid of magnified
    // pixels that starts at the view's corner.
    const RECT v = view.viewRect();
    const int z = view.zoomFactor();
    r = {std::min(start.x, end.x), std::min(start.y, end.y), std::max(start.x, end.x), std::max(start.y, end.y)};
    r.left = v.left + (r.left - v.left) / z * z;
    r.top = v.top + (r.top - v.top) / z * z;
    r.right = v.left + (r.right - v.left) / z * z;
    r.bottom = v.top + (r.bottom - v.top) / z * z;
}

void MouseModes::UpdateSelectionFeedback()
{
    RECT r;
    SelectionRect(r);
    const int z = view.zoomFactor();
    // The size tip appears with the first move that gives the snapped
    // selection a width or a height, and stays from then on.
    if (tip.hwnd || r.right != r.left || r.bottom != r.top) {
        static ResString sizeFormat(IDS_SELECTED_SIZE);
        char text[64];
        wsprintfA(text, sizeFormat.TextOrEmpty(), (r.right - r.left) / z, (r.bottom - r.top) / z);
        POINT anchor = {z * (start.x / z) - 5, z * (start.y / z) - 5};
        ClientToScreen(window, &anchor);
        tip.Show(window, anchor.x, anchor.y, text);
    }
    MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    marquee_.Place(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// Gives the pointer back where the drag still holds it: a drag ended because
// another window took the pointer must not take it from that window.
void MouseModes::releaseDragCapture() const
{
    if (GetCapture() == window)
        ReleaseCapture();
}

void MouseModes::CancelSelection()
{
    if (!kept && !dragging)
        return;
    tip.Destroy();
    kept = false;
    if (dragging) {
        dragging = false;
        releaseDragCapture();
    }
    marquee_.Destroy();
    view.repaintView();
}

void MouseModes::EndPointPick()
{
    if (picking) {
        picking = false;
        releaseDragCapture();
        highlight.Destroy();
        chrome.showMenuHelp(StatusIdleText.GetText());
        tip.Destroy();
    }
    if (dragging)
        CancelSelection();
}

void MouseModes::keepSelection(POINT from, POINT to)
{
    start = from;
    end = to;
    kept = true;
}
