// The items the program adds to the window's system menu.
#include <windows.h>

#include "base/globals.h"
#include "resources/resource_ids.h"
#include "window/magnifier_window.h"

void MagnifierWindow::appendSystemMenuItems()
{
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    if (!menu)
        return;
    ResString options(IDS_SYS_OPTIONS);
    ResString about(IDS_SYS_ABOUT);
    ResString inspectorItem(IDS_SYS_INSPECTOR);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_SYS_OPTIONS, options.GetText());
    AppendMenuA(menu, MF_STRING, IDM_SYS_INSPECTOR, inspectorItem.GetText());
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_SYS_ABOUT, about.GetText());
}
