// The mouse wheel over the main window: it ends the drags and the selection,
// and steps the transparency (Shift) or the zoom (Ctrl); the message of old
// wheel drivers.
#include "window/wheel.h"

#include "base/globals.h"
#include "window/magnifier_window.h"

void MagnifierWindow::OnMouseWheel(WPARAM wParam)
{
    mouse_.EndPointPick();
    mouse_.CancelSelection();
    // One message is one step, however far the wheel turned.
    const WORD keys = LOWORD(wParam);
    const bool down = static_cast<short>(HIWORD(wParam)) < 0;
    if (keys & MK_SHIFT) {
        Settings.nTransparency = wheelTransparencyStep(Settings.nTransparency, down);
        applyTransparency();
    } else if (keys & MK_CONTROL) {
        view_.setZoomFactor(view_.zoomFactor() + (down ? -1 : 1));
    }
}

int wheelTransparencyStep(int transparency, bool down)
{
    // Only the low byte is the opacity; bits above it (a value edited by hand)
    // would otherwise make a step down turn the window more opaque.
    const int alpha = transparency & 0xFF;
    if (down)
        return alpha - 30 <= MinTransparency ? MinTransparency : alpha - 30;
    return alpha + 30 >= MaxTransparency ? MaxTransparency : alpha + 30;
}

LRESULT ForwardWheelMessage(HWND window, WPARAM wParam, LPARAM lParam)
{
    // The old message's wParam is the signed delta; WM_MOUSEWHEEL carries it
    // in the high word, beside the keys.
    WPARAM w = static_cast<WPARAM>(LOWORD(wParam)) << 16;
    if (GetKeyState(VK_CONTROL) < 0)
        w |= MK_CONTROL;
    if (GetKeyState(VK_SHIFT) < 0)
        w |= MK_SHIFT;
    HWND focus = GetFocus();
    if (!focus)
        return SendMessageA(window, WM_MOUSEWHEEL, w, lParam);
    const HWND desktop = GetDesktopWindow();
    LRESULT taken = 0;
    do {
        taken = SendMessageA(focus, WM_MOUSEWHEEL, w, lParam);
        focus = GetParent(focus);
    } while (!taken && focus && focus != desktop);
    return 0;
}
