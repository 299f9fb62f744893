// The drags of the view: a left-drag picks the zoom point (with the highlight
// frame and a tip), a right-drag selects magnified pixels (with the marquee
// and a size tip) and ends in the selection menu.
#include <windows.h>

#include "base/controls.h"
#include "base/globals.h"
#include "mouse/mouse_modes.h"
#include "resources/resource_ids.h"

namespace {

// Ctrl+H: the highlight frame blinks this often, this many times.
constexpr UINT HighlightBlinkPeriod = 125;  // ms
constexpr int HighlightBlinks = 8;

}  // namespace

MouseModes::MouseModes(ZoomView& zoomView, const WindowChrome& windowChrome) : view{zoomView}, chrome{windowChrome} {}

void MouseModes::OnLButtonDown()
{
    if (kept || dragging) {
        CancelSelection();  // a left click only ends the selection
        return;
    }
    SetCapture(window);
    static ResString pickStatus(IDS_PICK_STATUS);
    chrome.showMenuHelp(pickStatus.GetText());
    picking = true;
    POINT zoomPoint;
    GetCursorPos(&zoomPoint);
    view.setZoomPoint(zoomPoint);
    view.computeHighlightRect();
    highlight.Show(view.highlightRect());
    // The magnifying glass stays while the mouse is captured.
    SetCursor(LoadCursorA(AppInstance, MAKEINTRESOURCEA(IDC_MAGNIFIER)));
    tip.Show(window, zoomPoint.x, zoomPoint.y - view.cells().halfRows - 3, PickTipText.GetText());
}

void MouseModes::OnLButtonUp()
{
    if (!picking)
        return;
    EndPointPick();
    view.repaintView();
}

void MouseModes::OnMouseMove(POINT client)
{
    if (picking) {
        // The pointer's own screen position: the frame follows it exactly.
        POINT zoomPoint;
        GetCursorPos(&zoomPoint);
        view.setZoomPoint(zoomPoint);
        view.computeHighlightRect();
        highlight.Show(view.highlightRect());
        view.repaintView();
    } else if (dragging) {
        // The end stays on the view, its right and bottom edges included.
        const RECT v = view.viewRect();
        end.x = client.x < v.left ? v.left : (client.x > v.right ? v.right : client.x);
        end.y = client.y < v.top ? v.top : (client.y > v.bottom ? v.bottom : client.y);
        UpdateSelectionFeedback();
    }
}

void MouseModes::OnRButtonDown(POINT client)
{
    EndPointPick();
    start = end = client;
    marquee_.Create(window);
    dragging = true;
    SetCapture(window);
}

void MouseModes::blinkHighlight()
{
    view.computeHighlightRect();
    highlight.Show(view.highlightRect());
    highlight.StartBlink(HighlightBlinkPeriod, HighlightBlinks);
}

void MouseModes::OnRButtonUp(POINT client)
{
    if (!dragging)
        return;
    dragging = false;
    ReleaseCapture();
    RECT r;
    SelectionRect(r);
    if (r.right - r.left != 0 && r.bottom - r.top != 0) {
        kept = true;
    } else {
        tip.Destroy();
        marquee_.Destroy();
        kept = false;
    }
    POINT screen = client;
    ClientToScreen(window, &screen);
    ShowContextMenu(screen);
    // Only "What's This?" from a status-bar pane's menu leaves it set.
    if (kept)
        CancelSelection();
}
