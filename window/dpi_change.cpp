// Following the window to a monitor of another DPI: the window takes the
// rectangle the system suggests, and the chrome whose sizes depend on the DPI
// is built again for it.
#include <windows.h>

#include "base/dpi.h"
#include "window/magnifier_window.h"

void MagnifierWindow::onDpiChanged(int newDpi, const RECT* suggested)
{
    // Any program can send the message: the rectangle is read in a way that
    // fails, rather than crashes, on an address that is not readable.
    RECT r = {0, 0, 0, 0};
    SIZE_T read = 0;
    const bool haveRect = suggested && ReadProcessMemory(GetCurrentProcess(), suggested, &r, sizeof(r), &read) &&
                          read == sizeof(r) && r.right > r.left && r.bottom > r.top;
    chrome_.rebuildForDpi(newDpi, view_.zoomFactor());
    inspector_.setDpi(chrome_.dpi(), OwnedFont(createGuiFontForDpi(chrome_.dpi())));
    if (haveRect) {
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    view_.layoutAndRepaint();
    chrome_.setStatusParts();
}
