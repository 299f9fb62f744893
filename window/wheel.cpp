// The wheel's transparency step, and the message of old wheel drivers.
#include "window/wheel.h"

#include "base/settings.h"

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
