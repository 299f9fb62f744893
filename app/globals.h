// Process-wide objects. They are all defined in globals.cpp, in the order in
// which they must be constructed before WinMain runs.
#pragma once
#include <windows.h>

#include "app/res_string.h"
#include "app/settings.h"

class MagnifierWindow;

extern HMODULE ModuleHandle;     // this program's module: string-table loads
extern HANDLE ProcessHeap;       // heap of every ResString text
extern HINSTANCE AppInstance;    // WinMain's instance: every other resource
extern HCURSOR LinkCursor;       // hand shown over hyperlinks

extern ResString MailtoLink;
extern ResString WebLink;

// Registered window messages (0 when not registered).
extern UINT wheelRollMessage;
extern UINT originUpdateMessage;
extern UINT originEndMessage;

extern ResString ZoomLevelFormat;
extern ResString AutoUpdateFormat;
extern ResString StatusIdleText;
extern ResString ColourMeasureText;
extern ResString CoordsMeasureText;
extern ResString ColourRgbFormat;
extern ResString ColourHexFormat;
extern ResString CoordsFormat;
extern ResString LinkText;
extern ResString PickTipText;

extern SettingsRecord Settings;

extern ResString OptionsAppTitle;  // caption of the Options dialog's messages

extern MagnifierWindow Magnifier;  // the one main-window object

extern ResString AppTitle;         // window title, start-up error caption
