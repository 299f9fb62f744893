// The mouse gestures of the view: a left-drag picks the zoom point (with the
// highlight frame and a tip), a right-drag selects magnified pixels (with the
// marquee and a size tip) and ends in the selection menu; the wheel steps the
// transparency (Shift) or the zoom (Ctrl).
#include <windows.h>

#include "app/controls.h"
#include "app/globals.h"
#include "magnifier/magnifier_window.h"
#include "magnifier/wheel.h"
#include "overlays/transparency.h"
#include "resources/resource_ids.h"

void MagnifierWindow::OnLButtonDown()
{
    if (mouse_.hasSelection || mouse_.selecting) {
        CancelSelection();  // a left click only ends the selection
        return;
    }
    SetCapture(hwnd);
    static ResString pickStatus(IDS_PICK_STATUS);
    chrome_.showMenuHelp(pickStatus.GetText());
    mouse_.pickingPoint = true;
    POINT zoomPoint;
    GetCursorPos(&zoomPoint);
    view_.setZoomPoint(zoomPoint);
    view_.computeHighlightRect();
    highlight_.Show(view_.highlightRect());
    // The magnifying glass stays while the mouse is captured.
    SetCursor(LoadCursorA(AppInstance, MAKEINTRESOURCEA(IDC_MAGNIFIER)));
    trackingTip_.Show(hwnd, zoomPoint.x, zoomPoint.y - view_.cells().halfRows - 3, PickTipText.GetText());
}

void MagnifierWindow::OnLButtonUp()
{
    if (!mouse_.pickingPoint)
        return;
    EndPointPick();
    view_.repaintView();
}

void MagnifierWindow::OnMouseMove(POINT client)
{
    takeFocusBack();  // the wheel over the view goes where the focus is
    if (mouse_.pickingPoint) {
        // The pointer's own screen position: the frame follows it exactly.
        POINT zoomPoint;
        GetCursorPos(&zoomPoint);
        view_.setZoomPoint(zoomPoint);
        view_.computeHighlightRect();
        highlight_.Show(view_.highlightRect());
        view_.repaintView();
    } else if (mouse_.selecting) {
        // The end stays on the view, its right and bottom edges included.
        const RECT v = viewRect();
        mouse_.selectionEnd.x = client.x < v.left ? v.left : (client.x > v.right ? v.right : client.x);
        mouse_.selectionEnd.y = client.y < v.top ? v.top : (client.y > v.bottom ? v.bottom : client.y);
        UpdateSelectionFeedback();
    }
}

void MagnifierWindow::OnRButtonDown(POINT client)
{
    EndPointPick();
    mouse_.selectionStart = mouse_.selectionEnd = client;
    marquee_.Create(hwnd);
    mouse_.selecting = true;
    SetCapture(hwnd);
}

void MagnifierWindow::OnRButtonUp(POINT client)
{
    if (!mouse_.selecting)
        return;
    mouse_.selecting = false;
    ReleaseCapture();
    RECT r;
    SelectionRect(r);
    if (r.right - r.left != 0 && r.bottom - r.top != 0) {
        mouse_.hasSelection = true;
    } else {
        trackingTip_.Destroy();
        marquee_.Destroy();
        mouse_.hasSelection = false;
    }
    POINT screen = client;
    ClientToScreen(hwnd, &screen);
    ShowContextMenu(screen);
    // Only "What's This?" from a status-bar pane's menu leaves it set.
    if (mouse_.hasSelection)
        CancelSelection();
}

void MagnifierWindow::OnMouseWheel(WPARAM wParam)
{
    EndPointPick();
    CancelSelection();
    // One message is one step, however far the wheel turned.
    const WORD keys = LOWORD(wParam);
    const bool down = static_cast<short>(HIWORD(wParam)) < 0;
    if (keys & MK_SHIFT) {
        Settings.nTransparency = wheelTransparencyStep(Settings.nTransparency, down);
        setTransparency(hwnd, Settings.Transparent, Settings.nTransparency);
    } else if (keys & MK_CONTROL) {
        view_.setZoomFactor(Settings.ZoomFactor + (down ? -1 : 1));
    }
}
