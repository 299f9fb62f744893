// See-through windows: the main window when made transparent, and the
// highlight frame.
#include "overlays/transparency.h"

void setTransparency(HWND window, bool on, int alpha)
{
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_EXSTYLE);
    if (on) {
        SetWindowLongPtrA(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
        SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha & 0xFF), LWA_ALPHA);
    } else {
        SetWindowLongPtrA(window, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
}
