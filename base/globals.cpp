// Every static object whose construction order matters lives in this one
// translation unit: within a translation unit C++ constructs them in the order
// of definition on every compiler, and destroys them in reverse order. The
// main-window object (in magnifier_window.cpp) takes nothing from these while
// it is constructed or destroyed: it reads the settings when its window is
// made.
#include "base/globals.h"

#include "resources/resource_ids.h"

HMODULE ModuleHandle = GetModuleHandleA(nullptr);
HANDLE ProcessHeap = GetProcessHeap();
HINSTANCE AppInstance = nullptr;
HCURSOR LinkCursor = nullptr;

ResString MailtoLink(IDS_MAILTO_LINK);
ResString WebLink(IDS_WEB_LINK);

namespace {

// Old wheel drivers announce wheel turns with this message on Windows 95 and
// NT 3.x only; elsewhere it is never registered.
UINT registerWheelRollMessage()
{
    const DWORD version = GetVersion();
    const WORD number = LOWORD(version);
    const bool win9x = (version & 0x80000000u) != 0;
    if ((win9x && number == 4) || (!win9x && number == 3))
        return RegisterWindowMessageA("MSWHEEL_ROLLMSG");
    return 0;
}

}  // namespace

UINT wheelRollMessage = registerWheelRollMessage();
UINT originUpdateMessage = RegisterWindowMessageA("bw_OriginWindowUpdate");
UINT originEndMessage = RegisterWindowMessageA("bw_OriginWindowEnd");

ResString ZoomLevelFormat(IDS_ZOOM_LEVEL_FORMAT);
ResString AutoUpdateFormat(IDS_AUTO_UPDATE_FORMAT);
ResString StatusIdleText(IDS_STATUS_IDLE);
ResString ColourMeasureText(IDS_COLOUR_MEASURE);
ResString CoordsMeasureText(IDS_COORDS_MEASURE);
ResString ColourRgbFormat(IDS_COLOUR_RGB_FORMAT);
ResString ColourHexFormat(IDS_COLOUR_HEX_FORMAT);
ResString CoordsFormat(IDS_COORDS_FORMAT);
ResString LinkText(IDS_LINK_TEXT);
ResString PickTipText(IDS_PICK_TIP);

SettingsRecord Settings;

ResString OptionsAppTitle(IDS_APP_TITLE);

ResString AppTitle(IDS_APP_TITLE);
