// Scopella: a screen magnifier for people who inspect pixels.
#include <windows.h>
#include <commctrl.h>

#include "app/startup.h"
#include "base/globals.h"
#include "resources/resource_ids.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    AppInstance = instance;

    LinkCursor = LoadCursorA(nullptr, IDC_HAND);
    if (!LinkCursor)
        LinkCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_LINK_HAND));

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
    if (!InitCommonControlsEx(&controls)) {
        ReportLastError(nullptr, AppTitle.GetText());
        return 0;
    }

    if (!CreateMainWindow(instance, showCommand))
        return 0;

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));
    return RunMessageLoop(accelerators);
}
