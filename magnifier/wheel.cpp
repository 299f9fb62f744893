// The mouse wheel over the main window, and the message of old wheel drivers.
#include "magnifier/wheel.h"

#include "app/globals.h"
#include "magnifier/magnifier_window.h"
#include "overlays/transparency.h"

int wheelTransparencyStep(int transparency, bool down)
{
    // Only the low byte is the opacity; bits above it (a value edited by hand)
    // would otherwise make a step down turn the window more opaque.
    const int alpha = transparency & 0xFF;
    if (down)
        return alpha - 30 <= MinTransparency ? MinTransparency : alpha - 30;
    return alpha + 30 >= MaxTransparency ? MaxTransparency : alpha + 30;
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
