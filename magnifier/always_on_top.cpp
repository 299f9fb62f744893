// Always on top: the main window's place in the z-order and the toolbar
// button that shows it.
#include <windows.h>

#include "app/globals.h"
#include "magnifier/magnifier_window.h"
#include "resources/resource_ids.h"

void MagnifierWindow::applyAlwaysOnTop()
{
    SetWindowPos(hwnd, Settings.AlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    setButtonCheck(IDM_ALWAYS_ON_TOP, Settings.AlwaysOnTop != 0);
}
