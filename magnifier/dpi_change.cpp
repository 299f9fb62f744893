// Following the window to a monitor of another DPI: the window takes the
// rectangle the system suggests, and the chrome whose sizes depend on the DPI
// (tool band, trackbars, status bar, their font and tips) is built again.
#include <windows.h>

#include "app/globals.h"
#include "magnifier/dpi.h"
#include "magnifier/magnifier_window.h"
#include "resources/resource_ids.h"

namespace {

// DPIs the chrome can be built for: 50 % to 1000 %.
constexpr int LowestDpi = BaseDpi / 2;
constexpr int HighestDpi = BaseDpi * 10;

}  // namespace

void MagnifierWindow::onDpiChanged(int newDpi, const RECT* suggested)
{
    // Any program can send the message: the rectangle is read in a way that
    // fails, rather than crashes, on an address that is not readable.
    RECT r = {0, 0, 0, 0};
    SIZE_T read = 0;
    const bool haveRect = suggested && ReadProcessMemory(GetCurrentProcess(), suggested, &r, sizeof(r), &read) &&
                          read == sizeof(r) && r.right > r.left && r.bottom > r.top;
    if (newDpi >= LowestDpi && newDpi <= HighestDpi && newDpi != chrome_.dpi) {
        chrome_.dpi = newDpi;
        rebuildChrome();
    }
    if (haveRect) {
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    view_.layoutView();
    view_.repaintView();
    setStatusParts();
}

void MagnifierWindow::rebuildChrome()
{
    // The shared tooltip control outlives the controls: their tools go, and
    // the toolbar lets go of it so that it is not destroyed with the toolbar.
    chrome_.tooltips.removeToolsOf(chrome_.zoomTrackbar);
    chrome_.tooltips.removeToolsOf(chrome_.rateTrackbar);
    chrome_.tooltips.removeToolsOf(chrome_.toolbar);
    chrome_.tooltips.removeToolsOf(chrome_.statusBar);
    chrome_.toolbar.setTooltips(nullptr);
    DestroyWindow(chrome_.rebar);  // the toolbar and the trackbars with it
    DestroyWindow(chrome_.statusBar);
    buildChromeControls();
    readouts_.forgetColour();

    setButtonCheck(IDM_ALWAYS_ON_TOP, Settings.AlwaysOnTop != 0);
    setButtonCheck(IDM_FOLLOW_MOUSE, Settings.MouseTracking != 0);
    setButtonCheck(IDM_TOGGLE_GRID, Settings.ShowGrid != 0);
    ShowWindow(chrome_.rebar, Settings.DisplayToolbar ? SW_SHOW : SW_HIDE);
    ShowWindow(chrome_.statusBar, Settings.DisplayStatusbar ? SW_SHOW : SW_HIDE);
}
