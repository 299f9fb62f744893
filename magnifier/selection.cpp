// The selection of the view (in client coordinates, snapped to whole
// magnified pixels), its feedback on screen (marquee and size tip), and the
// operations that end the two mouse modes.
#include <windows.h>

#include "app/controls.h"
#include "app/globals.h"
#include "magnifier/magnifier_window.h"
#include "resources/resource_ids.h"

void MagnifierWindow::SelectionRect(RECT& r) const
{
    r = mouse_.snappedSelection(viewRect(), Settings.ZoomFactor);
}

void MagnifierWindow::UpdateSelectionFeedback()
{
    RECT r;
    SelectionRect(r);
    const int z = Settings.ZoomFactor;
    // The size tip appears with the first move that gives the snapped
    // selection a width or a height, and stays from then on.
    if (trackingTip_.hwnd || r.right != r.left || r.bottom != r.top) {
        static ResString sizeFormat(IDS_SELECTED_SIZE);
        char text[64];
        wsprintfA(text, sizeFormat.GetText() ? sizeFormat.GetText() : "", (r.right - r.left) / z,
                  (r.bottom - r.top) / z);
        POINT anchor = {z * (mouse_.selectionStart.x / z) - 5, z * (mouse_.selectionStart.y / z) - 5};
        ClientToScreen(hwnd, &anchor);
        trackingTip_.Show(hwnd, anchor.x, anchor.y, text);
    }
    MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    marquee_.Place(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// Gives the pointer back where the drag still holds it: a drag ended because
// another window took the pointer must not take it from that window.
void MagnifierWindow::releaseDragCapture() const
{
    if (GetCapture() == hwnd)
        ReleaseCapture();
}

void MagnifierWindow::CancelSelection()
{
    if (!mouse_.hasSelection && !mouse_.selecting)
        return;
    trackingTip_.Destroy();
    mouse_.hasSelection = false;
    if (mouse_.selecting) {
        mouse_.selecting = false;
        releaseDragCapture();
    }
    marquee_.Destroy();
    view_.repaintView();
}

void MagnifierWindow::EndPointPick()
{
    if (mouse_.pickingPoint) {
        mouse_.pickingPoint = false;
        releaseDragCapture();
        highlight_.Destroy();
        chrome_.showMenuHelp(StatusIdleText.GetText());
        trackingTip_.Destroy();
    }
    if (mouse_.selecting)
        CancelSelection();
}

void MagnifierWindow::keepSelection(POINT start, POINT end)
{
    mouse_.selectionStart = start;
    mouse_.selectionEnd = end;
    mouse_.hasSelection = true;
}
