// The mouse gestures of the view: a left-drag picks the zoom point (with the
// highlight frame and a tip), a right-drag selects magnified pixels (with the
// marquee and a size tip) and ends in the selection menu.
#include <windows.h>

#include "app/globals.h"
#include "magnifier/controls.h"
#include "magnifier/magnifier_window.h"
#include "resources/resource_ids.h"

void MagnifierWindow::OnLButtonDown()
{
    if (hasSelection || selecting) {
        CancelSelection();  // a left click only ends the selection
        return;
    }
    SetCapture(hwnd);
    static ResString pickStatus(IDS_PICK_STATUS);
    StatusBar(statusBar).setText(MenuHelpPane, pickStatus.GetText(), SBT_NOBORDERS);
    pickingPoint = true;
    GetCursorPos(&zoomPoint);
    computeHighlightRect();
    highlight.Show(highlightRect);
    // The magnifying glass stays while the mouse is captured.
    SetCursor(LoadCursorA(AppInstance, MAKEINTRESOURCEA(IDC_MAGNIFIER)));
    trackingTip.Show(hwnd, zoomPoint.x, zoomPoint.y - halfRows - 3, PickTipText.GetText());
}

void MagnifierWindow::OnLButtonUp()
{
    if (!pickingPoint)
        return;
    EndPointPick();
    repaintView();
}

void MagnifierWindow::OnMouseMove(POINT client)
{
    takeFocusBack();  // the wheel over the view goes where the focus is
    if (pickingPoint) {
        // The pointer's own screen position: the frame follows it exactly.
        GetCursorPos(&zoomPoint);
        computeHighlightRect();
        highlight.Show(highlightRect);
        repaintView();
    } else if (selecting) {
        // The end stays on the view, its right and bottom edges included.
        const RECT v = viewRect();
        selectionEnd.x = client.x < v.left ? v.left : (client.x > v.right ? v.right : client.x);
        selectionEnd.y = client.y < v.top ? v.top : (client.y > v.bottom ? v.bottom : client.y);
        UpdateSelectionFeedback();
    }
}

void MagnifierWindow::OnRButtonDown(POINT client)
{
    EndPointPick();
    selectionStart = selectionEnd = client;
    marquee.Create(hwnd);
    selecting = true;
    SetCapture(hwnd);
}

void MagnifierWindow::OnRButtonUp(POINT client)
{
    if (!selecting)
        return;
    selecting = false;
    ReleaseCapture();
    RECT r;
    SelectionRect(r);
    if (r.right - r.left != 0 && r.bottom - r.top != 0) {
        hasSelection = true;
    } else {
        trackingTip.Destroy();
        marquee.Destroy();
        hasSelection = false;
    }
    POINT screen = client;
    ClientToScreen(hwnd, &screen);
    ShowContextMenu(screen);
    // Only "What's This?" from a status-bar pane's menu leaves it set.
    if (hasSelection)
        CancelSelection();
}
