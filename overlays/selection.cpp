// The selection of the view (in client coordinates, snapped to whole
// magnified pixels) and the operations that end the two mouse modes.
#include <windows.h>

#include "app/globals.h"
#include "magnifier/magnifier_window.h"

namespace {

void normalizeRect(RECT& r)
{
    if (r.left > r.right) {
        const LONG t = r.left;
        r.left = r.right;
        r.right = t;
    }
    if (r.top > r.bottom) {
        const LONG t = r.top;
        r.top = r.bottom;
        r.bottom = t;
    }
}

}  // namespace

void MagnifierWindow::SelectionRect(RECT& r) const
{
    const RECT v = viewRect();
    r = RECT{selectionStart.x, selectionStart.y, selectionEnd.x, selectionEnd.y};
    normalizeRect(r);
    OffsetRect(&r, -v.left, -v.top);
    const int z = Settings.ZoomFactor;
    r.left = r.left / z * z;
    r.top = r.top / z * z;
    r.right = r.right / z * z;
    r.bottom = r.bottom / z * z;
    OffsetRect(&r, v.left, v.top);
}

void MagnifierWindow::CancelSelection()
{
    if (!hasSelection && !selecting)
        return;
    hasSelection = false;
    if (selecting) {
        selecting = false;
        ReleaseCapture();
    }
    repaintView();
}

void MagnifierWindow::EndPointPick()
{
    if (pickingPoint) {
        pickingPoint = false;
        ReleaseCapture();
        statusBar.setMenuHelp(StatusIdleText.GetText());
    }
    if (selecting)
        CancelSelection();
}
